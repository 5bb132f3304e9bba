#include "common/datefinder.h"
#include "properties/photodatescan.h"
#include "properties/timetools.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

#include <chrono>
#include <thread>

using namespace kelvoro;

namespace {

using OptTime = std::optional<CalendarTime>;

// The fields as a comparable text, "none" when nothing was found.
QByteArray show(const std::optional<LocalFields>& f) {
    if (!f)
        return "none";
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", f->year, f->month, f->day, f->hour,
                             f->minute, f->second)
        .toLatin1();
}

constexpr auto at = test::secondsAt;

TimeChoices choose(TimeChoice created, TimeChoice modified = {}, TimeChoice accessed = {}) {
    return {created, modified, accessed};
}

TimeChoice shiftBy(std::int64_t seconds) {
    return {TimeSource::Shift, seconds};
}

} // namespace

class TestTimeTools : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::setTimeZone("Asia/Tokyo"); }

    void datesInNames_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("found");
        const QByteArray t = "2024/01/02 03:04:05";
        const QByteArray day = "2024/01/02 00:00:00";
        QTest::newRow("compact, underscore") << QByteArray("20240102_030405.jpg") << t;
        QTest::newRow("compact, hyphen") << QByteArray("20240102-030405.jpg") << t;
        QTest::newRow("dashed, dots") << QByteArray("2024-01-02 03.04.05.png") << t;
        QTest::newRow("dashed, hyphens") << QByteArray("2024-01-02_03-04-05.mp4") << t;
        QTest::newRow("IMG_") << QByteArray("IMG_20240102_030405.jpg") << t;
        QTest::newRow("PXL_ with ms") << QByteArray("PXL_20240102_030405123.jpg") << t;
        QTest::newRow("Screenshot at") << QByteArray("Screenshot 2024-01-02 at 03.04.05.png") << t;
        QTest::newRow("Screenshot from")
            << QByteArray("Screenshot from 2024-01-02 03-04-05.png") << t;
        QTest::newRow("ISO with T") << QByteArray("log-2024-01-02T03:04:05.txt") << t;
        QTest::newRow("fourteen digits") << QByteArray("20240102030405.jpg") << t;
        QTest::newRow("numbered copy") << QByteArray("VID_20240102_030405~2.mp4") << t;
        QTest::newRow("date only, compact") << QByteArray("20240102.jpg") << day;
        QTest::newRow("date only, dashed") << QByteArray("2024-01-02.txt") << day;
        QTest::newRow("WhatsApp") << QByteArray("IMG-20240102-WA0001.jpg") << day;
        QTest::newRow("date, then no time") << QByteArray("2024-01-02 03.04.jpg") << day;
        QTest::newRow("impossible time keeps the date") << QByteArray("20240102_250405.jpg") << day;
        QTest::newRow("leap day") << QByteArray("20240229.jpg")
                                  << QByteArray("2024/02/29 00:00:00");
        QTest::newRow("last century")
            << QByteArray("19991231_235959.jpg") << QByteArray("1999/12/31 23:59:59");
        QTest::newRow("first from the left") << QByteArray("20231231 copy of 20240102_030405.jpg")
                                             << QByteArray("2023/12/31 00:00:00");
        QTest::newRow("invalid first, valid second")
            << QByteArray("20240230_then_20240229.jpg") << QByteArray("2024/02/29 00:00:00");
        QTest::newRow("not UTF-8 around it") << QByteArray("\x93\xfa\x95t20240102_030405.jpg") << t;
        QTest::newRow("no month 13") << QByteArray("2024-13-01.jpg") << QByteArray("none");
        QTest::newRow("no February 30") << QByteArray("20240230.jpg") << QByteArray("none");
        QTest::newRow("no February 29 in 2023") << QByteArray("20230229.jpg") << QByteArray("none");
        QTest::newRow("ten-digit number") << QByteArray("2024010203.jpg") << QByteArray("none");
        QTest::newRow("inside a longer number")
            << QByteArray("x120240102y.jpg") << QByteArray("none");
        QTest::newRow("followed by digits")
            << QByteArray("202401020304059999.jpg") << QByteArray("none");
        QTest::newRow("mixed separators") << QByteArray("2024-01_02.jpg") << QByteArray("none");
        QTest::newRow("year out of range") << QByteArray("18991231.jpg") << QByteArray("none");
        QTest::newRow("camera counter") << QByteArray("IMG_0001.JPG") << QByteArray("none");
        QTest::newRow("empty") << QByteArray() << QByteArray("none");
    }
    void datesInNames() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, found);
        QCOMPARE(show(findDateInName(name.toStdString())), found);
    }

    void exifDateTexts_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("found");
        QTest::newRow("plain") << QByteArray("2024:01:02 03:04:05")
                               << QByteArray("2024/01/02 03:04:05");
        QTest::newRow("trailing NUL")
            << QByteArray("2024:01:02 03:04:05\0", 20) << QByteArray("2024/01/02 03:04:05");
        QTest::newRow("zeros") << QByteArray("0000:00:00 00:00:00") << QByteArray("none");
        QTest::newRow("blanks") << QByteArray("    :  :     :  :  ") << QByteArray("none");
        QTest::newRow("no such day") << QByteArray("2024:02:30 00:00:00") << QByteArray("none");
        QTest::newRow("hour 24") << QByteArray("2024:01:02 24:00:00") << QByteArray("none");
        QTest::newRow("dashes") << QByteArray("2024-01-02 03:04:05") << QByteArray("none");
        QTest::newRow("short") << QByteArray("2024:01:02") << QByteArray("none");
        QTest::newRow("more after it") << QByteArray("2024:01:02 03:04:05 x") << QByteArray("none");
    }
    void exifDateTexts() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, found);
        QCOMPARE(show(parseExifDateTime(std::string_view(text.constData(), text.size()))), found);
    }

    void utcOffsets_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("valid");
        QTest::newRow("east") << QByteArray("+09:00") << 32400 << true;
        QTest::newRow("west, half hour") << QByteArray("-05:30") << -19800 << true;
        QTest::newRow("UTC") << QByteArray("+00:00") << 0 << true;
        QTest::newRow("trailing blank") << QByteArray("+01:00 ") << 3600 << true;
        QTest::newRow("no sign") << QByteArray("09:00") << 0 << false;
        QTest::newRow("one-digit hour") << QByteArray("+9:00") << 0 << false;
        QTest::newRow("too far") << QByteArray("+15:00") << 0 << false;
        QTest::newRow("minute 60") << QByteArray("+05:60") << 0 << false;
        QTest::newRow("blanks") << QByteArray("      ") << 0 << false;
        QTest::newRow("empty") << QByteArray() << 0 << false;
    }
    void utcOffsets() {
        QFETCH(QByteArray, text);
        QFETCH(int, seconds);
        QFETCH(bool, valid);
        const std::optional<int> offset = parseUtcOffset(text.toStdString());
        QCOMPARE(offset.has_value(), valid);
        if (valid)
            QCOMPARE(*offset, seconds);
    }

    void fieldsWithAndWithoutOffset() {
        test::setTimeZone("Europe/Berlin");
        const LocalFields summer{2024, 7, 1, 12, 0, 0};
        QCOMPARE(fieldsToTime(summer, 9 * 3600), OptTime(at("Asia/Tokyo", 2024, 7, 1, 12, 0, 0)));
        QCOMPARE(fieldsToTime(summer, -4 * 3600),
                 OptTime(at("America/New_York", 2024, 7, 1, 12, 0, 0)));
        QCOMPARE(fieldsToTime(summer, std::nullopt),
                 OptTime(at("Europe/Berlin", 2024, 7, 1, 12, 0, 0)));
        QCOMPARE(fieldsToTime(LocalFields{2024, 2, 30, 0, 0, 0}, 0), std::nullopt);
    }

    void nameDateIsLocalTime() {
        QCOMPARE(nameDate("IMG_20240102_030405.jpg"),
                 OptTime(at("Asia/Tokyo", 2024, 1, 2, 3, 4, 5)));
        test::setTimeZone("Europe/Berlin");
        QCOMPARE(nameDate("IMG_20240102_030405.jpg"),
                 OptTime(at("Europe/Berlin", 2024, 1, 2, 3, 4, 5)));
        QCOMPARE(nameDate("notes.txt"), std::nullopt);
    }

    void shiftsKeepTheAbsoluteDistance_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("shift");
        QTest::addColumn<QByteArray>("shown");
        const qint64 hour = qint64(shiftSeconds(0, 1, 0, 0));
        QTest::newRow("Berlin spring, +1h")
            << QByteArray("Europe/Berlin") << qint64(at("Europe/Berlin", 2024, 3, 31, 1, 30, 0))
            << hour << QByteArray("2024/03/31 03:30:00");
        QTest::newRow("Berlin spring, +1 day")
            << QByteArray("Europe/Berlin") << qint64(at("Europe/Berlin", 2024, 3, 30, 12, 0, 0))
            << qint64(shiftSeconds(1, 0, 0, 0)) << QByteArray("2024/03/31 13:00:00");
        // 00:30 UTC is 02:30 summer time; an hour later the clocks show 02:30 again.
        QTest::newRow("Berlin autumn, +1h")
            << QByteArray("Europe/Berlin") << qint64(at("UTC", 2024, 10, 27, 0, 30, 0)) << hour
            << QByteArray("2024/10/27 02:30:00");
        QTest::newRow("Berlin autumn, -1h")
            << QByteArray("Europe/Berlin") << qint64(at("Europe/Berlin", 2024, 10, 27, 4, 0, 0))
            << -hour << QByteArray("2024/10/27 03:00:00");
        QTest::newRow("Tokyo, mixed fields")
            << QByteArray("Asia/Tokyo") << qint64(at("Asia/Tokyo", 2024, 1, 2, 3, 4, 5))
            << qint64(shiftSeconds(1, 2, 3, 4)) << QByteArray("2024/01/03 05:07:09");
        QTest::newRow("Tokyo, back a day and a second")
            << QByteArray("Asia/Tokyo") << qint64(at("Asia/Tokyo", 2024, 1, 1, 0, 0, 0))
            << qint64(shiftSeconds(-1, 0, 0, -1)) << QByteArray("2023/12/30 23:59:59");
    }
    void shiftsKeepTheAbsoluteDistance() {
        QFETCH(QByteArray, zone);
        QFETCH(qint64, start);
        QFETCH(qint64, shift);
        QFETCH(QByteArray, shown);
        test::setTimeZone(zone.constData());
        const TimeToolRow row{{start, start, std::nullopt}, std::nullopt, std::nullopt};
        const RowOutcome out = computeRowTimes(row, choose({}, shiftBy(shift)));
        QCOMPARE(out.fields[1], FieldOutcome::Changed);
        QCOMPARE(*out.newTimes[1] - start, shift);
        QCOMPARE(QByteArray::fromStdString(formatTimeText(*out.newTimes[1])), shown);
        QCOMPARE(out.fields[0], FieldOutcome::Unchanged);
        QCOMPARE(out.newTimes[0], std::nullopt);
    }

    void copiesReadTheRowAsItWas() {
        const TimeToolRow row{{100, 200, 300}, std::nullopt, std::nullopt};
        // Created and modified swap; accessed takes the modified time from before the shift.
        RowOutcome out =
            computeRowTimes(row, choose({TimeSource::CopyModified}, {TimeSource::CopyCreated},
                                        {TimeSource::CopyModified}));
        QCOMPARE(out.newTimes, (RowTimes{200, 100, 200}));
        out = computeRowTimes(row, choose({}, shiftBy(60), {TimeSource::CopyModified}));
        QCOMPARE(out.newTimes, (RowTimes{std::nullopt, 260, 200}));
        QVERIFY(out.changed());
        QVERIFY(!out.skipped());
    }

    void missingSourcesLeaveTheTime_data() {
        QTest::addColumn<int>("source");
        QTest::newRow("copy of a time not given") << int(TimeSource::CopyAccessed);
        QTest::newRow("shift of a time not given") << int(TimeSource::Shift);
        QTest::newRow("no photo date") << int(TimeSource::PhotoDate);
        QTest::newRow("no date in the name") << int(TimeSource::NameDate);
    }
    void missingSourcesLeaveTheTime() {
        QFETCH(int, source);
        const TimeToolRow row{{std::nullopt, 500, std::nullopt}, std::nullopt, std::nullopt};
        const TimeChoice choice{TimeSource(source), 60};
        // The field that has its source still changes.
        const RowOutcome out = computeRowTimes(
            row, choose(choice, {TimeSource::CopyAccessed}, {TimeSource::CopyModified}));
        QCOMPARE(out.fields[0], FieldOutcome::NoSource);
        QCOMPARE(out.fields[1], FieldOutcome::NoSource);
        QCOMPARE(out.fields[2], FieldOutcome::Changed);
        QCOMPARE(out.newTimes, (RowTimes{std::nullopt, std::nullopt, 500}));
        QVERIFY(out.skipped());
        QVERIFY(out.changed());
    }

    void sameValueIsNoChange() {
        const TimeToolRow row{{100, 200, 300}, 100, 200};
        const RowOutcome out = computeRowTimes(
            row, choose({TimeSource::PhotoDate}, {TimeSource::NameDate}, shiftBy(0)));
        QCOMPARE(out.fields, (std::array{FieldOutcome::Unchanged, FieldOutcome::Unchanged,
                                         FieldOutcome::Unchanged}));
        QVERIFY(!out.changed());
        QVERIFY(!out.skipped());
    }

    void shiftThatOverflowsHasNoSource() {
        const TimeToolRow row{{INT64_MAX - 10, INT64_MIN + 10, 0}, std::nullopt, std::nullopt};
        const RowOutcome out =
            computeRowTimes(row, choose(shiftBy(11), shiftBy(-11), shiftBy(-11)));
        QCOMPARE(out.fields[0], FieldOutcome::NoSource);
        QCOMPARE(out.fields[1], FieldOutcome::NoSource);
        QCOMPARE(out.newTimes[2], OptTime(-11));
    }

    void planCountsAndSkipsPerRow() {
        const std::vector<TimeToolRow> rows{
            {{1, 2, 3}, 1000, std::nullopt},         // photo: changes; name: none
            {{1, 2, 3}, std::nullopt, 2000},         // photo: none; name: changes
            {{1000, 2, 3}, 1000, 2},                 // both present, both the same
            {{1, 2, 3}, std::nullopt, std::nullopt}, // neither
            {{1, 2, 3}, 3000, 4000},                 // both change
        };
        const TimeChoices choices =
            choose({TimeSource::PhotoDate}, {TimeSource::NameDate}, {TimeSource::Keep});
        const TimeToolPlan plan = planTimeChanges(rows, choices);
        QCOMPARE(plan.counts[0].changed, std::size_t(2));
        QCOMPARE(plan.counts[0].noSource, std::size_t(2));
        QCOMPARE(plan.counts[1].changed, std::size_t(2));
        QCOMPARE(plan.counts[1].noSource, std::size_t(2));
        QCOMPARE(plan.counts[2].changed + plan.counts[2].noSource, std::size_t(0));
        QCOMPARE(plan.skipped, (std::vector<std::size_t>{0, 1, 3}));
        QCOMPARE(plan.changes.size(), std::size_t(3));
        QCOMPARE(plan.changes[0].row, std::size_t(0));
        QCOMPARE(plan.changes[0].newTimes, (RowTimes{1000, std::nullopt, std::nullopt}));
        QCOMPARE(plan.changes[1].row, std::size_t(1));
        QCOMPARE(plan.changes[1].newTimes, (RowTimes{std::nullopt, 2000, std::nullopt}));
        QCOMPARE(plan.changes[2].row, std::size_t(4));
        QCOMPARE(plan.changes[2].newTimes, (RowTimes{3000, 4000, std::nullopt}));
        QVERIFY(usesSource(choices, TimeSource::NameDate));
        QVERIFY(!usesSource(choices, TimeSource::Shift));
    }

    void scanReadsEveryPathInOrder() {
        std::vector<std::string> paths;
        for (int i = 0; i < 500; ++i)
            paths.push_back(std::to_string(i));
        PhotoDateScan scan(paths, [](const std::string& p) -> OptTime {
            const int n = std::stoi(p);
            return n % 3 == 0 ? OptTime() : OptTime(n * 10);
        });
        scan.wait();
        QVERIFY(scan.finished());
        QCOMPARE(scan.done(), std::size_t(500));
        for (int i = 0; i < 500; ++i)
            QCOMPARE(scan.dates()[std::size_t(i)], i % 3 == 0 ? OptTime() : OptTime(i * 10));
    }

    void scanStopsWhenDropped() {
        std::atomic<int> calls{0};
        {
            PhotoDateScan scan(std::vector<std::string>(100000, "slow"), [&](const std::string&) {
                ++calls;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                return OptTime();
            });
            QTRY_VERIFY(calls.load() > 0);
        }
        const int afterDrop = calls.load();
        QVERIFY(afterDrop < 100000);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        QCOMPARE(calls.load(), afterDrop);
    }

    void emptyScanIsFinished() {
        PhotoDateScan scan({}, [](const std::string&) { return OptTime(1); });
        QVERIFY(scan.finished());
        QVERIFY(scan.dates().empty());
    }
};

QTEST_GUILESS_MAIN(TestTimeTools)
#include "tst_timetools.moc"
