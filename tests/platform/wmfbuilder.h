#pragma once
// Builds metafiles record by record for the player's tests and the fuzzer.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QtEndian>

#include <uwmf.h>

#include <cstdlib>
#include <initializer_list>

namespace terravale::test {

class WmfBuilder {
public:
    explicit WmfBuilder(int width = 100, int height = 100, int inch = 1440) : m_w(width), m_h(height), m_inch(inch) {}

    // Appends a record made by libuemf (and frees it).
    WmfBuilder &add(char *record)
    {
        if (record) {
            m_records.append(record, qsizetype(U_wmr_size(reinterpret_cast<const U_METARECORD *>(record))));
            std::free(record);
        }
        return *this;
    }

    // Appends a record of the given function and parameter words; the size field is right.
    WmfBuilder &record(uint16_t function, std::initializer_list<int> words)
    {
        return raw(rawRecord(function, words));
    }

    WmfBuilder &raw(const QByteArray &bytes)
    {
        m_records.append(bytes);
        return *this;
    }

    static QByteArray rawRecord(uint16_t function, std::initializer_list<int> words, int sizeWords = -1)
    {
        QByteArray r(6, '\0');
        qToLittleEndian<uint32_t>(uint32_t(sizeWords >= 0 ? sizeWords : 3 + int(words.size())), r.data());
        qToLittleEndian<uint16_t>(function, r.data() + 4);
        for (int w : words) {
            char b[2];
            qToLittleEndian<int16_t>(int16_t(w), b);
            r.append(b, 2);
        }
        return r;
    }

    static U_COLORREF ref(const QColor &c) { return colorref3_set(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

    WmfBuilder &brush(const QColor &c) { return add(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, ref(c), 0))); }
    WmfBuilder &nullPen() { return add(U_WMRCREATEPENINDIRECT_set(U_PEN_set(U_PS_NULL, 0, ref(Qt::black)))); }
    WmfBuilder &pen(const QColor &c, int width) { return add(U_WMRCREATEPENINDIRECT_set(U_PEN_set(U_PS_SOLID, uint16_t(width), ref(c)))); }
    WmfBuilder &select(int index) { return add(U_WMRSELECTOBJECT_set(uint16_t(index))); }
    WmfBuilder &rect(int l, int t, int r, int b) { return add(U_WMRRECTANGLE_set(U_RECT16{int16_t(l), int16_t(t), int16_t(r), int16_t(b)})); }

    WmfBuilder &font(int height, const char *face, int weight = 400, bool italic = false)
    {
        U_FONT *f = U_FONT_set(int16_t(height), 0, 0, 0, int16_t(weight), italic, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0,
                               const_cast<char *>(face));
        add(U_WMRCREATEFONTINDIRECT_set(f));
        std::free(f);
        return *this;
    }

    // A 24-bit bitmap stretched over the rectangle.
    WmfBuilder &image(const QImage &source, int l, int t, int r, int b)
    {
        const QImage img = source.convertToFormat(QImage::Format_RGB32);
        const int stride = ((img.width() * 24 + 31) / 32) * 4;
        QByteArray px(stride * img.height(), '\0');
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, img.height() - 1 - y);
                char *o = px.data() + y * stride + 3 * x;
                o[0] = char(qBlue(c));
                o[1] = char(qGreen(c));
                o[2] = char(qRed(c));
            }
        }
        U_BITMAPINFO *bmi = bitmapinfo_set(bitmapinfoheader_set(img.width(), img.height(), 1, 24, U_BI_RGB, uint32_t(px.size()), 0, 0, 0, 0), nullptr);
        add(U_WMRSTRETCHDIB_set(U_POINT16{int16_t(l), int16_t(t)}, U_POINT16{int16_t(r - l), int16_t(b - t)}, U_POINT16{0, 0},
                                U_POINT16{int16_t(img.width()), int16_t(img.height())}, U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                                uint32_t(px.size()), px.constData()));
        std::free(bmi);
        return *this;
    }

    QByteArray bytes(bool eof = true) const
    {
        QByteArray out(22 + 18, '\0');
        char *p = out.data();
        qToLittleEndian<uint32_t>(0x9AC6CDD7, p);
        qToLittleEndian<int16_t>(int16_t(m_w), p + 10);
        qToLittleEndian<int16_t>(int16_t(m_h), p + 12);
        qToLittleEndian<uint16_t>(uint16_t(m_inch), p + 14);
        char *h = p + 22;
        qToLittleEndian<uint16_t>(1, h);
        qToLittleEndian<uint16_t>(9, h + 2);
        qToLittleEndian<uint16_t>(0x0300, h + 4);
        qToLittleEndian<uint16_t>(16, h + 10);
        out.append(m_records);
        if (eof)
            out.append(rawRecord(0, {}));
        qToLittleEndian<uint32_t>(uint32_t((out.size() - 22) / 2), out.data() + 22 + 6);
        return out;
    }

private:
    int m_w, m_h, m_inch;
    QByteArray m_records;
};

} // namespace terravale::test
