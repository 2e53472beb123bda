#pragma once

#include "myui.h"

class myGL;

// The main window: the form with a view in each frame, the three auxiliary
// views in their camera modes, the main view feeding the readouts, and the
// keyboard.
class myUIImpl : public myUI
{
    Q_OBJECT

public:
    explicit myUIImpl(QWidget *parent = nullptr, const char *name = nullptr);
    ~myUIImpl() override;

    // Not owned: each view belongs to its frame.
    myGL *mainView;
    myGL *topView;
    myGL *frontView;
    myGL *backView;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
