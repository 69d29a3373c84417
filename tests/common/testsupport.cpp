#include "testsupport.h"

#include "platform/fonts.h"
#include "platform/screen.h"
#include "rules/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace terravale::test {

namespace {
// The worksheet folder is copied, since the program writes there; every other file is a hard link
// to the generated one (a copy where links cannot be made), which the program only reads.
void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else if (QDir(from).relativeFilePath(it.filePath()).startsWith(QLatin1String("multiple/"))
                 || ::link(QFile::encodeName(it.filePath()).constData(), QFile::encodeName(target).constData()) != 0)
            QFile::copy(it.filePath(), target);
    }
}
} // namespace

QString generatedData() { return QStringLiteral(TERRAVALE_DATA_DIR); }
QString sourceDir() { return QStringLiteral(TERRAVALE_SOURCE_DIR); }

DataFolder::DataFolder(bool copyData)
{
    registerFonts();
    m_oldDir = QDir::currentPath();
    if (copyData)
        copyTree(generatedData(), m_dir.path());
    QDir::setCurrent(m_dir.path());
    resetSession();
    setMessageBoxes(messages);
    setSoundPlayer(sounds);
}

DataFolder::~DataFolder()
{
    closeAllScreens();
    QDir::setCurrent(m_oldDir);
}

QString DataFolder::file(const QString &relative) const
{
    const QString path = m_dir.filePath(relative);
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink > 1) {
        const QString own = path + QStringLiteral(".own");
        if (!QFile::copy(path, own) || !QFile::remove(path) || !QFile::rename(own, path))
            qFatal("cannot make %s the test's own", qPrintable(path));
    }
    return path;
}

void DataFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);   // a new file: never written through a link to the generated data
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

QByteArray DataFolder::read(const QString &relative) const
{
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void DataFolder::remove(const QString &relative) const
{
    QFile::remove(file(relative));
}

void closeAllScreens()
{
    unloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace terravale::test
