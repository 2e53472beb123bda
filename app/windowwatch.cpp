#include "windowwatch.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <thread>
// Last: Xlib's macros clash with Qt's names. Only DisplayString and the I/O
// error handler are used.
#include <X11/Xlib.h>

namespace {
// Set once exit() runs: Qt calls it when it finds the X connection broken,
// after saying so.
std::atomic<bool> exiting {false};

[[noreturn]] void endForDestroyedWindow()
{
    std::fprintf(stderr, "vudure: the window was destroyed by another program; ending.\n");
    // At once, from whichever thread sees it: a tick, repaint, flush or
    // teardown would make a GL context current on the gone window. The window
    // was all there was to tidy up; the process's memory goes with it.
    std::_Exit(exitWindowDestroyed);
}

// Qt destroys the window itself when it is closed, before the event loop
// ends: that is no other program's doing, so the watch stops before the
// window goes.
class QtDestroying : public QObject
{
public:
    explicit QtDestroying(std::atomic<bool> &stopping)
        : m_stopping(stopping)
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PlatformSurface
            && static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
                == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
            m_stopping = true;
        return false;
    }

private:
    std::atomic<bool> &m_stopping;
};
} // namespace

WindowWatch::WindowWatch(const QWidget &window)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return; // not on X
    // The display Qt is on, which its -display option may have chosen.
    Display *display = x11->display();
    m_connection = xcb_connect(display ? DisplayString(display) : nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    // Any number of clients may ask for a window's structure events.
    const auto id = static_cast<xcb_window_t>(window.winId());
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_generic_error_t *error = xcb_request_check(m_connection,
        xcb_change_window_attributes_checked(m_connection, id, XCB_CW_EVENT_MASK, &mask));
    if (error && error->error_code == XCB_WINDOW)
        endForDestroyedWindow(); // gone before we looked
    std::free(error);
    m_qtDestroying = std::make_unique<QtDestroying>(m_stopping);
    window.windowHandle()->installEventFilter(m_qtDestroying.get());
    m_thread = std::thread([this, id] {
        const WatchVerdict verdict = watchEvents(
            id, [this] { return xcb_wait_for_event(m_connection); },
            [this] { return serverStillAnswers(m_connection); });
        if (m_stopping)
            return;
        if (verdict == WatchVerdict::WindowDestroyed)
            endForDestroyedWindow();
        // The server went. Qt sees that on its own connection and ends with
        // 1, unless its thread is stuck in the GL driver, waiting for the gone
        // server: then, a moment later, the watch ends the viewer itself.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (!m_stopping)
            endForLostServer();
    });
}

WindowWatch::~WindowWatch()
{
    if (!m_connection)
        return;
    // Wakes the thread from its wait: the connection reads an end.
    m_stopping = true;
    shutdown(xcb_get_file_descriptor(m_connection), SHUT_RDWR);
    m_thread.join();
    xcb_disconnect(m_connection);
}

bool serverStillAnswers(xcb_connection_t *connection)
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return !xcb_connection_has_error(connection);
}

void endForLostServer()
{
    // Once: Qt's exit, and Xlib's handler below as exit() tidies up, come here too.
    if (!exiting.exchange(true))
        std::fprintf(stderr, "vudure: the X11 connection broke: the X server went away.\n");
    std::_Exit(1);
}

void endQuietlyForLostServer()
{
    std::atexit([] { exiting = true; });
    // Xlib's own handler prints its own lines on top of Qt's, then calls
    // exit() again from within exit().
    XSetIOErrorHandler([](Display *) -> int { endForLostServer(); });
}

WatchVerdict watchEvents(xcb_window_t window,
    const std::function<xcb_generic_event_t *()> &nextEvent,
    const std::function<bool()> &serverAnswers)
{
    while (xcb_generic_event_t *event = nextEvent()) {
        const bool destroyed = (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY
            && reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window == window;
        std::free(event);
        if (destroyed)
            return serverAnswers() ? WatchVerdict::WindowDestroyed : WatchVerdict::ServerEnding;
    }
    return WatchVerdict::ConnectionEnded;
}
