// The viewer as a process in situations a desktop program meets: no usable
// OpenGL. Each case must end the process promptly with a known exit code,
// never crash it or leave it running unseen.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int noOpenGLCode = 2;

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

QProcessEnvironment viewerEnvironment(const QString &runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.remove("QT_SCALE_FACTOR");
    return env;
}

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutOpenGLSaysSoAndExits_data();
    void withoutOpenGLSaysSoAndExits();

private:
    QTemporaryDir m_runtimeDir;
};

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

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
