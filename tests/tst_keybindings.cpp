// The keyboard table, without a display: which slots a key calls on which
// views, and that the manual page names the same keys and exit codes.

#include "keybindings.h"
#include "openglcheck.h"
#include "windowwatch.h"

#include <QtTest>

namespace {
// Stands in for a view and writes down every call it receives.
struct RecordingView
{
    QString name;
    QStringList *log;

    void record(const QString &call) { *log << name + ":" + call; }
    void changeCam(int mode) { record(QString("changeCam(%1)").arg(mode)); }
    void panLt() { record("panLt"); }
    void panDn() { record("panDn"); }
    void panRt() { record("panRt"); }
    void panUp() { record("panUp"); }
    void moveLeft() { record("moveLeft"); }
    void moveRight() { record("moveRight"); }
    void moveForward() { record("moveForward"); }
    void moveBack() { record("moveBack"); }
    void moveUp() { record("moveUp"); }
    void moveDown() { record("moveDown"); }
    void velocity(int faster) { record(QString("velocity(%1)").arg(faster)); }
    void setMoveCam() { record("setMoveCam"); }
    void turnLight() { record("turnLight"); }
    void startEng() { record("startEng"); }
    void setZoom(int mode) { record(QString("setZoom(%1)").arg(mode)); }
};

QStringList onAll(const QStringList &calls)
{
    QStringList expected;
    for (const char *view : {"main", "top", "front", "back"}) {
        for (const QString &call : calls)
            expected << QString::fromLatin1(view) + ":" + call;
    }
    return expected;
}

// The tags of a section's tagged paragraphs in the manual page: the bold
// words of the line after each .TP (".B Page Up" is one, ".BR W " / " S" two).
QStringList manPageTags(const QString &section)
{
    QFile page(VUDURE_MAN_PAGE);
    if (!page.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(page.readAll()).split('\n');
    const QRegularExpression argument("\"([^\"]*)\"|(\\S+)");
    QStringList tags;
    QString current;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(".SH "))
            current = lines[i].mid(4).remove('"');
        if (current != section || lines[i] != ".TP")
            continue;
        QStringList words;
        for (const auto &match : argument.globalMatch(lines[i + 1].section(' ', 1)))
            words << match.captured(1) + match.captured(2);
        if (lines[i + 1].startsWith(".BR "))
            for (qsizetype w = 0; w < words.size(); w += 2)
                tags << words[w];
        else
            tags << words.join(' ');
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
    void manPageNamesTheBoundKeys();
    void manPageNamesTheExitCodes();
};

void TestKeyBindings::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("0") << int(Qt::Key_0) << QStringList {"main:changeCam(0)"};
    QTest::newRow("1") << int(Qt::Key_1) << QStringList {"main:changeCam(1)"};
    QTest::newRow("2") << int(Qt::Key_2) << QStringList {"main:changeCam(2)"};
    QTest::newRow("3") << int(Qt::Key_3) << QStringList {"main:changeCam(3)"};
    QTest::newRow("4") << int(Qt::Key_4) << QStringList {"main:panLt"};
    QTest::newRow("5") << int(Qt::Key_5) << QStringList {"main:panDn"};
    QTest::newRow("6") << int(Qt::Key_6) << QStringList {"main:panRt"};
    QTest::newRow("8") << int(Qt::Key_8) << QStringList {"main:panUp"};
    QTest::newRow("A") << int(Qt::Key_A) << onAll({"moveLeft"});
    QTest::newRow("B") << int(Qt::Key_B) << onAll({"velocity(0)"});
    QTest::newRow("C") << int(Qt::Key_C) << onAll({"setMoveCam"});
    QTest::newRow("D") << int(Qt::Key_D) << onAll({"moveRight"});
    QTest::newRow("E") << int(Qt::Key_E) << onAll({"moveRight", "moveForward"});
    QTest::newRow("L") << int(Qt::Key_L) << onAll({"turnLight"});
    QTest::newRow("Q") << int(Qt::Key_Q) << onAll({"moveLeft", "moveForward"});
    QTest::newRow("S") << int(Qt::Key_S) << onAll({"moveBack"});
    QTest::newRow("V") << int(Qt::Key_V) << onAll({"velocity(1)"});
    QTest::newRow("W") << int(Qt::Key_W) << onAll({"moveForward"});
    QTest::newRow("Z") << int(Qt::Key_Z) << onAll({"startEng"});
    QTest::newRow("Up") << int(Qt::Key_Up) << onAll({"moveUp"});
    QTest::newRow("Down") << int(Qt::Key_Down) << onAll({"moveDown"});
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << onAll({"setZoom(1)"});
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << onAll({"setZoom(2)"});

    for (int unbound : {int(Qt::Key_Left), int(Qt::Key_Right), int(Qt::Key_7), int(Qt::Key_9),
             int(Qt::Key_F), int(Qt::Key_Space), int(Qt::Key_Escape), int(Qt::Key_Home), 0, -1}) {
        QTest::addRow("unbound 0x%x", unbound) << unbound << QStringList {};
    }
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

void TestKeyBindings::manPageNamesTheBoundKeys()
{
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
    for (const QString &name : manPageTags("KEYS")) {
        const int key = name.size() == 1 ? name[0].toUpper().unicode() : names.value(name, -1);
        QVERIFY2(unnamed.remove(key), qPrintable("named but not bound, or named twice: " + name));
    }
    QStringList left;
    for (int key : unnamed)
        left << QString::number(key, 16);
    QVERIFY2(left.isEmpty(), qPrintable("bound but not named: 0x" + left.join(", 0x")));
}

void TestKeyBindings::manPageNamesTheExitCodes()
{
    // 0: Escape or the window closed; 1: Qt's own when the X connection breaks.
    const QStringList codes {
        "0", "1", QString::number(exitNoOpenGL), QString::number(exitWindowDestroyed)};
    QCOMPARE(manPageTags("EXIT STATUS"), codes);
}

QTEST_APPLESS_MAIN(TestKeyBindings)
#include "tst_keybindings.moc"
