#include "mygl.h"
#include "myuiimpl.h"
#include "openglcheck.h"
#include "windowwatch.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    useLegacyGLFormat();
    QApplication app(argc, argv);
    // The desktop entry's name ties the window to its menu entry and icon, on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral(VUDURE_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(VUDURE_VERSION));
    if (!openGLUsable())
        return exitNoOpenGL;
    myUIImpl window;
    window.show();
    const WindowWatch watch(window);
    return app.exec();
}
