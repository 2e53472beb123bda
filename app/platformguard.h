#pragma once

#include "vudureconfig.h"

#include <QtGlobal>

// The exit code when no display could be opened for the window.
constexpr int exitNoDisplay = VUDURE_EXIT_NO_DISPLAY;

// Guards the application object's construction, in which Qt opens its
// platform. Without a display Qt would print its own lines, advise
// reinstalling, and abort. While a guard lives Qt's messages are held back:
// if no platform can be opened the viewer prints one line of its own, saying
// what it needs and which settings it looked at, and exits with
// exitNoDisplay. Otherwise the held messages are passed on when the guard
// goes. One at a time.
class PlatformGuard
{
public:
    PlatformGuard();
    ~PlatformGuard();

    Q_DISABLE_COPY_MOVE(PlatformGuard)
};
