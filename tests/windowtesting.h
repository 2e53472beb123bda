#pragma once

// Helpers for tests that drive the real window.

#include <QObject>

class myGL;
class myUIImpl;

// Takes the ticks out of the event loop's hands: the views' own timer events
// are dropped, so a test decides exactly when and how often each view ticks.
class ManualTicks : public QObject
{
public:
    explicit ManualTicks(myUIImpl &window);

    // One tick of every view, in the order the window sends them keys.
    void tickAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    myUIImpl &m_window;
};

// The four views, main view first.
QList<myGL *> viewsOf(myUIImpl &window);

// Runs the event loop until the window under test ends it; if it never does,
// the loop ends after a while with 42.
int execEndedByWindow();
