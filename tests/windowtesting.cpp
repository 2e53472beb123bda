#include "windowtesting.h"

#include "mygl.h"
#include "myuiimpl.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

ManualTicks::ManualTicks(myUIImpl &window)
    : QObject(&window)
    , m_window(window)
{
    for (myGL *view : viewsOf(window))
        view->installEventFilter(this);
}

void ManualTicks::tickAll()
{
    for (myGL *view : viewsOf(m_window))
        view->tick();
}

bool ManualTicks::eventFilter(QObject *watched, QEvent *event)
{
    return event->type() == QEvent::Timer || QObject::eventFilter(watched, event);
}

QList<myGL *> viewsOf(myUIImpl &window)
{
    return {window.mainView, window.topView, window.frontView, window.backView};
}

int execEndedByWindow()
{
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QApplication::exit(42); });
    fallback.start(15000);
    return QApplication::exec();
}
