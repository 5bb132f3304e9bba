#include "properties/change.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

using Time = std::optional<CalendarTime>;

QCheckBox* box(CChange& d, const char* name) {
    return d.findChild<QCheckBox*>(QLatin1String(name));
}
QDateEdit* date(CChange& d, const char* name) {
    return d.findChild<QDateEdit*>(QLatin1String(name));
}
QTimeEdit* time(CChange& d, const char* name) {
    return d.findChild<QTimeEdit*>(QLatin1String(name));
}
void press(CChange& d, const char* button) {
    d.findChild<QPushButton*>(QLatin1String(button))->click();
}

// How many of the named controls are enabled.
int enabled(CChange& d, std::initializer_list<const char*> names) {
    int n = 0;
    for (const char* name : names)
        n += d.findChild<QWidget*>(QLatin1String(name))->isEnabled() ? 1 : 0;
    return n;
}
const auto kPickers = {"createdDate", "modifiedDate", "accessedDate",
                       "createdTime", "modifiedTime", "accessedTime"};
const auto kFlags = {"readOnly", "hidden", "archive", "index"};

void seed(CChange& d) {
    d.setCreatedText(u"2010/08/07 12:34:56"_s);
    d.setModifiedText(u"2011/01/02 03:04:05"_s);
    d.setAccessedText(u"2012/12/31 23:59:59"_s);
    d.setReadOnlyText(u" "_s);
    d.setHiddenText(QString());
    d.setArchiveText(u" "_s);
    d.setIndexText(QString());
}

} // namespace

class TestChange : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { test::setTimeZone("Asia/Tokyo"); }

    void seededAndTimestampHeading() {
        CChange d;
        QCOMPARE(d.windowTitle(), u"ファイルプロパティの編集"_s);
        seed(d);
        QCOMPARE(date(d, "createdDate")->date(), QDate(2010, 8, 7));
        QCOMPARE(time(d, "createdTime")->time(), QTime(12, 34, 56));
        QCOMPARE(date(d, "accessedDate")->date(), QDate(2012, 12, 31));
        QVERIFY(box(d, "readOnly")->isChecked() && box(d, "archive")->isChecked());
        QVERIFY(!box(d, "hidden")->isChecked() && !box(d, "index")->isChecked());
        // At start: timestamps on and editable, attributes off and locked.
        QVERIFY(box(d, "changeTime")->isChecked() && !box(d, "changeAttr")->isChecked());
        QCOMPARE(enabled(d, kPickers), 6);
        QCOMPARE(enabled(d, kFlags), 0);

        box(d, "changeTime")->click();
        QCOMPARE(enabled(d, kPickers), 0);
        box(d, "changeTime")->click();
        QCOMPARE(enabled(d, kPickers), 6);
        QCOMPARE(time(d, "modifiedTime")->time(), QTime(3, 4, 5)); // values kept
        press(d, "ok");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.created(), Time(1281152096)); // 12:34:56 JST
        QCOMPARE(d.modified(), Time(1293905045));
        QCOMPARE(d.accessed(), Time(1356965999));
        QCOMPARE(QStringList({d.readOnlyText(), d.hiddenText(), d.archiveText(), d.indexText()}),
                 QStringList({u" "_s, QString(), u" "_s, QString()}));

        CChange off;
        seed(off);
        box(off, "changeTime")->click();
        press(off, "ok");
        QCOMPARE(off.created(), Time());
        QCOMPARE(off.modified(), Time());
        QCOMPARE(off.accessed(), Time());
    }

    void attributeHeading() {
        CChange on;
        seed(on);
        box(on, "changeAttr")->click();
        QCOMPARE(enabled(on, kFlags), 4);
        for (const char* name : {"readOnly", "hidden", "index"})
            box(on, name)->click();
        press(on, "ok");
        QCOMPARE(
            QStringList({on.readOnlyText(), on.hiddenText(), on.archiveText(), on.indexText()}),
            QStringList({QString(), u" "_s, u" "_s, u" "_s}));

        // Boxes changed, then the heading unchecked again: the texts as handed in.
        CChange off;
        seed(off);
        box(off, "changeAttr")->click();
        box(off, "readOnly")->click();
        box(off, "hidden")->click();
        box(off, "changeAttr")->click();
        QCOMPARE(enabled(off, kFlags), 0);
        press(off, "ok");
        QCOMPARE(
            QStringList({off.readOnlyText(), off.hiddenText(), off.archiveText(), off.indexText()}),
            QStringList({u" "_s, QString(), u" "_s, QString()}));
    }

    void unparseableTextsRangeAndCancel() {
        CChange d;
        d.setCreatedText(QString());
        d.setModifiedText(u"garbage"_s);
        d.setAccessedText(u"2010/13/01 25:00:00"_s); // normalised as mktime does
        QCOMPARE(date(d, "createdDate")->date(), QDate::currentDate());
        QCOMPARE(time(d, "createdTime")->time(), QTime(0, 0, 0));
        QCOMPARE(date(d, "modifiedDate")->date(), QDate::currentDate());
        QCOMPARE(date(d, "accessedDate")->date(), QDate(2011, 1, 1));
        QCOMPARE(time(d, "accessedTime")->time(), QTime(1, 0, 0));
        QVERIFY(date(d, "createdDate")->calendarPopup());
        QCOMPARE(date(d, "createdDate")->minimumDate(), QDate(1970, 1, 1));
        QCOMPARE(date(d, "createdDate")->maximumDate(), QDate(2999, 12, 31));

        // The earliest local time is before the epoch in Tokyo and still a real time.
        date(d, "createdDate")->setDate(QDate(1970, 1, 1));
        time(d, "createdTime")->setTime(QTime(9, 0, 0));
        press(d, "ok");
        QCOMPARE(d.created(), Time(0));

        CChange cancelled;
        seed(cancelled);
        box(cancelled, "changeAttr")->click();
        box(cancelled, "hidden")->click();
        press(cancelled, "cancel");
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        QCOMPARE(cancelled.created(), Time());
        QCOMPARE(cancelled.hiddenText(), QString());
    }

    void daylightSavingGapIsNormalised() {
        test::setTimeZone("Europe/Berlin");
        CChange d;
        d.setCreatedText(u"2010/03/28 02:30:00"_s); // does not exist in Berlin
        d.setModifiedText(u"2010/08/07 12:34:56"_s);
        d.setAccessedText(u"2010/01/15 08:00:00"_s);
        press(d, "ok");
        QCOMPARE(d.created(), Time(1269739800)); // 01:30 UTC, shown as 03:30 CEST
        QCOMPARE(d.modified(), Time(1281177296));
        QCOMPARE(d.accessed(), Time(1263538800));
    }
};

QTEST_MAIN(TestChange)
#include "tst_change.moc"
