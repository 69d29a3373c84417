#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

namespace terravale {

// The page viewers' buttons, by their Label3 index.
enum class PageButton : int { Print = 0, Exit = 1, NextPage = 2, PreviousPage = 3 };

// "Page n of m" as the viewers caption it.
QString pageCaption(int page, int pages);

extern const QString kPageNotShown;

// What the page viewer (teacher) and the guide share: a page's screen and print versions, the
// page caption, the message over a page that cannot be shown, and the Print, Exit, Next Page and
// Previous Page buttons. Paging moves session().pagenum within 1 to pageCount().
class PageViewer : public Screen {
    Q_OBJECT
public:
    LabelArray Label3;   // 0 Print, 1 Exit, 2 Next Page, 3 Previous Page
    Label *Label1;       // page caption
    Picture *Image1;     // screen version of the page
    Picture *Image2;     // print version, never visible
    Label *missingPage;  // shown instead of a page that cannot be loaded

    void Label3_Click(int index);

protected:
    explicit PageViewer(const QString &formName);

    // The number of pages, and loading page `page` of them.
    virtual int pageCount() const = 0;
    virtual void showPage(int page) = 0;

    // Loads a page's screen version into Image1 and print version into Image2; a missing or
    // damaged file leaves that picture empty; without a screen version kPageNotShown is shown.
    void loadPageFiles(const QString &screenFile, const QString &printFile);

    // Shows page session().pagenum: its pictures, caption and the paging buttons it allows.
    void refresh();
};

} // namespace terravale
