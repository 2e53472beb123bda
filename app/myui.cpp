#include "myui.h"

#include "iconart.h"
#include "readoutaccessible.h"

#include <QFrame>
#include <QIcon>
#include <QLCDNumber>
#include <QLabel>
#include <QPalette>

namespace {

const QColor darkGreen(0, 85, 0);
const QColor captionWhite(255, 255, 255);

struct PaletteRow
{
    QPalette::ColorRole role;
    QColor active, inactive, disabled;
};

// Foreground and background share the dark green; captions set their own white.
const PaletteRow paletteRows[] = {
    {QPalette::WindowText, darkGreen, darkGreen, darkGreen},
    {QPalette::Button, QColor(224, 223, 227), QColor(224, 223, 227), QColor(224, 223, 227)},
    {QPalette::Light, Qt::white, Qt::white, Qt::white},
    {QPalette::Midlight, QColor(239, 239, 241), Qt::white, Qt::white},
    {QPalette::Dark, QColor(112, 111, 113), QColor(112, 111, 113), QColor(112, 111, 113)},
    {QPalette::Mid, QColor(149, 149, 151), QColor(149, 149, 151), QColor(149, 149, 151)},
    {QPalette::Text, Qt::black, Qt::black, Qt::black},
    {QPalette::BrightText, Qt::white, Qt::white, Qt::white},
    {QPalette::ButtonText, Qt::black, Qt::black, QColor(128, 128, 128)},
    {QPalette::Base, Qt::white, Qt::white, Qt::white},
    {QPalette::Window, darkGreen, darkGreen, darkGreen},
    {QPalette::Shadow, Qt::black, Qt::black, Qt::black},
    {QPalette::Highlight, QColor(178, 180, 191), QColor(178, 180, 191), QColor(178, 180, 191)},
    {QPalette::HighlightedText, Qt::black, Qt::black, Qt::black},
    {QPalette::Link, Qt::black, Qt::black, Qt::black},
    {QPalette::LinkVisited, Qt::black, Qt::black, Qt::black},
};

QPalette formPalette()
{
    QPalette palette;
    for (const PaletteRow &row : paletteRows) {
        palette.setColor(QPalette::Active, row.role, row.active);
        palette.setColor(QPalette::Inactive, row.role, row.inactive);
        palette.setColor(QPalette::Disabled, row.role, row.disabled);
    }
    return palette;
}

template <typename Widget> Widget *makeChild(QWidget *form, const char *name, const QRect &geometry)
{
    auto *widget = new Widget(form);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QFrame *makeViewFrame(QWidget *form, const char *name, const QRect &geometry)
{
    auto *frame = makeChild<QFrame>(form, name, geometry);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}

QLCDNumber *makeReadout(QWidget *form, const char *name, const QRect &geometry)
{
    auto *readout = makeChild<QLCDNumber>(form, name, geometry);
    readout->setFrameShape(QFrame::Panel); // the old popup panel
    readout->setFrameShadow(QFrame::Sunken);
    // A value with more digits than the readout has would leave the old ones
    // standing; show dashes until a value fits again.
    QObject::connect(readout, &QLCDNumber::overflow, readout,
        [readout] { readout->display(QString(readout->digitCount(), QLatin1Char('-'))); });
    return readout;
}

QLabel *makeCaption(QWidget *form, const char *name, const QRect &geometry)
{
    auto *label = makeChild<QLabel>(form, name, geometry);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, captionWhite);
    label->setPalette(palette);
    return label;
}

// The art at every size, so task bars with a high pixel density need not
// blur the 16 x 16 picture.
QIcon windowIconFrom(const QPixmap &art)
{
    QIcon icon(art);
    for (int size : iconart::sizes) {
        if (size != art.width())
            icon.addPixmap(QPixmap::fromImage(iconart::image(size)));
    }
    return icon;
}

} // namespace

myUI::myUI(QWidget *parent, const char *name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
    , iconPixmap(iconart::xpm)
{
    setObjectName(QString::fromLatin1(name ? name : "myUI"));
    setMinimumSize(800, 560);
    setMaximumSize(800, 560);
    setPalette(formPalette());
    setAutoFillBackground(true);
    setWindowIcon(windowIconFrom(iconPixmap));

    FrameGL = makeViewFrame(this, "FrameGL", QRect(20, 35, 350, 230));
    FrameGLFront = makeViewFrame(this, "FrameGLFront", QRect(20, 280, 350, 230));
    LCDFps = makeReadout(this, "LCDFps", QRect(745, 60, 40, 20));
    LCDRotate = makeReadout(this, "LCDRotate", QRect(745, 115, 40, 20));
    LCDFov = makeReadout(this, "LCDFov", QRect(745, 170, 40, 20));
    FrameGLTop = makeViewFrame(this, "FrameGLTop", QRect(380, 35, 350, 230));
    textFPS = makeCaption(this, "textFPS", QRect(745, 35, 35, 21));
    textFPS->setFrameShadow(QFrame::Plain);
    textRotate = makeCaption(this, "textRotate", QRect(745, 90, 40, 21));
    textZoom = makeCaption(this, "textZoom", QRect(745, 145, 40, 21));
    textPosX = makeCaption(this, "textPosX", QRect(745, 275, 40, 21));
    LCDposY = makeReadout(this, "LCDposY", QRect(745, 350, 40, 20));
    textPosY = makeCaption(this, "textPosY", QRect(745, 325, 40, 21));
    LCDposZ = makeReadout(this, "LCDposZ", QRect(745, 400, 40, 20));
    textPosZ = makeCaption(this, "textPosZ", QRect(745, 375, 40, 21));
    LCDposX = makeReadout(this, "LCDposX", QRect(745, 300, 40, 20));
    LCDposX->setSegmentStyle(QLCDNumber::Outline);
    FrameGLBack = makeViewFrame(this, "FrameGLBack", QRect(380, 280, 350, 230));

    // Each caption belongs to the readout under it: assistive technology names
    // the readout by it.
    installReadoutAccessibility();
    const std::pair<QLabel *, QLCDNumber *> captioned[]
        = {{textFPS, LCDFps}, {textRotate, LCDRotate}, {textZoom, LCDFov}, {textPosX, LCDposX},
            {textPosY, LCDposY}, {textPosZ, LCDposZ}};
    for (const auto &[caption, readout] : captioned)
        caption->setBuddy(readout);

    languageChange();
    resize(QSize(800, 560).expandedTo(minimumSizeHint()));
}

myUI::~myUI() = default;

void myUI::languageChange()
{
    setWindowTitle(tr("Vudure DI64"));
    textFPS->setText(tr("FPS"));
    textRotate->setText(tr("Rotate"));
    textZoom->setText(tr("Zoom"));
    textPosX->setText(tr("pos X"));
    textPosY->setText(tr("pos Y"));
    textPosZ->setText(tr("pos Z"));
}
