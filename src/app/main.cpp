#include "platform/fonts.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "shell/titlefrm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    terravale::startProgram(app);
    terravale::form<terravale::Titlefrm>().show();
    const int status = app.exec();
    terravale::unloadAllForms();
    terravale::setSoundPlayer(nullptr);   // before the application goes
    return status;
}
