#pragma once

#include "vudureconfig.h"

#include <QByteArray>
#include <QtGlobal>

// The exit codes when the window could not be opened: no display (none
// there, or one that refused the connection), and a windowing platform that
// could not start for another reason.
constexpr int exitNoDisplay = VUDURE_EXIT_NO_DISPLAY;
constexpr int exitPlatformFailed = VUDURE_EXIT_PLATFORM_FAILED;

// A setting that chose the platform or the display: Qt's command-line option,
// which wins, or the environment variable. Both empty when neither was given.
struct StartSetting
{
    QByteArray name; // "-platform", "QT_QPA_PLATFORM", ...
    QByteArray value;

    bool isSet() const { return !name.isEmpty(); }
    // As the lines to the user name it: -display ":61", DISPLAY=":61".
    QByteArray described() const;
};

// What the command line and the environment ask of Qt's platform, read
// before Qt takes its own options out of the arguments.
struct PlatformRequest
{
    StartSetting platform; // -platform, else QT_QPA_PLATFORM
    StartSetting xDisplay; // -display, else DISPLAY
    StartSetting waylandDisplay; // WAYLAND_DISPLAY

    static PlatformRequest fromCommandLine(int argc, char **argv);
    // What to do about a platform asked for that can't show the window:
    // undo that setting.
    QByteArray platformAdvice() const;
};

// Guards the application object's construction, in which Qt opens its
// platform. On failure Qt would print its own lines (libxcb even writes the
// server's refusal straight to stderr), advise reinstalling, and abort.
// While a guard lives all of that is held back: if Qt gives up, the viewer
// prints one line of its own naming the cause, found by asking the display
// itself, and exits with exitNoDisplay or exitPlatformFailed. Otherwise what
// was held is passed on when the guard goes. One at a time.
class PlatformGuard
{
public:
    explicit PlatformGuard(const PlatformRequest &request);
    ~PlatformGuard();

    Q_DISABLE_COPY_MOVE(PlatformGuard)
};
