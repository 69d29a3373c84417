#include "certificate.h"

#include "platform/printer.h"
#include "rules/session.h"

namespace terravale {

namespace {
const QString kTimes = QStringLiteral("Times New Roman");
constexpr int kBlack = 0, kBlue = 1, kLightBlue = 9, kLightRed = 12;

void blank(Printer &p) { p.print(QStringLiteral(" ")); }

void centred(Printer &p, const QString &s)
{
    p.setCurrentX((p.width() - p.textWidth(s)) / 2);
    p.print(s);
}

void rectangle(Printer &p, double left, double top, double right, double bottom)
{
    p.line({left, top}, {right, top});
    p.line({left, top}, {left, bottom});
    p.line({right, top}, {right, bottom});
    p.line({left, bottom}, {right, bottom});
}
} // namespace

QString certificateBanner()
{
    const QString once = QStringLiteral("   Well Done      Well Done     Well Done     Well Done    ");
    return once + once;
}

void printCertificate(Printer &p, const CertificateText &text,
                      const std::function<double(const QString &)> &screenTextWidth)
{
    p.setForeColor(kLightBlue);
    p.setFontSize(25);
    p.setFontName(kTimes);
    p.setCurrentX(p.width() / 8);
    blank(p);
    p.print(certificateBanner(), false);
    blank(p);
    blank(p);
    blank(p);

    p.setForeColor(kLightRed);
    p.setFontSize(36);
    p.setFontName(kTimes);
    centred(p, QStringLiteral("Terravale"));
    blank(p);

    p.setForeColor(kLightBlue);
    p.setFontSize(36);
    if (screenTextWidth(text.quizTitle) > p.width() / 4)
        p.setFontSize(28);
    centred(p, text.quizTitle);
    centred(p, QString());

    p.setFontSize(36);
    blank(p);
    blank(p);
    blank(p);

    p.setForeColor(kBlue);
    p.setFontSize(28);
    centred(p, QStringLiteral("Excellent Work"));
    p.setFontSize(28);
    blank(p);
    centred(p, text.name);
    centred(p, QString());
    p.setFontSize(28);
    centred(p, QStringLiteral("You have scored") + numText(text.score) + QStringLiteral(" out of") + numText(text.outof)
                   + QStringLiteral("."));
    blank(p);

    p.setFontSize(36);
    blank(p);
    blank(p);

    p.setForeColor(kLightBlue);
    p.setFontSize(25);
    p.setFontName(kTimes);
    blank(p);
    p.setForeColor(kBlack);
    p.print(certificateBanner(), false);

    // Five nested rectangles, the first three each followed by its box around the lower text.
    p.setDrawWidth(2);
    const double w = p.width(), h = p.height();
    for (int i = 0; i < 5; ++i) {
        const double m = 45.0 * (i + 1), t = 270.0 + 45.0 * i;
        rectangle(p, m, t, w - m, h - t);
        if (i < 3)
            rectangle(p, m + 600, t + 7050, w - m - 600, h - t - 3750);
    }
    p.endDoc();
}

} // namespace terravale
