#include "worksheetprint.h"

#include "platform/printer.h"
#include "rules/questionset.h"
#include "rules/session.h"

namespace terravale {

namespace {
void endLine(Printer &p) { p.print(QStringLiteral(" ")); }

void centred(Printer &p, const QString &s)
{
    p.setCurrentX((p.width() - p.textWidth(s)) / 2);
    p.print(s);
}
} // namespace

QString worksheetHeader()
{
    return QStringLiteral("Terravale") + QString(57, QLatin1Char(' ')) + QStringLiteral("Quillmark Publishing Ltd");
}

void printWorksheet(Printer &p, const QString &heading, const QuestionSet &set)
{
    p.setFontName(QStringLiteral("Times New Roman"));
    p.setFontSize(16);
    p.setCurrentX(p.width() / 8);
    endLine(p);
    p.setCurrentX(p.width() / 16);
    p.print(worksheetHeader(), false);
    endLine(p);
    endLine(p);

    p.setFontSize(32);
    centred(p, heading);
    centred(p, set.title);
    endLine(p);

    p.setFontSize(12);
    const double w = p.width();
    for (int n = 1; n <= 10; ++n) {
        p.setCurrentX(w / 16);
        p.print(QStringLiteral("Question") + numText(n) + QStringLiteral("    ") + set.quest.at(n));
        p.setCurrentX(w / 3);
        p.print(QStringLiteral("A. ") + set.answera.at(n), false);
        p.setCurrentX(2 * w / 3);
        p.print(QStringLiteral("B. ") + set.answerb.at(n));
        p.setCurrentX(w / 3);
        p.print(QStringLiteral("C. ") + set.answerc.at(n), false);
        p.setCurrentX(2 * w / 3);
        p.print(QStringLiteral("D. ") + set.answerd.at(n));
        endLine(p);
    }
    p.endDoc();
}

} // namespace terravale
