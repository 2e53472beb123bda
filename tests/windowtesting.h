#pragma once

// Helpers for tests that drive the real window.

#include "mygl.h"
#include "myuiimpl.h"

#include <QEvent>

// The four views, main view first.
inline QList<myGL *> viewsOf(myUIImpl &window)
{
    return {window.mainView, window.topView, window.frontView, window.backView};
}

// Takes the ticks out of the event loop's hands: the views' own timer events
// are dropped, so a test decides exactly when and how often each view ticks.
class ManualTicks : public QObject
{
public:
    explicit ManualTicks(myUIImpl &window)
        : QObject(&window)
        , m_window(window)
    {
        for (myGL *view : viewsOf(window))
            view->installEventFilter(this);
    }

    // One tick of every view, in the order the window sends them keys.
    void tickAll()
    {
        for (myGL *view : viewsOf(m_window))
            view->tick();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Timer; }

private:
    myUIImpl &m_window;
};
