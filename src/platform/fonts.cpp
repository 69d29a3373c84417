#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <cmath>

namespace terravale {

namespace {
QHash<QString, QString> &families()
{
    static QHash<QString, QString> map;
    return map;
}

// Wine's Tahoma Bold has Tahoma Bold's widths but the regular face's thin strokes, so bold text
// looked regular. DejaVu Sans Condensed Bold keeps nearly the same widths with a real bold stroke.
QString &heavyBold()
{
    static QString family;
    return family;
}
} // namespace

void registerFonts()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QString tahoma;
    for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                             "/usr/share/fonts/truetype/wine/tahoma.ttf", "/usr/share/fonts/truetype/wine/tahomabd.ttf"}) {
        const QString path = QString::fromLatin1(file);
        if (!QFile::exists(path))
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList names = QFontDatabase::applicationFontFamilies(id);
        if (!names.isEmpty() && tahoma.isEmpty())
            tahoma = names.first();
    }
    for (const char *file : {"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"}) {
        const QString path = QString::fromLatin1(file);
        if (!QFile::exists(path))
            continue;
        const QStringList names = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(path));
        if (names.contains(QStringLiteral("DejaVu Sans Condensed")))
            heavyBold() = QStringLiteral("DejaVu Sans Condensed");
    }
    const QStringList installed = QFontDatabase::families();
    auto pick = [&](const QString &design, const QStringList &candidates) {
        for (const QString &candidate : candidates) {
            if (installed.contains(candidate) || candidate == tahoma) {
                families().insert(design, candidate);
                if (candidate != design)
                    QFont::insertSubstitution(design, candidate);
                return;
            }
        }
        families().insert(design, design);
    };
    pick(QStringLiteral("Tahoma"), {tahoma, QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    pick(QStringLiteral("Times New Roman"), {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    pick(QStringLiteral("Arial"), {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
}

QString installedFamily(const QString &family)
{
    return families().value(family, family);
}

QFont designFont(const QString &family, double points, bool bold, bool italic)
{
    const bool heavy = bold && family == u"Tahoma" && !heavyBold().isEmpty();
    QFont font(heavy ? heavyBold() : installedFamily(family));
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (heavy)
        font.setLetterSpacing(QFont::PercentageSpacing, 97.5);   // within Tahoma Bold's widths
    return font;
}

} // namespace terravale
