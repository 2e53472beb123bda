#pragma once

#include <atomic>
#include <thread>

class QWidget;
struct xcb_connection_t;

// The exit code when another X client destroyed the window.
constexpr int exitWindowDestroyed = VUDURE_EXIT_WINDOW_DESTROYED; // set in CMake

// Ends the program, at once and with its own exit code, when another program
// destroys the window on X (as `xdotool windowclose` does): Qt would go on
// running the views' timers for a window nobody can see or close.
//
// It listens on an X connection and a thread of its own, not in the event
// loop: the GUI thread may be in the middle of a frame for the gone window,
// and Mesa can spend seconds there on a drawable that no longer exists.
// Watches for its lifetime; does nothing on other platforms.
class WindowWatch
{
public:
    // `window` is shown, so it has its X window.
    explicit WindowWatch(const QWidget &window);
    ~WindowWatch();

    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

private:
    void watch(unsigned window);

    xcb_connection_t *m_connection = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stopping {false};
};
