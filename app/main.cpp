#include "mygl.h"
#include "myuiimpl.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    useLegacyGLFormat();
    QApplication app(argc, argv);
    myUIImpl window;
    window.show();
    return app.exec();
}
