#include "common/fileerrortext.h"
#include "common/namelength.h"
#include "common/pathpieces.h"
#include "common/timetext.h"
#include "support/testfiles.h"

#include <QTest>

using namespace kelvoro;

class TestCommon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::setTimeZone("Asia/Tokyo"); }

    void timeTextRoundTripsAcrossAYear_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo");
        QTest::newRow("Berlin") << QByteArray("Europe/Berlin");
        QTest::newRow("New York") << QByteArray("America/New_York");
    }
    void timeTextRoundTripsAcrossAYear() {
        QFETCH(QByteArray, zone);
        test::setTimeZone(zone.constData());
        // Every 15 minutes of 2024: the text of a time reads back as the same time, except in
        // the hour that a fall-back repeats, where it may read back as the other instance.
        const CalendarTime start = 1704067200; // 2024-01-01 UTC
        for (CalendarTime t = start; t < start + 366 * 86400; t += 900) {
            const std::string text = formatTimeText(t);
            QCOMPARE(text.size(), std::size_t(19));
            const auto back = parseTimeText(text);
            QVERIFY2(back.has_value(), text.c_str());
            if (*back != t)
                QVERIFY2(std::abs(*back - t) == 3600 && formatTimeText(*back) == text,
                         text.c_str());
        }
    }

    void epochIsARealTime() {
        QCOMPARE(formatTimeText(0), std::string("1970/01/01 09:00:00"));
        QCOMPARE(parseTimeText("1970/01/01 09:00:00"), std::optional<CalendarTime>(0));
        test::setTimeZone("UTC");
        // mktime's error value is also a valid second.
        QCOMPARE(parseTimeText("1969/12/31 23:59:59"), std::optional<CalendarTime>(-1));
    }

    void springGapIsNormalised() {
        test::setTimeZone("Europe/Berlin");
        // 02:30 does not exist on 2024-03-31 in Berlin; the runtime moves it by the gap.
        const auto t = parseTimeText("2024/03/31 02:30:00");
        QVERIFY(t.has_value());
        const std::string text = formatTimeText(*t);
        QVERIFY2(text == "2024/03/31 03:30:00" || text == "2024/03/31 01:30:00", text.c_str());
    }

    void malformedTextGivesNothing() {
        QCOMPARE(parseTimeText(""), std::nullopt);
        QCOMPARE(parseTimeText("2024/03/31"), std::nullopt);
        QCOMPARE(parseTimeText("2024/13/01 00:00:00"), std::nullopt);
        QCOMPARE(parseTimeText("2024/00/01 00:00:00"), std::nullopt);
        QCOMPARE(parseTimeText("abcd/ef/gh ij:kl:mn"), std::nullopt);
        // Fixed positions: separators are not looked at.
        QCOMPARE(parseTimeText("2010-08-07T12:34:56"), parseTimeText("2010/08/07 12:34:56"));
    }

    void pathPiecesOnBytes_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("directory");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("extension");
        QTest::newRow("plain") << QByteArray("/a/b.c/d.tar.gz") << QByteArray("/a/b.c")
                               << QByteArray("d.tar.gz") << QByteArray("d.tar") << QByteArray("gz");
        QTest::newRow("no dot") << QByteArray("/a/README") << QByteArray("/a")
                                << QByteArray("README") << QByteArray("README") << QByteArray();
        QTest::newRow("dot file") << QByteArray("/a/.profile") << QByteArray("/a")
                                  << QByteArray(".profile") << QByteArray()
                                  << QByteArray("profile");
        QTest::newRow("no directory") << QByteArray("x.txt") << QByteArray() << QByteArray("x.txt")
                                      << QByteArray("x") << QByteArray("txt");
        QTest::newRow("root") << QByteArray("/x") << QByteArray() << QByteArray("x")
                              << QByteArray("x") << QByteArray();
        QTest::newRow("kanji") << QByteArray("/d/表.txt") << QByteArray("/d")
                               << QByteArray("表.txt") << QByteArray("表") << QByteArray("txt");
        QTest::newRow("katakana") << QByteArray("/ソ/ソ.txt") << QByteArray("/ソ")
                                  << QByteArray("ソ.txt") << QByteArray("ソ") << QByteArray("txt");
        // Shift_JIS for 表 and ソ: trail bytes 0x5C, not valid UTF-8.
        QTest::newRow("shift_jis") << QByteArray("/d/\x95\x5c\x83\x5c.txt") << QByteArray("/d")
                                   << QByteArray("\x95\x5c\x83\x5c.txt")
                                   << QByteArray("\x95\x5c\x83\x5c") << QByteArray("txt");
    }
    void pathPiecesOnBytes() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, directory);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, extension);
        const std::string p = test::toStd(path);
        auto bytes = [](std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); };
        QCOMPARE(bytes(directoryOf(p)), directory);
        QCOMPARE(bytes(nameOf(p)), name);
        QCOMPARE(bytes(titleOf(nameOf(p))), title);
        QCOMPARE(bytes(extensionOf(nameOf(p))), extension);
        if (!directory.isEmpty())
            QCOMPARE(bytes(joinPath(directoryOf(p), nameOf(p))), path);
    }

    void renameLengthCountsWideCharactersTwice() {
        QCOMPARE(renameTextLength(QStringLiteral("abc.txt")), 7);
        QCOMPARE(renameTextLength(QStringLiteral("ｿﾌﾄ")), 3);    // half-width katakana
        QCOMPARE(renameTextLength(QStringLiteral("ソフト")), 6); // full-width
        QCOMPARE(renameTextLength(QStringLiteral("表a")), 3);
        QCOMPARE(renameTextLength(QString::fromUtf8("\xF0\x9F\x98\x80")), 2); // one emoji
        QCOMPARE(truncateToRenameLength(QStringLiteral("ab表cd"), 3), QStringLiteral("ab"));
        QCOMPARE(truncateToRenameLength(QStringLiteral("ab表cd"), 4), QStringLiteral("ab表"));
        QCOMPARE(truncateToRenameLength(QStringLiteral("0123456789x"), 10),
                 QStringLiteral("0123456789"));
    }

    void fileErrorTextsNameThePath() {
        using C = platform::FileErrorCause;
        QCOMPARE(fileErrorText(C::FileNotFound, QStringLiteral("/a/b")),
                 QStringLiteral("/a/b が見つかりませんでした。"));
        QCOMPARE(fileErrorText(C::AccessDenied, QStringLiteral("/x")),
                 QStringLiteral("/x へのアクセスは拒否されました。"));
        QCOMPARE(fileErrorText(C::Generic, QString()),
                 QStringLiteral("無題のファイル へのアクセス中に不明なエラーが発生しました。"));
        QCOMPARE(displayPath("/d/\xff.txt"), QStringLiteral("/d/\uFFFD.txt"));
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
