#include "openglcheck.h"

#include "platformguard.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <xcb/xcb.h>

namespace {
struct Problem
{
    const char *what; // on this platform
    QByteArray advice;
};

const char *const installMesa = "Install Mesa's OpenGL drivers (Debian: libgl1-mesa-dri).";

// Whether the X server Qt is connected to has the GLX extension.
bool xServerHasGlx()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    xcb_query_extension_reply_t *reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, 3, "GLX"), nullptr);
    const bool present = reply && reply->present;
    std::free(reply);
    return present;
}

// Why no OpenGL context could be made on this platform, and what to do.
Problem contextProblem(const QString &platform)
{
    if (platform == QLatin1String("xcb")) {
        if (qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
            return {
                "QT_XCB_GL_INTEGRATION switches its OpenGL off", "Unset QT_XCB_GL_INTEGRATION."};
        if (!xServerHasGlx())
            return {"the X server offers no GLX",
                "Run it on an X server with GLX (Xorg and Xvfb have it) or on Wayland."};
    }
    if (platform.startsWith(QLatin1String("wayland")))
        return {"it offers no OpenGL",
            "Install Mesa's EGL and OpenGL drivers (Debian: libegl-mesa0, libgl1-mesa-dri)."};
    return {"no OpenGL context could be made", installMesa};
}

// Why the views could not draw here, or nothing if they can.
std::optional<Problem> openGLProblem(const QByteArray &platformAdvice)
{
    // QOpenGLWidget needs a platform that composes OpenGL into its windows.
    // Others may still make contexts (offscreen does, given an X display),
    // then crash composing the window.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"))
        && platform != QLatin1String("eglfs"))
        return Problem {
            "it cannot show OpenGL in a window", "Run it on X11 or Wayland: " + platformAdvice + '.'};

    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    // Qt says in words of its own when it can't; the line below says it for
    // the player.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) {});
    const bool created = context.create();
    qInstallMessageHandler(previous);
    if (!created)
        return contextProblem(platform);
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return Problem {"the OpenGL context could not be used", installMesa};
    const bool legacy
        = !context.isOpenGLES() && context.format().profile() != QSurfaceFormat::CoreProfile;
    context.doneCurrent();
    if (!legacy)
        return Problem {"its OpenGL lacks the compatibility profile (display lists)", installMesa};
    return std::nullopt;
}
} // namespace

bool openGLUsable(const PlatformRequest &request)
{
    const std::optional<Problem> problem = openGLProblem(request.platformAdvice());
    if (!problem)
        return true;
    std::fprintf(stderr, "vudure: needs OpenGL, but on the \"%s\" platform %s. %s\n",
        qPrintable(QGuiApplication::platformName()), problem->what, problem->advice.constData());
    return false;
}
