#include "platform/fonts.h"
#include "platform/screen.h"
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
    return status;
}
