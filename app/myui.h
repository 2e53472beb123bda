#pragma once

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QLCDNumber;

// The control panel: a fixed 800 x 560 window on a dark green ground with four
// raised frames for the views (2 x 2 on the left) and a column of six
// seven-segment readouts with white captions on the right. It only builds and
// names its children; myUIImpl fills the frames and feeds the readouts.
class myUI : public QWidget
{
    Q_OBJECT

public:
    explicit myUI(QWidget *parent = nullptr, const char *name = nullptr,
        Qt::WindowFlags fl = Qt::WindowFlags());
    ~myUI() override;

    QFrame *FrameGL;
    QFrame *FrameGLFront;
    QLCDNumber *LCDFps;
    QLCDNumber *LCDRotate;
    QLCDNumber *LCDFov;
    QFrame *FrameGLTop;
    QLabel *textFPS;
    QLabel *textRotate;
    QLabel *textZoom;
    QLabel *textPosX;
    QLCDNumber *LCDposY;
    QLabel *textPosY;
    QLCDNumber *LCDposZ;
    QLabel *textPosZ;
    QLCDNumber *LCDposX;
    QFrame *FrameGLBack;

protected Q_SLOTS:
    virtual void languageChange();

private:
    QPixmap iconPixmap;
};
