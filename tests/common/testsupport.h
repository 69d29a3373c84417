#pragma once
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "doubles.h"

namespace terravale::test {

// A private copy of the generated data folder as the working directory, with scripted message
// boxes, a recording sound player and a fresh session. Restores the old directory on exit.
class DataFolder {
public:
    explicit DataFolder(bool copyData = true);
    ~DataFolder();

    QString path() const { return m_dir.path(); }
    // The path of a file of the folder, made the folder's own first (not shared with the generated
    // data), so a test may write it.
    QString file(const QString &relative) const;
    void write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;
    void remove(const QString &relative) const;

    std::shared_ptr<ScriptedMessageBoxes> messages = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<RecordingSoundPlayer> sounds = std::make_shared<RecordingSoundPlayer>();

private:
    QTemporaryDir m_dir;
    QString m_oldDir;
};

// Unloads every screen and runs pending deletions.
void closeAllScreens();

// Path of the generated data folder and of the source tree.
QString generatedData();
QString sourceDir();

} // namespace terravale::test
