#pragma once
#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace terravale {

// A file operation that failed: missing file, read past the end, bad number, write error.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Reads delimited fields from Windows-1252 text: leading blanks are skipped; a field that
// starts with a double quote runs to the next double quote (the rest of its line up to a
// comma or the line end is skipped); any other field ends at a comma or the line end, and
// loses its trailing blanks. CR LF, LF and CR all end a line.
class FieldReader {
public:
    FieldReader() = default;
    explicit FieldReader(const QByteArray &bytes);

    bool atEnd() const { return m_pos >= m_text.size(); }
    QString readField();   // throws FileError past the end of the text
    int readNumber();      // throws FileError past the end or when the field is not a whole number

private:
    void consumeTerminator();
    QString m_text;
    qsizetype m_pos = 0;
};

// The program's one text-file channel: a file is opened, read or written completely and closed
// before the handler returns, so no two files are ever open at once. Writes go to a temporary
// file beside the target and replace it only on close(), so a failure never leaves a half file.
class FileChannel {
public:
    void openRead(const QString &programPath);
    void openWrite(const QString &programPath);
    bool isOpen() const { return m_mode != Mode::Closed; }

    QString readField();
    int readNumber();
    void writeLine(const QString &line);   // text then CR LF; throws for a character Windows-1252 lacks

    void close();     // finishes a write (atomic replace); throws FileError if that fails
    void abandon();   // closes without replacing anything; never throws

private:
    enum class Mode { Closed, Reading, Writing };
    void requireMode(Mode mode) const;
    Mode m_mode = Mode::Closed;
    QString m_path;
    FieldReader m_reader;
    QByteArray m_out;
};

FileChannel &fileChannel();

// Abandons the channel on scope exit if the handler left it open (on an exception, say).
class ChannelGuard {
public:
    ChannelGuard() = default;
    ChannelGuard(const ChannelGuard &) = delete;
    ChannelGuard &operator=(const ChannelGuard &) = delete;
    ~ChannelGuard() { fileChannel().abandon(); }
};

} // namespace terravale
