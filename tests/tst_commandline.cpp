#include "filelist/commandline.h"

#include <QTest>

using namespace kelvoro;

Q_DECLARE_METATYPE(QList<QByteArray>)

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsRawCommandLines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("paths");
        QTest::addColumn<bool>("mustOpen");
        using L = QList<QByteArray>;
        QTest::newRow("two quoted, blank between dropped")
            << QByteArray("\"C:\\a b.txt\" \"C:\\c.txt\"") << L{"C:\\a b.txt", "C:\\c.txt"}
            << false;
        QTest::newRow("blank mode")
            << QByteArray("C:\\x.txt C:\\y.txt") << L{"C:\\x.txt", "C:\\y.txt"} << true;
        QTest::newRow("unquoted blank splits a path")
            << QByteArray("C:\\x.txt C:\\my file.txt") << L{"C:\\x.txt", "C:\\my", "file.txt"}
            << true;
        QTest::newRow("trailing blank") << QByteArray("C:\\x.txt ") << L{"C:\\x.txt", ""} << true;
        QTest::newRow("double blank") << QByteArray("a  b") << L{"a", "", "b"} << true;
        QTest::newRow("tab is no separator") << QByteArray("a\tb") << L{"a\tb"} << true;
        QTest::newRow("text after the last quote is never taken")
            << QByteArray("\"C:\\a.txt\" C:\\b.txt") << L{"C:\\a.txt"} << false;
        QTest::newRow("single quote") << QByteArray("\"C:\\a.txt") << L{} << false;
        QTest::newRow("empty quotes hand on an empty entry")
            << QByteArray("\"\"") << L{""} << false;
        QTest::newRow("gap without blank is an entry")
            << QByteArray("\"a\"x\"b\"") << L{"a", "x", "b"} << false;
        QTest::newRow("empty") << QByteArray() << L{} << true;
        QTest::newRow("shift_jis bytes")
            << QByteArray("\"\x95\x5c.txt\"") << L{"\x95\x5c.txt"} << false;
        QTest::newRow("quoted entry with a NUL byte")
            << QByteArray("\"a\0b\" \"c\"", 10) << L{"c"} << false;
        QTest::newRow("blank entry with a NUL byte") << QByteArray("a\0 b", 4) << L{"b"} << true;
    }
    void splitsRawCommandLines() {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, paths);
        QFETCH(bool, mustOpen);
        const QList<CommandLineEntry> entries = splitRawCommandLine(text);
        QList<QByteArray> got;
        for (const CommandLineEntry& e : entries) {
            got.append(e.path);
            QCOMPARE(e.mustOpen, mustOpen);
        }
        QCOMPARE(got, paths);
    }

    void argumentsAreOneEntryEach() {
        const auto entries = entriesFromArguments({"/a b.txt", "\xff.bin"});
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].path, QByteArray("/a b.txt"));
        QCOMPARE(entries[1].path, QByteArray("\xff.bin"));
        QVERIFY(entries[0].mustOpen && entries[1].mustOpen);
        // One that a caller built with a NUL byte inside is refused, not cut short.
        const auto refused = entriesFromArguments({QByteArray("/tmp/a\0/b", 8), "/c"});
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0].path, QByteArray("/c"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
