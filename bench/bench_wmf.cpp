// Metafiles: playing a large text-heavy page with a photograph at 800 x 600, reading it, writing
// it, and playing the largest page that comes with the program.
#include "platform/fonts.h"
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {

const QSize kPage(11000, 7800);

QImage photograph()
{
    QImage img(480, 360, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 255 / 480 + int(rng.bounded(40))) % 256, (y * 255 / 360) % 256, 90 + int(rng.bounded(60))));
    return img;
}

// Two columns of body text under a heading, a bulleted list, a photograph and a drawing.
void largePage(QPainter &p)
{
    static const QImage photo = photograph();
    p.fillRect(QRect(QPoint(0, 0), kPage), QColor(255, 253, 240));
    QFont heading(u"Tahoma"_qs);
    heading.setPointSize(22);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(QColor(20, 70, 150));
    p.drawText(QPointF(500, 700), u"Key Facts: Where does our rubbish go?"_qs);
    QFont body(u"Times New Roman"_qs);
    body.setPointSize(12);
    p.setFont(body);
    p.setPen(Qt::black);
    const QString sentence = u"Every week each family in Britain fills about two dustbins with rubbish."_qs;
    for (int i = 0; i < 20; ++i)
        p.drawText(QPointF(500, 1300 + i * 290), sentence);
    QFont list(u"Arial"_qs);
    list.setPointSize(11);
    p.setFont(list);
    for (int i = 0; i < 8; ++i)
        p.drawText(QPointF(6200, 4600 + i * 300), u"• Paper, card, glass and cans can be recycled again."_qs);
    p.drawImage(QRectF(6200, 1100, 4300, 3200), photo);
    p.setPen(QPen(QColor(30, 30, 30), 20));
    p.setBrush(QColor(120, 190, 90));
    QPainterPath bin;
    bin.addRoundedRect(QRectF(9200, 6900, 900, 700), 80, 80);
    bin.addEllipse(QRectF(9450, 7050, 400, 400));
    p.drawPath(bin);
}

QByteArray pageFile()
{
    static const QByteArray bytes = paintToWmf(kPage, largePage);
    return bytes;
}

void play(benchmark::State &state, const PictureHandle &picture)
{
    QImage canvas(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        picture->paint(p, QRectF(0, 0, 800, 600));
    }
}

} // namespace

static void BM_PlayLargePage(benchmark::State &state)
{
    const PictureHandle picture = readWmf(pageFile());
    state.counters["bytes"] = double(pageFile().size());
    play(state, picture);
}
BENCHMARK(BM_PlayLargePage)->Unit(benchmark::kMillisecond);

static void BM_ReadLargePage(benchmark::State &state)
{
    const QByteArray bytes = pageFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(readWmf(bytes));
}
BENCHMARK(BM_ReadLargePage)->Unit(benchmark::kMillisecond);

static void BM_WriteLargePage(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(paintToWmf(kPage, largePage));
}
BENCHMARK(BM_WriteLargePage)->Unit(benchmark::kMillisecond);

// The largest screen page in the data folder, when the data folder has pages.
static void BM_PlayLargestDataPage(benchmark::State &state)
{
    QString largest;
    qint64 size = 0;
    const QDir dir(QStringLiteral(TERRAVALE_DATA_DIR "/wmf"));
    for (const QFileInfo &f : dir.entryInfoList({u"*.wmf"_qs}, QDir::Files)) {
        if (f.size() > size) {
            size = f.size();
            largest = f.filePath();
        }
    }
    QFile file(largest);
    const PictureHandle picture = !largest.isEmpty() && file.open(QIODevice::ReadOnly) ? readWmf(file.readAll()) : nullptr;
    if (!picture) {
        state.SkipWithError("no pages in the data folder");
        return;
    }
    state.SetLabel(QFileInfo(largest).fileName().toStdString());
    state.counters["bytes"] = double(size);
    play(state, picture);
}
BENCHMARK(BM_PlayLargestDataPage)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
