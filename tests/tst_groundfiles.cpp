// The ground picture files of tests/corpus/, each cut at every length and with
// a few of its header fields made wrong, through the viewer's decoding: it
// shows a picture only when the file holds it whole, and shows every file as
// its writer made it.

#include "groundimage.h"
#include "pictureoracle.h"

#include <QDirIterator>
#include <QtEndian>
#include <QtTest>

namespace {

// A BMP header field made wrong. It stands at one place in an info header of
// 40 bytes or more and at another (or nowhere) in the 12-byte one, whose
// fields all take 2 bytes.
struct Corruption
{
    const char *name;
    int at, coreAt, size;
    qint64 (*value)(qint64 old, qint64 fileSize);
    bool stillWhole; // writers make such files: the uncut file is shown
};

// clang-format off
const Corruption corruptions[] = {
    {"pixels at 0", 10, 10, 4, [](qint64, qint64) { return qint64(0); }, false},
    {"pixels in the headers", 10, 10, 4, [](qint64 old, qint64) { return old / 2; }, false},
    {"pixels past the end", 10, 10, 4, [](qint64, qint64 size) { return size + 64; }, false},
    {"data size 0", 34, -1, 4, [](qint64, qint64) { return qint64(0); }, true},
    {"data size too large", 34, -1, 4, [](qint64 old, qint64) { return old * 4 + 1000; }, true},
    {"a pixel wider", 18, 18, 4, [](qint64 old, qint64) { return old + 1; }, false},
    {"a row taller", 22, 20, 4, [](qint64 old, qint64) { return old < 0 ? old - 1 : old + 1; }, false},
    {"rows the other way", 22, 20, 4, [](qint64 old, qint64) { return -old; }, true},
    {"other bits a pixel", 28, 24, 2, [](qint64 old, qint64) {
        return old == 1 ? 4 : old == 32 ? 24 : old >= 8 ? old + 8 : qint64(8); }, false},
    {"other compression", 30, -1, 4, [](qint64 old, qint64) { return qint64(old == 0); }, false},
    {"one colour", 46, -1, 4, [](qint64, qint64) { return qint64(1); }, false},
};
// clang-format on

// Little endian, with its sign.
qint64 field(const QByteArray &bytes, int at, int size)
{
    const char *p = bytes.constData() + at;
    return size == 2 ? qint64(qFromLittleEndian<qint16>(p)) : qint64(qFromLittleEndian<qint32>(p));
}

void setField(QByteArray &bytes, int at, int size, qint64 value)
{
    for (int k = 0; k < size; ++k)
        bytes[at + k] = char(value >> (8 * k));
}

QByteArray corrupted(const QByteArray &bytes, const Corruption &c)
{
    const bool core = field(bytes, 14, 4) == 12;
    const int at = core ? c.coreAt : c.at;
    const int size = core && at >= 14 ? 2 : c.size;
    if (at < 0)
        return {};
    QByteArray wrong = bytes;
    setField(wrong, at, size, c.value(field(bytes, at, size), bytes.size()));
    return wrong;
}

} // namespace

class TestGroundFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsOnlyWholePictures_data();
    void showsOnlyWholePictures();
    void saysWhatQtSaysOfTheFile();
};

void TestGroundFiles::showsOnlyWholePictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("shownWhenUncut");

    // The files the corpus script made, and (in found/) what the fuzzer found:
    // those only have to be refused wherever the oracle calls them incomplete.
    QDirIterator files(VUDURE_CORPUS_DIR, QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QByteArray name = QDir(VUDURE_CORPUS_DIR).relativeFilePath(path).toUtf8();
        const bool made = !name.startsWith("found/");
        QTest::newRow(name) << bytes << made;
        ++count;
        if (!made || !bytes.startsWith("BM"))
            continue;
        for (const Corruption &c : corruptions) {
            const QByteArray wrong = corrupted(bytes, c);
            if (!wrong.isEmpty())
                QTest::addRow("%s, %s", name.constData(), c.name) << wrong << c.stillWhole;
        }
    }
    QVERIFY(count >= 20);
}

void TestGroundFiles::showsOnlyWholePictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, shownWhenUncut);

    // The decoders' complaints about broken files are expected by the thousand.
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
    for (qsizetype length = 1; length <= bytes.size(); ++length) {
        const QByteArray cut = bytes.left(length);
        if (!decodedFromMemory(cut).isNull())
            QVERIFY2(isComplete(cut),
                qPrintable(QString::asprintf("the first %lld of %lld bytes are shown, but the "
                                             "oracle calls them incomplete",
                    qint64(length), qint64(bytes.size()))));
    }
    if (shownWhenUncut)
        QVERIFY2(!decodedFromMemory(bytes).isNull(), "the whole file is refused");
}

void TestGroundFiles::saysWhatQtSaysOfTheFile()
{
    // A cut JPEG: Qt's complaint about it, none about the bytes the check adds.
    QFile file(VUDURE_CORPUS_DIR "/picture.jpg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTest::ignoreMessage(QtWarningMsg, "Corrupt JPEG data: premature end of data segment");
    QTest::failOnWarning(QRegularExpression("."));
    QVERIFY(decodedFromMemory(file.readAll().left(400)).isNull());
}

QTEST_GUILESS_MAIN(TestGroundFiles)
#include "tst_groundfiles.moc"
