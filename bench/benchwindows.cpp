#include "benchwindows.h"

#include "cpuclock.h"
#include "mygl.h"
#include "myuiimpl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

// Counts the timer events (ticks) and the composed frames of one view.
class ViewCounter : public QObject
{
public:
    explicit ViewCounter(QOpenGLWidget *view)
        : m_view(view)
    {
        view->installEventFilter(this);
        connect(view, &QOpenGLWidget::frameSwapped, this, [this] { ++frames; });
    }
    ~ViewCounter() override { m_view->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_view && event->type() == QEvent::Timer)
            ++ticks;
        return false;
    }
    long ticks = 0;
    long frames = 0;

private:
    QOpenGLWidget *m_view;
};

// A GL view that does nothing but clear, ticking like the real one.
class ClearView : public QOpenGLWidget
{
public:
    explicit ClearView(QWidget *parent)
        : QOpenGLWidget(parent)
    {
        startTimer(1);
    }

protected:
    void timerEvent(QTimerEvent *) override { update(); }
    void initializeGL() override { glClearColor(0.3f, 0.7f, 0.8f, 0.0f); }
    void paintGL() override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
};

const CpuClock &cpuClock()
{
    static const CpuClock clock; // first used on the GUI thread
    return clock;
}

} // namespace

BaselineWindow::BaselineWindow()
{
    for (QFrame *frame : {FrameGL, FrameGLTop, FrameGLFront, FrameGLBack}) {
        auto *view = new ClearView(frame);
        auto *layout = new QHBoxLayout(frame);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        layout->addWidget(view);
        views.push_back(view);
    }
}

Round measure(QWidget &window, const std::vector<QOpenGLWidget *> &views, double seconds,
    const std::function<void()> &shown)
{
    Round round;
    QSet<QOpenGLWidget *> drawn;
    std::vector<QMetaObject::Connection> firstFrames;
    for (QOpenGLWidget *view : views) {
        firstFrames.push_back(QObject::connect(
            view, &QOpenGLWidget::frameSwapped, [&drawn, view] { drawn.insert(view); }));
    }
    window.show();
    while (drawn.size() < int(views.size()))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    for (const QMetaObject::Connection &connection : firstFrames)
        QObject::disconnect(connection);
    if (shown)
        shown();
    QTimer afterShown; // ends with the count, which lasts longer
    afterShown.setSingleShot(true);
    QObject::connect(
        &afterShown, &QTimer::timeout, [&round] { round.shownResidentMiB = residentMiB(); });
    afterShown.start(2000);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    std::vector<std::unique_ptr<ViewCounter>> counters;
    for (QOpenGLWidget *view : views)
        counters.push_back(std::make_unique<ViewCounter>(view));
    const CpuSample before = cpuClock().sample();
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(int(seconds * 1000), [] { QApplication::exit(0); });
    QApplication::exec();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    const CpuSample after = cpuClock().sample();

    for (int i = 0; i < 4; ++i) {
        round.ticks[i] = counters[i]->ticks / elapsed;
        round.frames[i] = counters[i]->frames / elapsed;
    }
    const double ticks = std::max(1L, counters[0]->ticks);
    const double mainSeconds = after.mainThread - before.mainThread;
    round.mainMs = 1000 * mainSeconds / ticks;
    round.otherMs = 1000 * (after.process - before.process - mainSeconds) / ticks;
    if (before.server >= 0 && after.server >= 0)
        round.serverMs = 1000 * (after.server - before.server) / ticks;
    round.residentMiB = residentMiB();
    window.hide();
    return round;
}

Round measureViewer(double seconds, const std::function<void()> &shown)
{
    myUIImpl window;
    const std::vector<QOpenGLWidget *> views {
        window.mainView, window.topView, window.frontView, window.backView};
    return measure(window, views, seconds, shown);
}

Round measureBaseline(double seconds)
{
    BaselineWindow window;
    return measure(window, window.views, seconds);
}

QString serverNote() { return cpuClock().serverNote(); }
