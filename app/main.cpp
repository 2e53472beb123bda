#include "mygl.h"
#include "myuiimpl.h"
#include "openglcheck.h"
#include "windowwatch.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    useLegacyGLFormat();
    QApplication app(argc, argv);
    if (!openGLUsable())
        return exitNoOpenGL;
    myUIImpl window;
    window.show();
    const WindowWatch watch(&window);
    return app.exec();
}
