#include "guide.h"

#include "teacher.h"
#include "viewerparts.h"

#include "shell/frame.h"
#include "platform/twips.h"
#include "rules/session.h"

namespace terravale {

guide::guide() : Screen(QStringLiteral("guide"))
{
    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(px(120), 0);
    connect(Image1, &Picture::mouseMoved, this, [this](Qt::MouseButtons b, QPointF) { formMouseMove(b, {}); });
    Image2 = new Picture(this, Picture::Mode::AutoSize);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(px(120), px(-240));
    Image2->hide();
    missingPage = makeMissingPageLabel(this);

    addPageButtons(this, Label3, [this](int i) { Label3_Click(i); });
    Label3(PageButton::PreviousPage).setEnabled(false);
    Label1 = makePageCaption(this);
    Label1->setCaption(pageCaption(1, kGuidePages));
    setExitAction([this] { Label3_Click(int(PageButton::Exit)); });
}

void guide::formLoad()
{
    setupform(*this);
}

void guide::loadPage(int page)
{
    const QString name = QStringLiteral("guide") + QString::number(page) + QStringLiteral(".wmf");
    const bool ok = loadPagePictures(*Image1, *Image2, QStringLiteral("wmf\\") + name, QStringLiteral("wmf2\\") + name);
    missingPage->setVisible(!ok);
}

void guide::refresh()
{
    const int page = session().pagenum;
    loadPage(page);
    Label3(PageButton::PreviousPage).setEnabled(page > 1);
    Label3(PageButton::NextPage).setEnabled(page < kGuidePages);
    Label1->setCaption(pageCaption(page, kGuidePages));
}

void guide::Label3_Click(int index)
{
    Session &s = session();
    switch (PageButton(index)) {
    case PageButton::Print:
        printPicture(*Image2);
        break;
    case PageButton::Exit:
        unloadForm<guide>();
        break;
    case PageButton::NextPage:
        if (s.pagenum < kGuidePages) {
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

void guide::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 3);
}

void openGuide()
{
    guide &g = form<guide>();
    g.loadPage(1);
    session().pagenum = 1;
    g.showInFront();
}

} // namespace terravale
