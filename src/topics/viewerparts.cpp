#include "viewerparts.h"

#include "pageprint.h"

#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "rules/session.h"

namespace terravale {

const QString kPageNotShown = QStringLiteral("This page could not be shown because its file is missing or damaged.");

QString pageCaption(int page, int pages)
{
    return QStringLiteral("Page") + numText(page) + QStringLiteral(" of") + numText(pages);
}

namespace {
// Black on white, bordered, at 4200, 7920.
Label *makePageCaption(QWidget *parent)
{
    auto *label = new Label(parent);
    label->setGeometryTw(4200, 7920, 2295, 495);
    label->setForeColor(QColor(0, 0, 0));
    label->setBackColor(QColor(255, 255, 255));
    label->setOpaque(true);
    label->setBorder(true);
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(designFont(QStringLiteral("Tahoma"), 15.75, true));
    return label;
}

// The hidden message over the page area.
Label *makeMissingPageLabel(QWidget *parent)
{
    auto *label = new Label(parent);
    label->setGeometryTw(1200, 3000, 8400, 1200);
    label->setForeColor(QColor(255, 255, 255));
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(designFont(QStringLiteral("Tahoma"), 15.75, true));
    label->setCaption(kPageNotShown);
    label->hide();
    return label;
}
} // namespace

PageViewer::PageViewer(const QString &formName) : Screen(formName)
{
    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(px(120), 0);
    Image2 = new Picture(this, Picture::Mode::AutoSize);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(0, 0);
    Image2->hide();
    missingPage = makeMissingPageLabel(this);

    // The pointer does not light these buttons.
    addLabelButtons(this, Label3,
                    {
                        {int(PageButton::Print), 10680, 120, 1125, 495, "Print"},
                        {int(PageButton::Exit), 10680, 7920, 1125, 495, "Exit"},
                        {int(PageButton::NextPage), 6720, 7920, 2685, 495, "Next Page"},
                        {int(PageButton::PreviousPage), 1320, 7920, 2685, 495, "Previous Page"},
                    },
                    15.75, [this](int i) { Label3_Click(i); }, Hover::None);
    Label3(PageButton::PreviousPage).setEnabled(false);
    Label1 = makePageCaption(this);
    setExitAction([this] { Label3_Click(int(PageButton::Exit)); });
}

void PageViewer::loadPageFiles(const QString &screenFile, const QString &printFile)
{
    bool shown = true;
    for (auto [picture, file] : {std::pair{Image1, screenFile}, std::pair{Image2, printFile}}) {
        try {
            picture->load(file);
        } catch (const FileError &) {
            picture->clear();
            shown = shown && picture != Image1;
        }
    }
    missingPage->setVisible(!shown);
}

void PageViewer::refresh()
{
    const int page = session().pagenum;
    showPage(page);
    Label3(PageButton::PreviousPage).setEnabled(page > 1);
    Label3(PageButton::NextPage).setEnabled(page < pageCount());
    Label1->setCaption(pageCaption(page, pageCount()));
}

void PageViewer::Label3_Click(int index)
{
    Session &s = session();
    switch (PageButton(index)) {
    case PageButton::Print:
        // An empty print version gets the page message.
        if (!Image2->picture())
            msgBox(kPageNotShown);
        else
            printPage(Image2->picture());
        break;
    case PageButton::Exit:
        unloadScreen(*this);
        break;
    case PageButton::NextPage:
        if (s.pagenum < pageCount()) {
            ++s.pagenum;
            refresh();
        }
        break;
    case PageButton::PreviousPage:
        if (s.pagenum > 1) {
            --s.pagenum;
            refresh();
        }
        break;
    default:
        break;
    }
}

} // namespace terravale
