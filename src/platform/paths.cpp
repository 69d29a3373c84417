#include "paths.h"

#include <QDir>
#include <QFileInfo>

namespace terravale {

QString resolvePath(const QString &programPath)
{
    QString normal = programPath;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = normal.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = normal.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString &part : parts) {
        const QString base = current.isEmpty() ? QStringLiteral(".") : current;
        QString match = part;
        if (part != QLatin1String(".") && part != QLatin1String("..")
            && !QFileInfo::exists(base + QLatin1Char('/') + part)) {
            const QStringList entries = QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
        }
        if (current.isEmpty())
            current = match;
        else if (current.endsWith(QLatin1Char('/')))
            current += match;
        else
            current += QLatin1Char('/') + match;
    }
    return current;
}

bool fileExists(const QString &programPath)
{
    return QFileInfo(resolvePath(programPath)).isFile();
}

} // namespace terravale
