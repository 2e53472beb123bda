#pragma once

#include "myui.h"

#include <QOpenGLWidget>
#include <functional>
#include <vector>

class QWidget;

// What one window did while it was counted.
struct Round
{
    double ticks[4] = {}; // ticks per second of each view: main, top, front, back
    double frames[4] = {}; // frames per second of each view
    // CPU milliseconds per tick of the main view (one tick of each of the four
    // views, near enough): the GUI thread, the other threads of the process,
    // the X server (-1 when unreadable).
    double mainMs = 0, otherMs = 0, serverMs = -1;
    double residentMiB = 0; // at the end of the count
    double shownResidentMiB = 0; // two seconds after the window was shown
    double totalMs() const { return mainMs + otherMs + (serverMs > 0 ? serverMs : 0); }
};

// A window with the viewer's layout whose four GL views only clear: the most
// this toolkit, driver and display can give.
class BaselineWindow : public myUI
{
public:
    BaselineWindow();
    std::vector<QOpenGLWidget *> views;
};

// Shows `window`, lets it settle for a second, counts for `seconds`, hides it.
// `shown` runs as soon as every view has drawn its first frame.
Round measure(QWidget &window, const std::vector<QOpenGLWidget *> &views, double seconds,
    const std::function<void()> &shown = {});

// The same for a newly made viewer window and a newly made baseline window.
Round measureViewer(double seconds, const std::function<void()> &shown = {});
Round measureBaseline(double seconds);

// Why the X server's CPU time is missing, or empty.
QString serverNote();
