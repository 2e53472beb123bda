// The shell without a display: which slots a key calls on which views, that
// the manual page and the README name the same keys and exit codes, and what
// the window watch makes of the events an X server sends it, and of a server
// that has gone.

#include "keybindings.h"
#include "openglcheck.h"
#include "platformguard.h"
#include "windowwatch.h"

#include <QtTest>
#include <csignal>

namespace {
// Stands in for a view and writes down every call it receives.
#define CALL(slot)                                                                                 \
    void slot() { *log << name + ":" #slot; }
#define CALL_WITH(slot)                                                                            \
    void slot(int a) { *log << name + ":" #slot + QString("(%1)").arg(a); }
struct RecordingView
{
    QString name;
    QStringList *log;
    // clang-format off
    CALL_WITH(changeCam) CALL(panLt) CALL(panDn) CALL(panRt) CALL(panUp) CALL(moveLeft)
    CALL(moveRight) CALL(moveForward) CALL(moveBack) CALL(moveUp) CALL(moveDown)
    CALL_WITH(velocity) CALL(setMoveCam) CALL(turnLight) CALL(startEng) CALL_WITH(setZoom)
    // clang-format on
};

// What a document puts first in each entry of a section: the manual page's
// tags (the line after each .TP: ".BR W " / " S" is two), the README's first
// column; split at "/" and ",".
QStringList documentedTags(const char *path, const QString &section)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    const QRegularExpression cell("^\\| ([^|]+) \\|");
    QStringList tags;
    QString current;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(".SH ") || lines[i].startsWith("## "))
            current = lines[i].section(' ', 1).remove('"');
        const QRegularExpressionMatch row = cell.match(lines[i]);
        QString tag = lines[i] == ".TP" ? lines[i + 1].section(' ', 1).remove('"') : QString();
        if (row.hasMatch() && !lines[i + 1].startsWith("|---"))
            tag = row.captured(1);
        if (current == section && !tag.isEmpty())
            tags << tag.simplified().split(QRegularExpression(" ?[/,] ?"));
    }
    return tags;
}
} // namespace

class TestKeyBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data();
    void keys();
    void documentsNameTheBoundKeysAndExitCodes_data();
    void documentsNameTheBoundKeysAndExitCodes();
    void watchEndsForAWindowDestroyedByAnother_data();
    void watchEndsForAWindowDestroyedByAnother();
    void roundTripFindsTheServerGone();
};

void TestKeyBindings::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("calls");
    // Camera keys act on the main view; "*" marks calls made on all four
    // views, main, top, front, back, each view's calls before the next's.
    const std::pair<Qt::Key, const char *> bindings[] = {{Qt::Key_0, "changeCam(0)"},
        {Qt::Key_1, "changeCam(1)"}, {Qt::Key_2, "changeCam(2)"}, {Qt::Key_3, "changeCam(3)"},
        {Qt::Key_4, "panLt"}, {Qt::Key_5, "panDn"}, {Qt::Key_6, "panRt"}, {Qt::Key_8, "panUp"},
        {Qt::Key_A, "*moveLeft"}, {Qt::Key_B, "*velocity(0)"}, {Qt::Key_C, "*setMoveCam"},
        {Qt::Key_D, "*moveRight"}, {Qt::Key_E, "*moveRight moveForward"}, {Qt::Key_L, "*turnLight"},
        {Qt::Key_Q, "*moveLeft moveForward"}, {Qt::Key_S, "*moveBack"}, {Qt::Key_V, "*velocity(1)"},
        {Qt::Key_W, "*moveForward"}, {Qt::Key_Z, "*startEng"}, {Qt::Key_Up, "*moveUp"},
        {Qt::Key_Down, "*moveDown"}, {Qt::Key_PageUp, "*setZoom(1)"},
        {Qt::Key_PageDown, "*setZoom(2)"}};
    for (const auto &[key, text] : bindings) {
        const QString calls = QString(text).remove('*');
        QStringList expected;
        for (const char *view : {"main", "top", "front", "back"}) {
            for (const QString &call : calls.split(' '))
                expected << QString(view) + ":" + call;
            if (text[0] != '*')
                break;
        }
        QTest::addRow("0x%x", key) << int(key) << expected;
    }
    for (int unbound : {int(Qt::Key_Left), int(Qt::Key_Right), int(Qt::Key_7), int(Qt::Key_9),
             int(Qt::Key_F), int(Qt::Key_Space), int(Qt::Key_Escape), int(Qt::Key_Home), 0, -1})
        QTest::addRow("unbound 0x%x", unbound) << unbound << QStringList {};
}

