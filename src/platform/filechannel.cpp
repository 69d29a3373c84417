#include "filechannel.h"

#include "paths.h"
#include "textcodec.h"

#include <QFile>
#include <QSaveFile>

namespace terravale {

namespace {
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }
} // namespace

FieldReader::FieldReader(const QByteArray &bytes) : m_text(decodeCp1252(bytes)) {}

void FieldReader::consumeTerminator()
{
    if (atEnd())
        return;
    const QChar c = m_text.at(m_pos);
    if (c == QLatin1Char(',')) {
        ++m_pos;
    } else if (c == QLatin1Char('\r')) {
        ++m_pos;
        if (!atEnd() && m_text.at(m_pos) == QLatin1Char('\n'))
            ++m_pos;
    } else if (c == QLatin1Char('\n')) {
        ++m_pos;
    }
}

QString FieldReader::readField()
{
    if (atEnd())
        throw FileError(QStringLiteral("Input past end of file"));
    while (!atEnd() && isBlank(m_text.at(m_pos)))
        ++m_pos;
    if (!atEnd() && m_text.at(m_pos) == QLatin1Char('"')) {
        const qsizetype start = ++m_pos;
        qsizetype close = m_text.indexOf(QLatin1Char('"'), start);
        if (close < 0)
            close = m_text.size();
        const QString field = m_text.mid(start, close - start);
        m_pos = qMin(close + 1, m_text.size());
        while (!atEnd() && m_text.at(m_pos) != QLatin1Char(',') && !isLineEnd(m_text.at(m_pos)))
            ++m_pos;
        consumeTerminator();
        return field;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && m_text.at(m_pos) != QLatin1Char(',') && !isLineEnd(m_text.at(m_pos)))
        ++m_pos;
    qsizetype end = m_pos;
    while (end > start && isBlank(m_text.at(end - 1)))
        --end;
    const QString field = m_text.mid(start, end - start);
    consumeTerminator();
    return field;
}

int FieldReader::readNumber()
{
    const QString field = readField().trimmed();
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        throw FileError(QStringLiteral("Type mismatch: ") + field);
    return value;
}

void FileChannel::requireMode(Mode mode) const
{
    if (m_mode != mode)
        throw FileError(QStringLiteral("Bad file mode"));
}

void FileChannel::openRead(const QString &programPath)
{
    if (isOpen())
        throw FileError(QStringLiteral("File already open"));
    const QString path = resolvePath(programPath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("File not found: ") + programPath);
    m_reader = FieldReader(file.readAll());
    m_path = path;
    m_mode = Mode::Reading;
}

void FileChannel::openWrite(const QString &programPath)
{
    if (isOpen())
        throw FileError(QStringLiteral("File already open"));
    m_path = resolvePath(programPath);
    m_out.clear();
    m_mode = Mode::Writing;
}

QString FileChannel::readField()
{
    requireMode(Mode::Reading);
    return m_reader.readField();
}

int FileChannel::readNumber()
{
    requireMode(Mode::Reading);
    return m_reader.readNumber();
}

void FileChannel::writeLine(const QString &line)
{
    requireMode(Mode::Writing);
    const QChar bad = firstUnencodable(line);
    if (!bad.isNull())
        throw FileError(QStringLiteral("Character cannot be written: ") + bad);
    m_out += encodeCp1252(line);
    m_out += "\r\n";
}

void FileChannel::close()
{
    if (m_mode != Mode::Writing) {
        abandon();
        return;
    }
    const QString path = m_path;
    const QByteArray bytes = m_out;
    abandon();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Cannot write ") + path);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("Cannot write ") + path);
}

void FileChannel::abandon()
{
    m_mode = Mode::Closed;
    m_reader = FieldReader();
    m_out.clear();
    m_path.clear();
}

FileChannel &fileChannel()
{
    static FileChannel channel;
    return channel;
}

} // namespace terravale
