// Tick-rate benchmark: opens the real window on the current display for a
// fixed time and counts each view's ticks and frames; then does the same for
// a window of the same layout whose four GL views only clear, the most this
// toolkit, driver and display can give; then prints the ratio of the main
// views' tick rates.
//
//   tickbench [seconds]      (default 10 for each of the two windows)

#include "mygl.h"
#include "myui.h"
#include "myuiimpl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QOpenGLWidget>
#include <QTimer>
#include <cstdio>
#include <vector>

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

class BaselineWindow : public myUI
{
public:
    BaselineWindow()
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
    std::vector<QOpenGLWidget *> views;
};

struct Rates
{
    double ticks[4];
    double frames[4];
};

// Shows `window`, lets it settle for a moment, then counts for `seconds`.
Rates measure(QWidget &window, const std::vector<QOpenGLWidget *> &views, double seconds)
{
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    std::vector<std::unique_ptr<ViewCounter>> counters;
    for (QOpenGLWidget *view : views)
        counters.push_back(std::make_unique<ViewCounter>(view));
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(int(seconds * 1000), [] { QApplication::exit(0); });
    QApplication::exec();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    window.hide();

    Rates rates {};
    for (int i = 0; i < 4; ++i) {
        rates.ticks[i] = counters[i]->ticks / elapsed;
        rates.frames[i] = counters[i]->frames / elapsed;
    }
    return rates;
}

void print(const char *title, const Rates &r)
{
    const char *names[4] = {"main", "top", "front", "back"};
    std::printf("%s\n", title);
    for (int i = 0; i < 4; ++i)
        std::printf("  %-6s %8.1f ticks/s %8.1f frames/s\n", names[i], r.ticks[i], r.frames[i]);
}

} // namespace

int main(int argc, char *argv[])
{
    useLegacyGLFormat();
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
    std::printf("tick-rate benchmark, %.0f s per window, platform %s\n", seconds,
        qPrintable(QGuiApplication::platformName()));

    Rates scene {}, baseline {};
    {
        myUIImpl window;
        scene = measure(
            window, {window.mainView, window.topView, window.frontView, window.backView}, seconds);
    }
    {
        BaselineWindow window;
        baseline = measure(window, window.views, seconds);
    }
    print("viewer window", scene);
    print("baseline window (views only clear)", baseline);
    std::printf("main view tick rate, viewer / baseline: %.3f\n",
        baseline.ticks[0] > 0 ? scene.ticks[0] / baseline.ticks[0] : 0.0);
    return 0;
}
