#include "platformguard.h"

#include <QByteArrayList>
#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <xcb/xcb.h>

QByteArray StartSetting::described() const
{
    return name + (name.startsWith('-') ? " \"" : "=\"") + value + '"';
}

PlatformRequest PlatformRequest::fromCommandLine(int argc, char **argv)
{
    PlatformRequest request;
    const auto fromEnvironment = [](const char *name) {
        return qEnvironmentVariableIsEmpty(name) ? StartSetting {} : StartSetting {name, qgetenv(name)};
    };
    request.platform = fromEnvironment("QT_QPA_PLATFORM");
    request.xDisplay = fromEnvironment("DISPLAY");
    request.waylandDisplay = fromEnvironment("WAYLAND_DISPLAY");
    // Qt's own options, with one dash or two, win over the environment.
    for (int i = 1; i + 1 < argc; ++i) {
        QByteArray option = argv[i];
        if (option.startsWith("--"))
            option.remove(0, 1);
        if (option == "-platform")
            request.platform = {option, argv[++i]};
        else if (option == "-display")
            request.xDisplay = {option, argv[++i]};
    }
    return request;
}

QByteArray PlatformRequest::platformAdvice() const
{
    if (platform.name.startsWith('-'))
        return "leave out the -platform option, or give it xcb or wayland";
    return "unset QT_QPA_PLATFORM, or set it to xcb or wayland";
}

namespace {
// Holds what is written to the standard error stream, at the file
// descriptor, so that libraries that write there directly are held too.
class HeldStderr
{
public:
    HeldStderr()
    {
        std::fflush(stderr);
        m_file = std::tmpfile();
        m_saved = m_file ? dup(STDERR_FILENO) : -1;
        if (m_saved >= 0)
            dup2(fileno(m_file), STDERR_FILENO);
    }
    ~HeldStderr() { release(); }
    Q_DISABLE_COPY_MOVE(HeldStderr)

    // Puts the stream back and returns what was written meanwhile.
    QByteArray release()
    {
        QByteArray written;
        if (m_saved < 0)
            return written;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
        std::rewind(m_file);
        char block[4096];
        for (size_t n; (n = std::fread(block, 1, sizeof block, m_file)) > 0;)
            written.append(block, qsizetype(n));
        std::fclose(m_file);
        return written;
    }

private:
    std::FILE *m_file = nullptr;
    int m_saved = -1;
};

struct HeldMessage
{
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

std::mutex heldLock;
QList<HeldMessage> held;
std::optional<HeldStderr> heldStderr;
QtMessageHandler passOn = nullptr;
const PlatformRequest *request = nullptr;

[[noreturn]] void endWith(int code, const QByteArray &line)
{
    std::fprintf(stderr, "vudure: %s\n", line.constData());
    // Nothing is open yet; the half-made application object is not to be
    // taken down.
    std::_Exit(code);
}

[[noreturn]] void endForNoDisplay(const QByteArray &why)
{
    endWith(exitNoDisplay,
        "needs a display to show its window, but could not open one (" + why
            + "). Start it in a desktop session, or set DISPLAY (X11) or WAYLAND_DISPLAY "
              "(Wayland) to a running server.");
}

// Connects to the X server `display` names, as Qt did. Returns whether it
// answered, and in `refusal` what it said when it turned the connection
// down (libxcb writes that to stderr itself).
bool xServerAnswers(const QByteArray &display, QByteArray *refusal)
{
    HeldStderr quiet;
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const bool answers = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    *refusal = quiet.release().trimmed();
    return answers;
}

// Whether a Wayland compositor listens where WAYLAND_DISPLAY points.
bool waylandCompositorAnswers(const QByteArray &display)
{
    const QByteArray path
        = display.startsWith('/') ? display : qgetenv("XDG_RUNTIME_DIR") + '/' + display;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool answers
        = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return answers;
}

// Qt gave up opening its platform, saying `verdict`. Rather than trust its
// wording, ask the display it tried, and name the real cause.
[[noreturn]] void endForFailedPlatform(const QString &verdict)
{
    const PlatformRequest &r = *request;
    // Qt takes a list of platforms; the first is the one that counts here.
    const QByteArray asked = r.platform.value.split(';').first().split(':').first();
    const bool wayland = asked.startsWith("wayland")
        || (asked.isEmpty() && !r.xDisplay.isSet() && r.waylandDisplay.isSet());
    const bool x = !wayland && (asked.isEmpty() || asked == "xcb");
    if (x && r.xDisplay.isSet()) {
        QByteArray refusal;
        if (!xServerAnswers(r.xDisplay.value, &refusal)) {
            if (!refusal.isEmpty())
                endWith(exitNoDisplay,
                    "the X server at " + r.xDisplay.described() + " refused the connection (\""
                        + refusal.simplified()
                        + "\"). It takes only clients with its X authority: run the viewer as the "
                          "user of that desktop session, or set XAUTHORITY to that session's "
                          "authority file (see xauth), or let it in with xhost.");
            endForNoDisplay(r.xDisplay.described() + ": no X server answers there");
        }
    } else if (wayland && r.waylandDisplay.isSet()) {
        if (!waylandCompositorAnswers(r.waylandDisplay.value))
            endForNoDisplay(r.waylandDisplay.described() + ": no Wayland compositor answers there");
    } else if (x || wayland) {
        QByteArrayList settings {r.xDisplay.isSet() ? r.xDisplay.described() : "DISPLAY not set",
            r.waylandDisplay.isSet() ? r.waylandDisplay.described() : "WAYLAND_DISPLAY not set"};
        if (r.platform.isSet())
            settings << r.platform.described();
        endForNoDisplay(settings.join(", "));
    }
    // The display is there, or the platform needs none: the platform itself
    // failed, and Qt's own words say best why.
    const QByteArray advice = x || wayland
        ? "Check that Qt's platform plugins are installed (Debian: libqt6gui6, qt6-wayland)."
        : "Run it on X11 or Wayland: " + r.platformAdvice() + '.';
    endWith(exitPlatformFailed,
        "the \"" + (asked.isEmpty() ? QByteArray(wayland ? "wayland" : "xcb") : asked)
            + "\" platform could not start (\"" + verdict.section('\n', 0, 0).toUtf8() + "\"). "
            + advice);
}

void passOnHeld()
{
    for (const HeldMessage &m : std::exchange(held, {})) {
        const QMessageLogContext context(
            m.file.constData(), m.line, m.function.constData(), m.category.constData());
        passOn(m.type, context, m.text);
    }
}

void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(heldLock);
    if (type == QtFatalMsg) {
        // Qt aborts after any fatal message; none is expected while the
        // platform opens, so whatever it says, the platform failed.
        heldStderr.reset();
        endForFailedPlatform(text);
    }
    held.append({type, context.file, context.function, context.category, context.line, text});
}
} // namespace

PlatformGuard::PlatformGuard(const PlatformRequest &r)
{
    request = &r;
    heldStderr.emplace();
    passOn = qInstallMessageHandler(hold);
}

PlatformGuard::~PlatformGuard()
{
    qInstallMessageHandler(passOn);
    const std::lock_guard lock(heldLock);
    const QByteArray written = heldStderr->release();
    heldStderr.reset();
    std::fwrite(written.constData(), 1, size_t(written.size()), stderr);
    passOnHeld();
    request = nullptr;
}
