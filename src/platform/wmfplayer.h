#pragma once
#include "picturedata.h"
#include "wmfrecords.h"

#include <memory>

class QPainter;

namespace terravale {

namespace wmf {
// Plays the commands onto the painter so that the metafile's bounds fill target.
void play(const Program &program, QPainter &painter, const QRectF &target);
} // namespace wmf

// A metafile picture: its own size comes from the placeable header's bounds and units per inch.
class WmfPicture : public PictureData {
public:
    explicit WmfPicture(wmf::Program program) : m_program(std::move(program)) {}
    QSize sizePixels() const override;
    QSizeF sizeTwips() const override;
    void paint(QPainter &painter, const QRectF &target) const override;
    const wmf::Program &program() const { return m_program; }

private:
    wmf::Program m_program;
};

} // namespace terravale
