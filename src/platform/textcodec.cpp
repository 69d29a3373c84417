#include "textcodec.h"

#include <array>

namespace terravale {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] == 0)
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c && c != 0)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString decodeCp1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] != 0)
            out.append(QChar(kHigh[u - 0x80]));
        else
            out.append(QChar(char16_t(u)));
    }
    return out;
}

QByteArray encodeCp1252(const QString &text, bool *ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool good = true;
    for (QChar c : text) {
        const int b = byteFor(c.unicode());
        if (b < 0) {
            good = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(b));
        }
    }
    if (ok)
        *ok = good;
    return out;
}

QChar firstUnencodable(const QString &text)
{
    for (QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return c;
    }
    return {};
}

} // namespace terravale
