#include "catalogue.h"

#include "platform/filechannel.h"
#include "platform/paths.h"
#include "rules/session.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace terravale {

namespace {
bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0);
}

QStringList &topicFiles()
{
    static QStringList files = {
        QStringLiteral("multiple\\Rubbish.txt"),    QStringLiteral("multiple\\Resources.txt"),
        QStringLiteral("multiple\\Atmosphere.txt"), QStringLiteral("multiple\\Industry.txt"),
        QStringLiteral("multiple\\School.txt"),     QStringLiteral("multiple\\Home.txt"),
        QStringLiteral("multiple\\Waterways.txt"),  QStringLiteral("multiple\\Forests.txt"),
        QStringLiteral("multiple\\Traffic.txt"),    QStringLiteral("multiple\\Population.txt"),
        QStringLiteral("multiple\\Biodiversity.txt"), QStringLiteral("multiple\\Groups.txt"),
    };
    return files;
}

// The file name without folder and ".txt": the title that would name the file.
QString titleOfFile(const QString &programPath)
{
    QString name = programPath.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

void requireStorableTitle(const QString &title)
{
    if (!staysInWorksheetFolder(title) || reservedTitle(title))
        throw FileError(QStringLiteral("Not a title a worksheet can take: ") + title);
}
} // namespace

bool staysInWorksheetFolder(const QString &title)
{
    if (title.contains(QLatin1Char('/')) || title.contains(QLatin1Char('\\')) || title.contains(QStringLiteral("..")))
        return false;
    if (title.size() >= 2 && title.at(1) == QLatin1Char(':') && title.at(0).isLetter())
        return false;
    return std::none_of(title.begin(), title.end(), isControl);
}

QString worksheetPath(const QString &title)
{
    if (!staysInWorksheetFolder(title))
        throw FileError(QStringLiteral("A worksheet title that leaves the folder: ") + title);
    return QStringLiteral("multiple/") + title + QStringLiteral(".txt");
}

QStringList topicQuestionFiles()
{
    return topicFiles();
}

void addTopicQuestionFile(const QString &programPath)
{
    if (!topicFiles().contains(programPath, Qt::CaseInsensitive))
        topicFiles().append(programPath);
}

bool reservedTitle(const QString &title)
{
    static const QStringList devices = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),  QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    if (devices.contains(title, Qt::CaseInsensitive))
        return true;
    if (title.compare(titleOfFile(kCataloguePath), Qt::CaseInsensitive) == 0)
        return true;
    const QStringList files = topicFiles();
    return std::any_of(files.begin(), files.end(), [&title](const QString &file) {
        return title.compare(titleOfFile(file), Qt::CaseInsensitive) == 0;
    });
}

void readCatalogueQuietly(Session &session)
{
    ChannelGuard guard;
    try {
        FileChannel &file = fileChannel();
        file.openRead(kCataloguePath);
        session.numsheets = file.readNumber();
        for (int i = 1; i <= session.numsheets; ++i)
            session.sheetnames.at(i) = file.readField();
        file.close();
    } catch (...) {
        // The menu carries on with what was read.
    }
}

void readCatalogue(Session &session)
{
    ChannelGuard guard;
    FileChannel &file = fileChannel();
    file.openRead(kCataloguePath);
    const int count = file.readNumber();
    if (count < 0 || count > kMaxWorksheets)
        throw FileError(QStringLiteral("Catalogue count out of range: %1").arg(count));
    // Read into a copy so a short file leaves the session as it was.
    SheetNames names = session.sheetnames;
    for (int i = 1; i <= count; ++i)
        names[i] = file.readField();
    file.close();
    session.numsheets = count;
    session.sheetnames = std::move(names);
}

void writeCatalogue(const SheetNames &names, int count)
{
    if (count < 0 || count > kMaxWorksheets)
        throw std::out_of_range("Catalogue count out of range");
    ChannelGuard guard;
    FileChannel &file = fileChannel();
    file.openWrite(kCataloguePath);
    file.writeLine(QLatin1Char(' ') + QString::number(count) + QLatin1Char(' '));
    for (int i = 1; i <= count; ++i)
        file.writeLine(names.at(i));
    file.close();
}

void ensureCatalogue()
{
    const QString path = resolvePath(kCataloguePath);
    if (QFileInfo::exists(path))
        return;
    const QString folder = resolvePath(kWorksheetFolder);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw FileError(QStringLiteral("Cannot create the folder ") + folder);
    ChannelGuard guard;
    FileChannel &file = fileChannel();
    file.openWrite(kCataloguePath);
    file.writeLine(QStringLiteral(" 0 "));
    file.close();
}

int cataloguePosition(const Session &session, const QString &title)
{
    for (int i = session.numsheets; i >= 1; --i) {
        if (session.sheetnames.at(i) == title)
            return i;
    }
    return 0;
}

int caseTwinPosition(const Session &session, const QString &title)
{
    for (int i = 1; i <= session.numsheets; ++i) {
        const QString &listed = session.sheetnames.at(i);
        if (listed != title && listed.compare(title, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}

bool trackworksheets(Session &session, const QString &title)
{
    requireStorableTitle(title);
    readCatalogue(session);
    if (cataloguePosition(session, title) != 0)
        return false;
    const int count = session.numsheets + 1;
    if (count > kMaxWorksheets)
        throw std::out_of_range("The catalogue is full");
    session.sheetnames.at(count) = title;
    writeCatalogue(session.sheetnames, count);
    session.numsheets = count;
    return true;
}

bool delworksheet(Session &session)
{
    readCatalogue(session);
    const int p = cataloguePosition(session, session.delsheet);
    if (p == 0)
        return false;
    const int count = session.numsheets;
    SheetNames names = session.sheetnames;
    for (int i = p; i < count; ++i)
        names[i] = names[i + 1];
    writeCatalogue(names, count - 1);
    session.sheetnames = std::move(names);
    session.numsheets = count - 1;
    return true;
}

} // namespace terravale
