#include "filelist/commandline.h"

#include <QTest>

using namespace kelvoro;

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
