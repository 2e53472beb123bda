#include "myuiimpl.h"

#include "keybindings.h"
#include "mygl.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLCDNumber>

namespace {
// Each frame holds one view through its own layout, 2 pixels in from the edge.
void putInFrame(QFrame *frame, myGL *view, const char *layoutName, int stretch)
{
    auto *layout = new QHBoxLayout(frame);
    layout->setObjectName(QString::fromLatin1(layoutName));
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(view, stretch);
}
} // namespace

myUIImpl::myUIImpl(QWidget *parent, const char *name)
    : myUI(parent, name, Qt::WindowFlags())
{
    mainView = new myGL(FrameGL, nullptr);
    topView = new myGL(FrameGLTop, "top");
    frontView = new myGL(FrameGLFront, "front");
    backView = new myGL(FrameGLBack, "back");

    putInFrame(FrameGL, mainView, "flayout1", 1);
    putInFrame(FrameGLTop, topView, "flayout2", 2);
    topView->changeCam(1);
    putInFrame(FrameGLFront, frontView, "flayout3", 3);
    frontView->changeCam(2);
    putInFrame(FrameGLBack, backView, "flayout4", 4);
    backView->changeCam(3);

    // Only the main view reaches the readouts.
    connect(mainView, SIGNAL(valueChanged(int)), LCDposX, SLOT(display(int)));
    connect(mainView, SIGNAL(valuePosY(int)), LCDposY, SLOT(display(int)));
    connect(mainView, SIGNAL(valuePosZ(int)), LCDposZ, SLOT(display(int)));
    connect(mainView, SIGNAL(valueRotZ(int)), LCDRotate, SLOT(display(int)));
    connect(mainView, SIGNAL(valueFov(int)), LCDFov, SLOT(display(int)));
    connect(mainView, SIGNAL(valueFPS(int)), LCDFps, SLOT(display(int)));
}

myUIImpl::~myUIImpl() = default;

void myUIImpl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        QApplication::exit(0);
        return;
    }
    myGL *const views[4] = {mainView, topView, frontView, backView};
    applyKey(event->key(), *mainView, views);
    // Bound or not, the key stops here.
}
