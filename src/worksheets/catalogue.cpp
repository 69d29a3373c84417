#include "catalogue.h"

#include "platform/filechannel.h"
#include "platform/paths.h"
#include "shell/session.h"

#include <QDir>
#include <QFileInfo>

namespace terravale {

QString worksheetPath(const QString &title)
{
    return QStringLiteral("multiple/") + title + QStringLiteral(".txt");
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
