// The viewer as a process in situations a desktop program meets: no usable
// OpenGL, its window destroyed by another X client, the X server gone. Each
// case must end the process promptly with a known exit code, never crash it
// or leave it running unseen.

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

constexpr int noOpenGLCode = 2;
constexpr int windowDestroyedCode = 3;
constexpr int xConnectionLostCode = 1; // Qt's own, when the X server goes
// Generous: a frozen or spinning process misses it by far.
constexpr int promptMs = 5000;

// A process that is killed, if still running, when the test ends.
struct Child : QProcess
{
    ~Child() override
    {
        if (state() != NotRunning) {
            kill();
            waitForFinished();
        }
    }
};

// An X server of the test's own, so that the test may destroy its windows or
// the server itself.
struct PrivateX
{
    Child server;
    QString display;

    bool start()
    {
        // With -displayfd the server picks a free display and writes its number.
        server.start(
            "Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        if (!server.waitForStarted() || !server.waitForReadyRead(20000))
            return false;
        display = ":" + QString::fromLatin1(server.readLine()).trimmed();
        return display.size() > 1;
    }
};

QProcessEnvironment viewerEnvironment(const QString &runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.remove("QT_SCALE_FACTOR");
    return env;
}

// Runs xdotool on `display`; false if it failed.
bool xdotool(const QString &display, const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    tool.setProcessEnvironment(env);
    tool.start("xdotool", arguments);
    return tool.waitForFinished(20000) && tool.exitStatus() == QProcess::NormalExit
        && tool.exitCode() == 0;
}

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutOpenGLSaysSoAndExits_data();
    void withoutOpenGLSaysSoAndExits();
    void endsWhenItsWindowIsGone_data();
    void endsWhenItsWindowIsGone();

private:
    // Starts the viewer on `display` and waits for its window.
    bool startOn(Child &viewer, const QString &display);
    QTemporaryDir m_runtimeDir;
};

bool TestProcess::startOn(Child &viewer, const QString &display)
{
    QProcessEnvironment env = viewerEnvironment(m_runtimeDir.path());
    env.insert("DISPLAY", display);
    viewer.setProcessEnvironment(env);
    viewer.start(QStringLiteral(VUDURE_BINARY), {});
    return viewer.waitForStarted()
        && xdotool(display, {"search", "--sync", "--onlyvisible", "--name", "^Vudure DI64$"});
}

void TestProcess::withoutOpenGLSaysSoAndExits_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("platform");
    QTest::newRow("X server without GLX") << QStringList {"QT_XCB_GL_INTEGRATION=none"} << "xcb";
    QTest::newRow("offscreen platform") << QStringList {"QT_QPA_PLATFORM=offscreen"} << "offscreen";
    QTest::newRow("offscreen, no X server")
        << QStringList {"QT_QPA_PLATFORM=offscreen", "DISPLAY="} << "offscreen";
}

void TestProcess::withoutOpenGLSaysSoAndExits()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, platform);
    QProcessEnvironment env = viewerEnvironment(m_runtimeDir.path());
    for (const QString &setting : settings) {
        const QString name = setting.section('=', 0, 0), value = setting.section('=', 1);
        if (value.isEmpty())
            env.remove(name);
        else
            env.insert(name, value);
    }
    Child viewer;
    viewer.setProcessEnvironment(env);
    viewer.start(QStringLiteral(VUDURE_BINARY), {});
    QVERIFY(viewer.waitForFinished(20000));
    const QString errors = QString::fromLocal8Bit(viewer.readAllStandardError());
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit); // no crash
    QCOMPARE(viewer.exitCode(), noOpenGLCode);
    // One line: that OpenGL is needed, where it was tried, how to get it.
    QCOMPARE(errors.count('\n'), 1);
    QVERIFY2(errors.contains("needs OpenGL"), qPrintable(errors));
    QVERIFY2(errors.contains('"' + platform + '"'), qPrintable(errors));
    QVERIFY2(errors.contains("libgl1-mesa-dri"), qPrintable(errors));
}

void TestProcess::endsWhenItsWindowIsGone_data()
{
    QTest::addColumn<bool>("serverEnds");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    QTest::newRow("window destroyed by another client")
        << false << windowDestroyedCode << "window was destroyed";
    QTest::newRow("X server gone") << true << xConnectionLostCode << "X11 connection broke";
}

void TestProcess::endsWhenItsWindowIsGone()
{
    QFETCH(bool, serverEnds);
    QFETCH(int, code);
    QFETCH(QString, says);
    PrivateX x;
    QVERIFY(x.start());
    Child viewer;
    QVERIFY(startOn(viewer, x.display));
    QTest::qWait(300); // a few ticks

    if (serverEnds) {
        x.server.terminate();
        QVERIFY(x.server.waitForFinished(20000));
    } else {
        QVERIFY(xdotool(x.display, {"search", "--name", "^Vudure DI64$", "windowclose"}));
    }
    QVERIFY2(viewer.waitForFinished(promptMs), "still running without its window");
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), code);
    const QString errors = QString::fromLocal8Bit(viewer.readAllStandardError());
    QVERIFY2(errors.contains(says), qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
