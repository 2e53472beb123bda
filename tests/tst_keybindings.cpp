// The keyboard table, without a display: which slots a key calls on which views.

#include "keybindings.h"

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
} // namespace

class TestKeyBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data();
    void keys();
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

QTEST_APPLESS_MAIN(TestKeyBindings)
#include "tst_keybindings.moc"
