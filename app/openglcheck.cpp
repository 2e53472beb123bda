#include "openglcheck.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <cstdio>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>

namespace {
// Why the views could not draw here, or nothing if they can.
const char *openGLProblem()
{
    // QOpenGLWidget needs both; without them Qt still makes the views, then
    // crashes composing the window.
    const QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration();
    if (!platform->hasCapability(QPlatformIntegration::OpenGL))
        return "it offers no OpenGL";
    if (!platform->hasCapability(QPlatformIntegration::RhiBasedRendering))
        return "it cannot show OpenGL inside a window";

    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    if (!context.create())
        return "no OpenGL context could be made";
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return "the OpenGL context could not be used";
    const bool legacy
        = !context.isOpenGLES() && context.format().profile() != QSurfaceFormat::CoreProfile;
    context.doneCurrent();
    if (!legacy)
        return "its OpenGL lacks the compatibility profile (display lists)";
    return nullptr;
}
} // namespace

bool openGLUsable()
{
    const char *problem = openGLProblem();
    if (!problem)
        return true;
    std::fprintf(stderr,
        "vudure: needs OpenGL, but on the \"%s\" platform %s. Install Mesa's OpenGL drivers "
        "(Debian: libgl1-mesa-dri) and run it on an X server with GLX or on Wayland.\n",
        qPrintable(QGuiApplication::platformName()), problem);
    return false;
}
