#pragma once
#include <QDir>
#include <QString>
#include <functional>
#include <vector>

namespace gen {

// A generation step beyond pictures and question sets (pages, logo frames, ...).
struct Step {
    QString name;
    std::function<bool(const QDir &content, const QDir &out)> run;
};

// Steps registered by the other generator sources, run in order after the built-in ones.
std::vector<Step> &extraSteps();

struct Register {
    Register(const QString &name, std::function<bool(const QDir &, const QDir &)> run)
    {
        extraSteps().push_back({name, std::move(run)});
    }
};

// terravale-gen --page-png <page.txt> <screen|print> <png>: a page drawn straight to a picture
// at 15 twips a pixel, to look at the layout without a metafile.
int pagePreview(const QString &pageFile, const QString &version, const QString &png);

// terravale-gen --wmf-png <file.wmf> <png>: a metafile played at its own size.
int metafilePreview(const QString &wmfFile, const QString &png);

} // namespace gen
