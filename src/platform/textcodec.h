#pragma once
#include <QByteArray>
#include <QString>

namespace terravale {

// Windows-1252 decoding; bytes that code page leaves undefined map to the same code point.
QString decodeCp1252(const QByteArray &bytes);

// Windows-1252 encoding; *ok becomes false if a character has no Windows-1252 byte ('?' is written for it).
QByteArray encodeCp1252(const QString &text, bool *ok = nullptr);

// First character of text that Windows-1252 cannot hold, or a null QChar when all fit.
QChar firstUnencodable(const QString &text);

} // namespace terravale
