#include "frame.h"

#include "platform/picture.h"
#include "platform/screen.h"

#include <QApplication>

namespace terravale {

void setupform(Screen &screen)
{
    screen.setBackColor(kScreenBlue);
    screen.setWindowTitle(kProgramTitle);
    if (auto *picture = screen.findChild<Picture *>(QStringLiteral("Picture1"), Qt::FindDirectChildrenOnly))
        picture->setBackColor(kPictureBlue);
    screen.setFixedSize(800, 600);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    screen.centreOnDisplay();
    QApplication::restoreOverrideCursor();
}

} // namespace terravale
