#include "myuiimpl.h"

#include "keybindings.h"
#include "mygl.h"
#include "readoutaccessible.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLCDNumber>
#include <tuple>

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

    // Assistive technology names the views; their cameras are in the descriptions.
    const std::tuple<myGL *, QString, QString> described[] = {
        {mainView, tr("main view"), tr("Its camera is the one keys 0 to 3 switch.")},
        {topView, tr("top view"), tr("Beside the helicopter, a quarter turn from its heading.")},
        {frontView, tr("front view"), tr("Behind the helicopter.")},
        {backView, tr("back view"), tr("Above the helicopter, looking down.")}};
    for (const auto &[view, name, description] : described) {
        view->setAccessibleName(name);
        view->setAccessibleDescription(description);
    }

    // Only the main view reaches the readouts.
    connect(mainView, SIGNAL(valueChanged(int)), LCDposX, SLOT(display(int)));
    connect(mainView, SIGNAL(valuePosY(int)), LCDposY, SLOT(display(int)));
    connect(mainView, SIGNAL(valuePosZ(int)), LCDposZ, SLOT(display(int)));
    connect(mainView, SIGNAL(valueRotZ(int)), LCDRotate, SLOT(display(int)));
    connect(mainView, SIGNAL(valueFov(int)), LCDFov, SLOT(display(int)));
    connect(mainView, SIGNAL(valueFPS(int)), LCDFps, SLOT(display(int)));
    // What assistive technology reads of each readout: the number it was last
    // given, also while it shows dashes because the number does not fit.
    const std::pair<void (myGL::*)(int), QLCDNumber *> fed[]
        = {{&myGL::valueChanged, LCDposX}, {&myGL::valuePosY, LCDposY}, {&myGL::valuePosZ, LCDposZ},
            {&myGL::valueRotZ, LCDRotate}, {&myGL::valueFov, LCDFov}, {&myGL::valueFPS, LCDFps}};
    for (const auto &[signal, readout] : fed) {
        connect(mainView, signal, readout,
            [readout = readout](int value) { readout->setProperty(readoutValueProperty, value); });
    }
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
