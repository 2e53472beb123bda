#include "platformguard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {
struct HeldMessage
{
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

std::mutex heldLock;
QList<HeldMessage> held;
QtMessageHandler passOn = nullptr;

// How a setting that decides the display stands, for the line below.
QByteArray described(const char *name)
{
    if (!qEnvironmentVariableIsSet(name))
        return QByteArray(name) + " not set";
    return QByteArray(name) + "=\"" + qgetenv(name) + '"';
}

[[noreturn]] void endForNoDisplay()
{
    // A platform asked for by name may be the fault too.
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    const char *platform = asked.isEmpty() || asked == "xcb" || asked == "wayland"
        ? ""
        : ", with QT_QPA_PLATFORM unset, xcb or wayland";
    std::fprintf(stderr,
        "vudure: needs a display to show its window, but could not open one (%s, %s, %s). "
        "Start it in a desktop session, or set DISPLAY (X11) or WAYLAND_DISPLAY (Wayland) to a "
        "running server%s.\n",
        described("DISPLAY").constData(), described("WAYLAND_DISPLAY").constData(),
        described("QT_QPA_PLATFORM").constData(), platform);
    // Nothing is open yet; the half-made application object is not to be
    // taken down.
    std::_Exit(exitNoDisplay);
}

void passOnHeld()
{
    for (const HeldMessage &m : std::exchange(held, {})) {
        const QMessageLogContext context(
            m.file.constData(), m.line, m.function.constData(), m.category.constData());
        passOn(m.type, context, m.text);
    }
}

void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(heldLock);
    if (type == QtFatalMsg) {
        // Qt's last word when no platform plugin could start: it aborts after.
        if (text.contains(QLatin1String("platform plugin")))
            endForNoDisplay();
        passOnHeld();
        passOn(type, context, text);
        return;
    }
    held.append({type, context.file, context.function, context.category, context.line, text});
}
} // namespace

PlatformGuard::PlatformGuard() { passOn = qInstallMessageHandler(hold); }

PlatformGuard::~PlatformGuard()
{
    qInstallMessageHandler(passOn);
    const std::lock_guard lock(heldLock);
    passOnHeld();
}
