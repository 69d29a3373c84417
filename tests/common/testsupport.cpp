#include "testsupport.h"

#include "platform/fonts.h"
#include "platform/screen.h"
#include "shell/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace terravale::test {

namespace {
void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
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

void DataFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).path());
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
