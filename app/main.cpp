#include "mygl.h"
#include "myuiimpl.h"
#include "openglcheck.h"
#include "platformguard.h"
#include "vudureconfig.h"
#include "windowwatch.h"

#include <QApplication>
#include <csignal>
#include <memory>

int main(int argc, char *argv[])
{
    // libxcb writes to the X server without MSG_NOSIGNAL: a frame flushed just
    // as the server ends would kill the process with SIGPIPE, before Qt can see
    // the broken connection, say so and end with 1.
    std::signal(SIGPIPE, SIG_IGN);
    useLegacyGLFormat();
    // Read before Qt takes its options out of the arguments.
    const PlatformRequest request = PlatformRequest::fromCommandLine(argc, argv);
    auto opening = std::make_unique<PlatformGuard>(request); // a word of its own on failure
    QApplication app(argc, argv);
    opening.reset();
    // The desktop entry's name ties the window to its menu entry and icon, on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral(VUDURE_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(VUDURE_VERSION));
    if (!openGLUsable(request))
        return exitNoOpenGL;
    endQuietlyForLostServer(); // the GL driver is loaded now
    myUIImpl window;
    window.show();
    const WindowWatch watch(window);
    return app.exec();
}
