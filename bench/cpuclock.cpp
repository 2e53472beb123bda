#include "cpuclock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <time.h>
#include <unistd.h>

namespace {

double seconds(clockid_t clock)
{
    timespec ts {};
    clock_gettime(clock, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// utime + stime of a process from /proc/<pid>/stat, or -1.
double processSeconds(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name may hold spaces and parentheses: count fields after the last ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    // Fields 14 and 15 of the whole line are the 12th and 13th after the name.
    return (fields[11].toDouble() + fields[12].toDouble()) / sysconf(_SC_CLK_TCK);
}

// The display number of $DISPLAY (":1", "localhost:1.0" -> "1"), if local.
QString displayNumber()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("^(unix)?:(\\d+)")).match(display);
    return m.hasMatch() ? m.captured(2) : QString();
}

// An X server is a process whose name is Xvfb, Xorg or X (or ends so) and
// that was started with ":<display>" as an argument.
pid_t findServer(const QString &number)
{
    const QByteArray wanted = ':' + number.toLatin1();
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : pids) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = file.readAll().split('\0');
        const QString name = QFileInfo(QString::fromLocal8Bit(args.value(0))).fileName();
        if (name != QLatin1String("Xvfb") && name != QLatin1String("Xorg")
            && name != QLatin1String("X") && name != QLatin1String("Xwayland"))
            continue;
        if (args.contains(wanted))
            return pid;
    }
    return 0;
}

double statusMiB(const char *key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    // Files in /proc claim a size of 0: read until the end instead of asking.
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key)) // "VmHWM:    123456 kB"
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

} // namespace

CpuClock::CpuClock()
{
    const QString number = displayNumber();
    if (number.isEmpty()) {
        m_serverNote = QStringLiteral("no local X display");
        return;
    }
    m_server = findServer(number);
    if (m_server == 0)
        m_serverNote = QStringLiteral("X server of display :%1 not found").arg(number);
    else if (processSeconds(m_server) < 0)
        m_serverNote = QStringLiteral("X server (pid %1) not readable").arg(m_server);
}

CpuSample CpuClock::sample() const
{
    CpuSample s;
    s.mainThread = seconds(CLOCK_THREAD_CPUTIME_ID);
    s.process = seconds(CLOCK_PROCESS_CPUTIME_ID);
    if (m_serverNote.isEmpty())
        s.server = processSeconds(m_server);
    return s;
}

double residentMiB() { return statusMiB("VmRSS:"); }

double peakResidentMiB() { return statusMiB("VmHWM:"); }
