#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "viewerparts.h"

#include <QHash>

class QTimer;

namespace terravale {

// Screen and print file of page `page` (1 to 5) of a page set: "wmf\" or "wmf2\" + prefix +
// letter a..e + ".wmf". Empty for pages outside 1 to 5.
QString pageFile(const QString &prefix, int page, bool print);

// Logo animation frame file "logo\quil0000.gif" .. "logo\quil0019.gif".
QString logoFrameFile(int frame);

// The page viewer: Key Facts, Teacher's Notes and the Acknowledgments with its animated logo.
class teacher : public PageViewer {
    Q_OBJECT
public:
    teacher();
    void formLoad() override;

    Picture *Picture1;   // logo animation frame
    Picture *Picture2;   // still logo
    QTimer *Timer1;      // logo animation, 25 ms

    // Loads a page's screen version into Image1 and print version into Image2; a missing or
    // damaged file leaves that picture empty; without a screen version kPageNotShown is shown.
    void loadPage(const QString &screenFile, const QString &printFile);

    void Timer1_Timer();

    // The frame file Picture1 shows, empty before the first tick.
    QString logoFrameShown() const { return m_logoFile; }

protected:
    int pageCount() const override;
    void showPage(int page) override;

private:
    QHash<QString, PictureHandle> m_logoFrames;   // each frame read once while the viewer is open
    QString m_logoFile;
};

// Opens the page viewer on the first page of a page set (the topic hubs' Key Facts and Notes).
void openPages(int pages, const QString &prefix, const QString &screenFile, const QString &printFile);

// Opens the page viewer on the acknowledgments page with the animated logo (main menu).
void openAcknowledgments();

} // namespace terravale
