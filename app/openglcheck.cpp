#include "openglcheck.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <cstdio>
#include <optional>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>

namespace {
struct Problem
{
    const char *what; // on this platform
    const char *advice;
};

const char *const installMesa = "Install Mesa's OpenGL drivers (Debian: libgl1-mesa-dri).";

// Why the platform shows no OpenGL in a window, and what to do about it.
Problem platformProblem(const QString &platform)
{
    if (platform == QLatin1String("xcb")) {
        if (qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
            return {
                "QT_XCB_GL_INTEGRATION switches its OpenGL off", "Unset QT_XCB_GL_INTEGRATION."};
        return {"the X server offers no GLX",
            "Run it on an X server with GLX (Xorg and Xvfb have it) or on Wayland."};
    }
    if (platform.startsWith(QLatin1String("wayland")))
        return {"it offers no OpenGL",
            "Install Mesa's EGL and OpenGL drivers (Debian: libegl-mesa0, libgl1-mesa-dri)."};
    return {"it cannot show OpenGL in a window",
        "Run it on X11 or Wayland: unset QT_QPA_PLATFORM, or set it to xcb or wayland."};
}

// Why the views could not draw here, or nothing if they can.
std::optional<Problem> openGLProblem()
{
    // QOpenGLWidget needs both; without them Qt still makes the views, then
    // crashes composing the window.
    const QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration();
    if (!platform->hasCapability(QPlatformIntegration::OpenGL)
        || !platform->hasCapability(QPlatformIntegration::RhiBasedRendering))
        return platformProblem(QGuiApplication::platformName());

    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    if (!context.create())
        return Problem {"no OpenGL context could be made", installMesa};
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

bool openGLUsable()
{
    const std::optional<Problem> problem = openGLProblem();
    if (!problem)
        return true;
    std::fprintf(stderr, "vudure: needs OpenGL, but on the \"%s\" platform %s. %s\n",
        qPrintable(QGuiApplication::platformName()), problem->what, problem->advice);
    return false;
}
