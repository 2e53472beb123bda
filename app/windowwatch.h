#pragma once

#include "vudureconfig.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <xcb/xcb.h>

class QObject;
class QWidget;

// The exit code when another X client destroyed the window.
constexpr int exitWindowDestroyed = VUDURE_EXIT_WINDOW_DESTROYED;

// What the watch makes of the events on its connection.
enum class WatchVerdict {
    WindowDestroyed, // by another program: the viewer ends with exitWindowDestroyed
    ServerEnding, // an ending server destroys every window; Qt reports that itself
    ConnectionEnded, // stopped, or the server went without destroying the window first
};

// Whether the X server still answers on `connection` (a round trip). A server
// that ends destroys every window too, then closes every connection without
// answering: that is not another program's doing.
bool serverStillAnswers(xcb_connection_t *connection);

// Ends the viewer for a lost X server with 1, as Qt does, and one line, unless
// Qt has said so already and its exit() is under way.
[[noreturn]] void endForLostServer();

// From now on an X connection found broken ends the viewer through
// endForLostServer(), without Xlib's lines on top of Qt's. Call it once the
// GL driver is loaded: exit() runs the handlers registered later first.
void endQuietlyForLostServer();

// Reads events from `nextEvent` (each freed after reading; null when the
// connection ends) until the window's DestroyNotify or the end. The window's
// end asks the server (`serverAnswers`, a round trip): a server that is
// ending destroys every window too, then answers nothing.
WatchVerdict watchEvents(xcb_window_t window,
    const std::function<xcb_generic_event_t *()> &nextEvent,
    const std::function<bool()> &serverAnswers);

// Ends the program, at once and with its own exit code, when another program
// destroys the window on X (as `xdotool windowclose` does): Qt would go on
// running the views' timers for a window nobody can see or close. Ends it
// with 1 when the X server goes and Qt does not end it first: Qt's thread may
// be stuck in the GL driver's buffer swap, waiting for the gone server.
//
// It listens on an X connection and a thread of its own, not in the event
// loop: the GUI thread may be in the middle of a frame for the gone window,
// and Mesa can spend seconds there on a drawable that no longer exists.
// Watches for its lifetime, until Qt itself destroys the window (as it does
// when the window is closed); does nothing on other platforms.
class WindowWatch
{
public:
    // `window` is shown, so it has its X window.
    explicit WindowWatch(const QWidget &window);
    ~WindowWatch();

    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

private:
    xcb_connection_t *m_connection = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stopping {false};
    std::unique_ptr<QObject> m_qtDestroying; // sets m_stopping first
};
