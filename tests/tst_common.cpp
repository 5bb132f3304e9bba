#include "common/fileerrortext.h"
#include "common/namelength.h"
#include "common/pathpieces.h"
#include "common/timetext.h"
#include "common/urilist.h"
#include "support/testfiles.h"

#include <QTest>

#include <cstdio>
#include <tuple>

using namespace kelvoro;

Q_DECLARE_METATYPE(QList<QByteArray>)

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
    void uriListsNameOnlyLocalFiles_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QList<QByteArray>>("paths");
        using L = QList<QByteArray>;
        QTest::newRow("empty authority") << QByteArray("file:///tmp/a%20b\r\n") << L{"/tmp/a b"};
        QTest::newRow("localhost") << QByteArray("file://localhost/tmp/a") << L{"/tmp/a"};
        QTest::newRow("localhost, any case") << QByteArray("FILE://LocalHost/a") << L{"/a"};
        QTest::newRow("another host") << QByteArray("file://otherhost/tmp/a") << L{};
        QTest::newRow("another host among local files")
            << QByteArray("file:///a\r\nfile://h/b\r\nfile:///c\r\n") << L{"/a", "/c"};
        QTest::newRow("share of another host, UNC form") << QByteArray("file:////h/s/a") << L{};
        QTest::newRow("share of another host, encoded slash")
            << QByteArray("file:/%2Fh/s/a\nfile:///%2f/a") << L{};
        QTest::newRow("encoded slash inside") << QByteArray("file:///a%2Fb") << L{"/a/b"};
        QTest::newRow("minimal form alone") << QByteArray("file:/tmp/a") << L{"/tmp/a"};
        QTest::newRow("minimal form among others")
            << QByteArray("file:///a\r\nfile:/b\r\n# note\r\nhttp://x/c\r\n") << L{"/a", "/b"};
        QTest::newRow("relative path") << QByteArray("file:a/b") << L{};
        QTest::newRow("no path") << QByteArray("file://localhost") << L{};
        QTest::newRow("NUL byte") << QByteArray("file:///tmp/a%00b\nfile:///c") << L{"/c"};
        QTest::newRow("NUL byte at the end") << QByteArray("file:///tmp/a%00") << L{};
        QTest::newRow("raw NUL byte") << QByteArray("file:///tmp/a\0b", 15) << L{};
        QTest::newRow("stray percent") << QByteArray("file:///a%2\nfile:///b%zz") << L{};
        QTest::newRow("fragment") << QByteArray("file:///a#b") << L{};
        QTest::newRow("bytes that are not UTF-8")
            << QByteArray("file:///%95%5C%FF") << L{"/\x95\x5c\xff"};
    }
    void uriListsNameOnlyLocalFiles() {
        QFETCH(QByteArray, list);
        QFETCH(QList<QByteArray>, paths);
        QCOMPARE(localPathsFromUriList(list), paths);
    }
    // Far years: the text either reads back as the same instant or is refused, never read
    // as another time; the year shown is the year of the local date in either zone.
    void farYearsRoundTripOrAreRefused_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("readsBack");
        for (const char* zone : {"Asia/Tokyo", "Europe/Berlin"}) {
            for (const auto& [year, readsBack] : {std::pair{-100, false},
                                                  {0, false},
                                                  {1, true},
                                                  {999, true},
                                                  {1000, true},
                                                  {9999, true},
                                                  {10000, false},
                                                  {100012, false},
                                                  {2000000, false}})
                QTest::addRow("%s %d", zone, year) << QByteArray(zone) << year << readsBack;
        }
    }
    void farYearsRoundTripOrAreRefused() {
        QFETCH(QByteArray, zone);
        QFETCH(int, year);
        QFETCH(bool, readsBack);
        test::setTimeZone(zone.constData());
        for (const auto& [month, day, hour] : {std::tuple{1, 1, 0}, {6, 15, 12}, {12, 31, 23}}) {
            const std::optional<CalendarTime> t = makeLocalTime(year, month, day, hour, 4, 5);
            QVERIFY(t.has_value());
            const std::string text = formatTimeText(*t);
            char expected[64];
            std::snprintf(expected, sizeof expected, "%04d/%02d/%02d %02d:04:05", year, month, day,
                          hour);
            QCOMPARE(text, std::string(expected));
            if (readsBack)
                QCOMPARE(parseTimeText(text), t);
            else
                QCOMPARE(parseTimeText(text), std::optional<CalendarTime>());
        }
    }

    // The wall-clock time that a fall-back repeats is the earlier instant, whatever time the
    // runtime converted last.
    void repeatedHourIsTheEarlierInstant_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<CalendarTime>("earlier");
        QTest::newRow("Berlin") << QByteArray("Europe/Berlin") << QByteArray("2024/10/27 02:30:00")
                                << CalendarTime(1729989000);
        QTest::newRow("Berlin, last second")
            << QByteArray("Europe/Berlin") << QByteArray("2024/10/27 02:59:59")
            << CalendarTime(1729990799);
        QTest::newRow("Berlin, second 60 of the hour before")
            << QByteArray("Europe/Berlin") << QByteArray("2024/10/27 02:00:60")
            << CalendarTime(1729987260);
        QTest::newRow("New York") << QByteArray("America/New_York")
                                  << QByteArray("2024/11/03 01:30:00") << CalendarTime(1730611800);
    }
    void repeatedHourIsTheEarlierInstant() {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArray, text);
        QFETCH(CalendarTime, earlier);
        test::setTimeZone(zone.constData());
        for (const CalendarTime primer : {CalendarTime(1720000000), CalendarTime(1736000000)}) {
            QVERIFY(!formatTimeText(primer).empty());
            QVERIFY(parseTimeText(formatTimeText(primer)).has_value());
            QCOMPARE(parseTimeText(text.toStdString()), std::optional<CalendarTime>(earlier));
            QCOMPARE(formatTimeText(earlier + 3600), formatTimeText(earlier));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
