#include "windowwatch.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <xcb/xproto.h>

WindowWatch::WindowWatch(QWidget *window)
    : m_window(window)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowWatch::~WindowWatch() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool WindowWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !m_window)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    // The top bit marks events sent by another client rather than the server.
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const QWindow *handle = m_window->windowHandle();
    if (!handle || !handle->handle())
        return false;
    const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
    if (destroyed->window == handle->winId()) {
        std::fprintf(stderr, "vudure: the window was destroyed by another program; ending.\n");
        QCoreApplication::exit(exitWindowDestroyed);
    }
    return false;
}
