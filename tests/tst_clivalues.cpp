// The command-line tool's pure parts: time values, arguments, the plan of a set.
#include "app/cli/arguments.h"
#include "app/cli/setplan.h"
#include "app/cli/timevalue.h"
#include "support/testfiles.h"

#include <QTest>

using namespace kelvoro;
using namespace kelvoro::cli;
using namespace kelvoro::platform;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(std::optional<std::int64_t>)

namespace {

using Maybe = std::optional<std::int64_t>;

QList<QByteArray> words(const char* text) {
    QList<QByteArray> list;
    for (const QByteArray& word : QByteArray(text).split(' '))
        list << word;
    return list;
}

FileStatus status(std::int64_t created, std::int64_t modified, std::int64_t accessed,
                  std::uint32_t attributes) {
    FileStatus s;
    s.ok = true;
    s.created = created;
    s.modified = modified;
    s.accessed = accessed;
    s.attributes = attributes;
    return s;
}

} // namespace

class TestCliValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::setTimeZone("Asia/Tokyo"); }

    void instants_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Maybe>("expected");
        const QByteArray tokyo = "Asia/Tokyo";
        const QByteArray berlin = "Europe/Berlin";
        // 2024-01-02 03:04:05 UTC is 1704164645.
        QTest::newRow("local, dashes") << tokyo << "2024-01-02 12:04:05"_ba << Maybe(1704164645);
        QTest::newRow("local, the list's form")
            << tokyo << "2024/01/02 12:04:05"_ba << Maybe(1704164645);
        QTest::newRow("local, T") << tokyo << "2024-01-02T12:04:05"_ba << Maybe(1704164645);
        QTest::newRow("local winter, Berlin")
            << berlin << "2024-01-02 04:04:05"_ba << Maybe(1704164645);
        QTest::newRow("local summer, Berlin")
            << berlin << "2024-07-02 05:04:05"_ba << Maybe(1719889445);
        QTest::newRow("date only is local midnight")
            << tokyo << "2024-01-02"_ba << Maybe(1704121200);
        QTest::newRow("no seconds") << tokyo << "2024-01-02 12:04"_ba << Maybe(1704164640);
        QTest::newRow("Z") << berlin << "2024-01-02T03:04:05Z"_ba << Maybe(1704164645);
        QTest::newRow("offset with colon")
            << berlin << "2024-01-02T12:04:05+09:00"_ba << Maybe(1704164645);
        QTest::newRow("offset without colon")
            << berlin << "2024-01-01T22:34:05-0430"_ba << Maybe(1704164645);
        QTest::newRow("hours-only offset")
            << berlin << "2024-01-02T05:04:05+02"_ba << Maybe(1704164645);
        QTest::newRow("fraction dropped")
            << tokyo << "2024-01-02T03:04:05.999Z"_ba << Maybe(1704164645);
        QTest::newRow("before the epoch") << tokyo << "1969-12-31T23:59:59Z"_ba << Maybe(-1);
        QTest::newRow("far past, UTC") << tokyo << "1601-01-01T00:00:00Z"_ba << Maybe(-11644473600);
        QTest::newRow("leap day") << tokyo << "2024-02-29T00:00:00Z"_ba << Maybe(1709164800);
        QTest::newRow("epoch") << tokyo << "@1704164645"_ba << Maybe(1704164645);
        QTest::newRow("epoch zero is a time") << tokyo << "@0"_ba << Maybe(0);
        QTest::newRow("negative epoch") << tokyo << "@-86400"_ba << Maybe(-86400);

        QTest::newRow("no leap day in 2023") << tokyo << "2023-02-29"_ba << Maybe();
        QTest::newRow("day 31 in April") << tokyo << "2024-04-31"_ba << Maybe();
        QTest::newRow("month 13") << tokyo << "2024-13-01"_ba << Maybe();
        QTest::newRow("hour 24") << tokyo << "2024-01-02 24:00:00"_ba << Maybe();
        QTest::newRow("second 60") << tokyo << "2024-01-02 23:59:60"_ba << Maybe();
        QTest::newRow("mixed separators") << tokyo << "2024-01/02"_ba << Maybe();
        QTest::newRow("offset without a time") << tokyo << "2024-01-02Z"_ba << Maybe();
        QTest::newRow("offset hour 24") << tokyo << "2024-01-02T00:00:00+24:00"_ba << Maybe();
        QTest::newRow("trailing text") << tokyo << "2024-01-02 03:04:05 x"_ba << Maybe();
        QTest::newRow("one-digit month") << tokyo << "2024-1-02"_ba << Maybe();
        QTest::newRow("empty epoch") << tokyo << "@"_ba << Maybe();
        QTest::newRow("epoch with text") << tokyo << "@12x"_ba << Maybe();
        QTest::newRow("epoch beyond 64 bits") << tokyo << "@99999999999999999999"_ba << Maybe();
        QTest::newRow("empty") << tokyo << ""_ba << Maybe();
    }
    void instants() {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArray, text);
        QFETCH(Maybe, expected);
        test::setTimeZone(zone.constData());
        QCOMPARE(parseInstant(text.toStdString()), expected);
    }

    void shifts_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Maybe>("expected");
        QTest::newRow("hour") << "+1h"_ba << Maybe(3600);
        QTest::newRow("minus minutes") << "-30m"_ba << Maybe(-1800);
        QTest::newRow("days and hours") << "+2d3h"_ba << Maybe(2 * 86400 + 3 * 3600);
        QTest::newRow("sign covers every part") << "-1d1s"_ba << Maybe(-86401);
        QTest::newRow("week") << "+1w"_ba << Maybe(604800);
        QTest::newRow("zero") << "+0s"_ba << Maybe(0);
        QTest::newRow("no sign") << "1h"_ba << Maybe();
        QTest::newRow("no unit") << "+5"_ba << Maybe();
        QTest::newRow("unknown unit") << "+5y"_ba << Maybe();
        QTest::newRow("unit without number") << "+h"_ba << Maybe();
        QTest::newRow("second sign") << "+1h-5m"_ba << Maybe();
        QTest::newRow("overflow") << "+9223372036854775807w"_ba << Maybe();
        QTest::newRow("sum overflows") << "+9223372036854775807s1s"_ba << Maybe();
    }
    void shifts() {
        QFETCH(QByteArray, text);
        QFETCH(Maybe, expected);
        QCOMPARE(parseShift(text.toStdString()), expected);
    }

    void valuesResolveAgainstTheFile_data() {
        QTest::addColumn<QByteArray>("option");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("withDates"); // the photo says 4000, the name 5000
        QTest::addColumn<Maybe>("expected"); // nothing: not written
        QTest::addColumn<bool>("unresolved");
        // The file: created 1000, modified 2000, accessed 3000.
        QTest::newRow("instant") << "--created"_ba
                                 << "@5"_ba << false << Maybe(5) << false;
        QTest::newRow("instant the file has") << "--created"_ba
                                              << "@1000"_ba << false << Maybe(1000) << false;
        QTest::newRow("shift of its own time") << "--modified"_ba
                                               << "+1m"_ba << false << Maybe(2060) << false;
        QTest::newRow("shift back") << "--accessed"_ba
                                    << "-1000s"_ba << false << Maybe(2000) << false;
        QTest::newRow("copy created") << "--modified"_ba
                                      << "copy:created"_ba << false << Maybe(1000) << false;
        QTest::newRow("copy accessed") << "--created"_ba
                                       << "copy:accessed"_ba << false << Maybe(3000) << false;
        QTest::newRow("copy of itself writes nothing")
            << "--modified"_ba
            << "copy:modified"_ba << false << Maybe() << false;
        QTest::newRow("photo date") << "--created"_ba
                                    << "exif"_ba << true << Maybe(4000) << false;
        QTest::newRow("name date") << "--accessed"_ba
                                   << "name"_ba << true << Maybe(5000) << false;
        QTest::newRow("no photo date") << "--created"_ba
                                       << "exif"_ba << false << Maybe() << true;
        QTest::newRow("no name date") << "--modified"_ba
                                      << "name"_ba << false << Maybe() << true;
        QTest::newRow("shift past the end")
            << "--created"_ba
            << "+9223372036854775807s"_ba << false << Maybe() << true;
    }
    void valuesResolveAgainstTheFile() {
        QFETCH(QByteArray, option);
        QFETCH(QByteArray, text);
        QFETCH(bool, withDates);
        QFETCH(Maybe, expected);
        QFETCH(bool, unresolved);
        const ParsedArguments parsed = parseArguments({"set", option, text, "a"});
        QVERIFY2(parsed.request, qPrintable(parsed.error));
        const FoundDates found = withDates ? FoundDates{4000, 5000} : FoundDates{};
        const SetPlan plan = planSet(*parsed.request, status(1000, 2000, 3000, 0), found);
        const TimeField field = option == "--created"    ? TimeField::Created
                                : option == "--modified" ? TimeField::Modified
                                                         : TimeField::Accessed;
        const Maybe planned = field == TimeField::Created    ? plan.desired.created
                              : field == TimeField::Modified ? plan.desired.modified
                                                             : plan.desired.accessed;
        QCOMPARE(planned, expected);
        QCOMPARE(plan.unresolved.has_value(), unresolved);
        if (unresolved)
            QCOMPARE(*plan.unresolved, field);
        // Only the field asked for is written.
        const int given = int(plan.desired.created.has_value()) +
                          int(plan.desired.modified.has_value()) +
                          int(plan.desired.accessed.has_value());
        QCOMPARE(given, expected ? 1 : 0);
    }

    void unknownSourcesAreRefused() {
        QCOMPARE(parseTimeValue("copy:size").has_value(), false);
        QCOMPARE(parseTimeValue("Exif").has_value(), false);
        QCOMPARE(parseTimeValue("exif").value().choice.source, TimeSource::PhotoDate);
    }

    void isoTextCarriesTheLocalOffset_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Tokyo") << "Asia/Tokyo"_ba << qint64(1704164645)
                               << u"2024-01-02T12:04:05+09:00"_s;
        QTest::newRow("Berlin winter")
            << "Europe/Berlin"_ba << qint64(1704164645) << u"2024-01-02T04:04:05+01:00"_s;
        QTest::newRow("Berlin summer")
            << "Europe/Berlin"_ba << qint64(1719889445) << u"2024-07-02T05:04:05+02:00"_s;
        QTest::newRow("half-hour west")
            << "America/St_Johns"_ba << qint64(1704164645) << u"2024-01-01T23:34:05-03:30"_s;
    }
    void isoTextCarriesTheLocalOffset() {
        QFETCH(QByteArray, zone);
        QFETCH(qint64, time);
        QFETCH(QString, expected);
        test::setTimeZone(zone.constData());
        const std::string text = isoTimeText(time);
        QCOMPARE(QString::fromStdString(text), expected);
        // What is shown reads back as the same instant.
        QCOMPARE(parseInstant(text), Maybe(time));
    }

    void argumentsAccepted() {
        const ParsedArguments a = parseArguments(
            words("set -0n --created=@5 --modified -30m --hidden on --index off -- -x -"));
        QVERIFY2(a.request, qPrintable(a.error));
        QCOMPARE(a.request->command, Command::Set);
        QVERIFY(a.request->nullSeparated && a.request->dryRun);
        const auto& times = a.request->times;
        QCOMPARE(times[0]->at, Maybe(5));
        QCOMPARE(times[1]->choice.source, TimeSource::Shift);
        QCOMPARE(times[1]->choice.shiftSeconds, -1800);
        QCOMPARE(a.request->flags.hidden, std::optional<bool>(true));
        QCOMPARE(a.request->flags.index, std::optional<bool>(false));
        QVERIFY(!a.request->flags.readOnly && !a.request->flags.archive && !times[2]);
        // After "--" a leading dash is part of a name.
        QCOMPARE(a.request->paths, (QList<QByteArray>{"-x", "-"}));

        // Reading NUL-separated paths with none given takes standard input.
        const ParsedArguments piped = parseArguments(words("show --json -0"));
        QVERIFY(piped.request && piped.request->json);
        QCOMPARE(piped.request->paths, QList<QByteArray>{"-"});

        const ParsedArguments help = parseArguments(words("set --help"));
        QVERIFY(help.request);
        QCOMPARE(help.request->command, Command::Help);
    }

    void argumentsRefused_data() {
        QTest::addColumn<QByteArray>("arguments");
        QTest::newRow("no command") << ""_ba;
        QTest::newRow("unknown command") << "touch a"_ba;
        QTest::newRow("unknown option") << "show --colour a"_ba;
        QTest::newRow("unknown switch") << "show -x a"_ba;
        QTest::newRow("option of another command") << "show --hidden on a"_ba;
        QTest::newRow("switch of another command") << "show -n a"_ba;
        QTest::newRow("nothing to set") << "set a"_ba;
        QTest::newRow("no files") << "set --hidden on"_ba;
        QTest::newRow("flag neither on nor off") << "set --hidden yes a"_ba;
        QTest::newRow("missing value") << "set a --created"_ba;
        QTest::newRow("bad time") << "set --created 2024-02-30 a"_ba;
        QTest::newRow("value for a switch") << "show --json=1 a"_ba;
    }
    void argumentsRefused() {
        QFETCH(QByteArray, arguments);
        const ParsedArguments parsed =
            parseArguments(arguments.isEmpty() ? QList<QByteArray>{} : words(arguments));
        QVERIFY(!parsed.request);
        QVERIFY(!parsed.error.isEmpty());
    }

    void pathListsSplit() {
        QCOMPARE(splitPathList("a\0b\nc\0\0"_ba, true), (QList<QByteArray>{"a", "b\nc"}));
        QCOMPARE(splitPathList("a b\n\nc"_ba, false), (QList<QByteArray>{"a b", "c"}));
        QCOMPARE(splitPathList(""_ba, true), QList<QByteArray>{});
    }

    void planKeepsOtherBitsAndCopiesTheOldTime() {
        const ParsedArguments parsed = parseArguments(
            words("set --created copy:modified --modified +1s --readonly on --index off a"));
        QVERIFY(parsed.request);
        // System (0x04) and an unknown bit (0x100) are not the tool's to change.
        const FileStatus current = status(1000, 2000, 3000, attr::System | 0x100 | attr::Hidden);
        const SetPlan plan = planSet(*parsed.request, current);
        QVERIFY(!plan.unresolved);
        QCOMPARE(plan.desired.created, Maybe(2000)); // the time before the change
        QCOMPARE(plan.desired.modified, Maybe(2001));
        QCOMPARE(plan.desired.accessed, Maybe()); // not given: left alone
        QCOMPARE(plan.desired.attributes,
                 attr::System | 0x100 | attr::Hidden | attr::ReadOnly | attr::NotContentIndexed);
        QCOMPARE(describeChanges("a", current, plan.desired),
                 "a: created 1970/01/01 09:16:40 -> 1970/01/01 09:33:20\n"
                 "a: modified 1970/01/01 09:33:20 -> 1970/01/01 09:33:21\n"
                 "a: readonly off -> on\n"
                 "a: index on -> off\n"_ba);
        // Nothing to change, nothing to say.
        QCOMPARE(describeChanges("a", plan.desired, plan.desired), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCliValues)
#include "tst_clivalues.moc"
