#include "guide.h"

#include "shell/frame.h"
#include "platform/twips.h"
#include "rules/session.h"

namespace terravale {

guide::guide() : PageViewer(QStringLiteral("guide"))
{
    connect(Image1, &Picture::mouseMoved, this, [this](Qt::MouseButtons b, QPointF) { formMouseMove(b, {}); });
    Image2->move(px(120), px(-240));
    Label1->setCaption(pageCaption(1, kGuidePages));
}

void guide::formLoad()
{
    setupform(*this);
}

void guide::loadPage(int page)
{
    const QString name = QStringLiteral("guide") + QString::number(page) + QStringLiteral(".wmf");
    loadPageFiles(QStringLiteral("wmf\\") + name, QStringLiteral("wmf2\\") + name);
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