void TestKeyBindings::keys()
{
    QFETCH(int, key);
    QFETCH(QStringList, calls);
    QStringList log;
    RecordingView main {"main", &log}, top {"top", &log}, front {"front", &log},
        back {"back", &log};
    RecordingView *const views[4] = {&main, &top, &front, &back};
    const bool bound = applyKey(key, main, views);
    QCOMPARE(log, calls);
    QCOMPARE(bound, !calls.isEmpty());
}

void TestKeyBindings::documentsNameTheBoundKeysAndExitCodes_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("manual page") << documentedTags(VUDURE_MAN_PAGE, "KEYS")
                                 << documentedTags(VUDURE_MAN_PAGE, "EXIT STATUS");
    QTest::newRow("README") << documentedTags(VUDURE_README, "Keys")
                            << documentedTags(VUDURE_README, "Exit codes");
}

void TestKeyBindings::documentsNameTheBoundKeysAndExitCodes()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, codes);
    QStringList log;
    RecordingView view {"main", &log};
    RecordingView *const views[4] = {&view, &view, &view, &view};
    QSet<int> unnamed {Qt::Key_Escape}; // the window's own
    for (int key = 0; key <= Qt::Key_unknown; ++key) {
        if (applyKey(key, view, views))
            unnamed << key;
    }
    const QHash<QString, int> names {{"Up", Qt::Key_Up}, {"Down", Qt::Key_Down},
        {"Page Up", Qt::Key_PageUp}, {"Page Down", Qt::Key_PageDown}, {"Escape", Qt::Key_Escape}};
    for (const QString &name : keys) {
        const int key = name.size() == 1 ? name[0].toUpper().unicode() : names.value(name, -1);
        QVERIFY2(unnamed.remove(key), qPrintable("named but not bound, or named twice: " + name));
    }
    QStringList left;
    for (int key : unnamed)
        left << QString::number(key, 16);
    QVERIFY2(left.isEmpty(), qPrintable("bound but not named: 0x" + left.join(", 0x")));
    // 0: Escape or the window closed; 1: Qt's own when the connection to the display breaks.
    QCOMPARE(codes,
        QStringList({"0", "1", QString::number(exitNoOpenGL), QString::number(exitWindowDestroyed),
            QString::number(exitNoDisplay), QString::number(exitPlatformFailed)}));
}

void TestKeyBindings::watchEndsForAWindowDestroyedByAnother_data()
{
    // The watch's connection brings: U the window unmapped, O another window
    // destroyed, D the window destroyed; from | on the server answers nothing.
    QTest::addColumn<QString>("script");
    QTest::addColumn<WatchVerdict>("verdict");
    QTest::newRow("destroyed, then the server ends") << "U O D |" << WatchVerdict::WindowDestroyed;
    QTest::newRow("destroyed by the ending server") << "U | O D" << WatchVerdict::ServerEnding;
    QTest::newRow("the server ends first") << "| D" << WatchVerdict::ServerEnding;
    QTest::newRow("only another window destroyed") << "U O" << WatchVerdict::ConnectionEnded;
}

void TestKeyBindings::watchEndsForAWindowDestroyedByAnother()
{
    QFETCH(QString, script);
    QFETCH(WatchVerdict, verdict);
    constexpr xcb_window_t window = 7;
    QStringList steps = script.split(' ');
    bool answering = true;
    const auto next = [&]() -> xcb_generic_event_t * {
        for (QString step; !steps.isEmpty();) {
            if ((step = steps.takeFirst()) == "|") {
                answering = false;
                continue;
            }
            auto *event = static_cast<xcb_destroy_notify_event_t *>(calloc(1, 32));
            event->response_type = step == "U" ? XCB_UNMAP_NOTIFY : XCB_DESTROY_NOTIFY;
            event->window = step == "O" ? window + 1 : window;
            return reinterpret_cast<xcb_generic_event_t *>(event);
        }
        return nullptr;
    };
    QCOMPARE(watchEvents(window, next, [&] { return answering; }), verdict);
}

// The watch's round trip on a real connection, to an X server of the test's
// own: it answers, then it is killed, and the round trip must find it gone
// before any read has shown the connection broken.
void TestKeyBindings::roundTripFindsTheServerGone()
{
    std::signal(SIGPIPE, SIG_IGN); // as the viewer does
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
    QVERIFY2(server.waitForReadyRead(10000), "Xvfb did not start");
    const QByteArray display = ':' + server.readAllStandardOutput().trimmed();
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const auto closing = qScopeGuard([&] { xcb_disconnect(connection); });
    QVERIFY(!xcb_connection_has_error(connection));
    QVERIFY(serverStillAnswers(connection));
    server.kill();
    QVERIFY(server.waitForFinished());
    QVERIFY(!serverStillAnswers(connection));
}

QTEST_APPLESS_MAIN(TestKeyBindings)
#include "tst_keybindings.moc"
