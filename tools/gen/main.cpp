// Builds the program's data folder from content/.
//   terravale-gen <content dir> <data dir>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

#include "gen.h"
#include "platform/textcodec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool fail(const QString &message)
{
    std::fprintf(stderr, "terravale-gen: %s\n", qPrintable(message));
    return false;
}

// SVG artwork becomes a JPEG of the SVG's own pixel size.
bool renderImages(const QDir &content, const QDir &out)
{
    const QDir src(content.filePath(u"images"_s));
    out.mkpath(u"Images"_s);
    for (const QString &name : src.entryList({u"*.svg"_s}, QDir::Files)) {
        QSvgRenderer svg(src.filePath(name));
        if (!svg.isValid())
            return fail(u"cannot read "_s + name);
        QImage image(svg.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString target = out.filePath(u"Images/"_s + QFileInfo(name).completeBaseName() + u".jpg"_s);
        if (!image.save(target, "JPEG", 92))
            return fail(u"cannot write "_s + target);
    }
    return true;
}

// Question sets are authored as UTF-8 with LF; the program reads Windows-1252 with CR LF.
bool convertTexts(const QDir &content, const QDir &out)
{
    const QDir src(content.filePath(u"multiple"_s));
    out.mkpath(u"multiple"_s);
    for (const QString &name : src.entryList({u"*.txt"_s}, QDir::Files)) {
        QFile in(src.filePath(name));
        if (!in.open(QIODevice::ReadOnly))
            return fail(u"cannot read "_s + name);
        QString text = QString::fromUtf8(in.readAll());
        text.replace(u"\r\n"_s, u"\n"_s);
        if (text.endsWith(u'\n'))
            text.chop(1);
        QByteArray bytes;
        for (const QString &line : text.split(u'\n')) {
            bool ok = true;
            bytes += terravale::encodeCp1252(line, &ok);
            if (!ok)
                return fail(name + u": a character that Windows-1252 cannot hold"_s);
            bytes += "\r\n";
        }
        QFile outFile(out.filePath(u"multiple/"_s + name));
        if (!outFile.open(QIODevice::WriteOnly) || outFile.write(bytes) != bytes.size())
            return fail(u"cannot write "_s + name);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--png"_s) {
        // terravale-gen --png <svg> <size> <png>: an icon at one size.
        QSvgRenderer svg(args[2]);
        const int size = args[3].toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        QDir().mkpath(QFileInfo(args[4]).path());
        return svg.isValid() && image.save(args[4], "PNG") ? 0 : 1;
    }
    if (args.size() == 5 && args[1] == u"--page-png"_s)
        return gen::pagePreview(args[2], args[3], args[4]);
    if (args.size() == 4 && args[1] == u"--wmf-png"_s)
        return gen::metafilePreview(args[2], args[3]);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: terravale-gen <content dir> <data dir>\n");
        return 2;
    }
    const QDir content(args[1]);
    QDir out(args[2]);
    out.mkpath(u"."_s);
    for (const char *folder : {"Images", "wmf", "wmf2", "logo", "wav", "multiple"})
        out.mkpath(QString::fromLatin1(folder));
    if (!renderImages(content, out) || !convertTexts(content, out))
        return 1;
    for (const auto &step : gen::extraSteps()) {
        if (!step.run(content, out))
            return fail(u"step failed: "_s + step.name) ? 0 : 1;
    }
    return 0;
}
