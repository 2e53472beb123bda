#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>

class QWidget;

// The exit code when another X client destroyed the window.
constexpr int exitWindowDestroyed = VUDURE_EXIT_WINDOW_DESTROYED; // set in CMake

// Ends the event loop when another program destroys the window on X (as
// `xdotool windowclose` does): Qt would go on running the views' timers for a
// window nobody can see or close. Installs itself for its lifetime; does
// nothing on other platforms.
class WindowWatch : public QAbstractNativeEventFilter
{
public:
    explicit WindowWatch(QWidget *window);
    ~WindowWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QPointer<QWidget> m_window;
};
