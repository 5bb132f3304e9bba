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

template <typename T> T* child(CChange& d, const char* name) {
    T* w = d.findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QCheckBox* box(CChange& d, const char* name) {
    return child<QCheckBox>(d, name);
}

const char* const kPickers[] = {"createdDate", "modifiedDate", "accessedDate",
                                "createdTime", "modifiedTime", "accessedTime"};
const char* const kFlagBoxes[] = {"readOnly", "hidden", "archive", "index"};

bool allEnabled(CChange& d, const char* const (&names)[6]) {
    for (const char* n : names)
        if (!d.findChild<QWidget*>(QLatin1String(n))->isEnabled())
            return false;
    return true;
}
bool noneEnabled(CChange& d, const char* const (&names)[6]) {
    for (const char* n : names)
        if (d.findChild<QWidget*>(QLatin1String(n))->isEnabled())
            return false;
    return true;
}
int enabledFlagBoxes(CChange& d) {
    int n = 0;
    for (const char* name : kFlagBoxes)
        n += box(d, name)->isEnabled() ? 1 : 0;
    return n;
}

void seed(CChange& d) {
    d.setCreatedText(u"2010/08/07 12:34:56"_s);
    d.setModifiedText(u"2011/01/02 03:04:05"_s);
    d.setAccessedText(u"2012/12/31 23:59:59"_s);
    d.setReadOnlyText(u" "_s);
    d.setHiddenText(QString());
    d.setArchiveText(u" "_s);
    d.setIndexText(QString());
}

void press(CChange& d, const char* button) {
    child<QPushButton>(d, button)->click();
}

using Time = std::optional<CalendarTime>;

} // namespace

class TestChange : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { test::setTimeZone("Asia/Tokyo"); }

    void opensSeededAndOkHandsTheSameBack() {
        CChange d;
        QCOMPARE(d.windowTitle(), u"ファイルプロパティの編集"_s);
        seed(d);
        QCOMPARE(child<QDateEdit>(d, "createdDate")->date(), QDate(2010, 8, 7));
        QCOMPARE(child<QTimeEdit>(d, "createdTime")->time(), QTime(12, 34, 56));
        QCOMPARE(child<QDateEdit>(d, "accessedDate")->date(), QDate(2012, 12, 31));
        QCOMPARE(child<QTimeEdit>(d, "accessedTime")->time(), QTime(23, 59, 59));
        QVERIFY(box(d, "readOnly")->isChecked());
        QVERIFY(!box(d, "hidden")->isChecked());
        QVERIFY(box(d, "archive")->isChecked());
        QVERIFY(!box(d, "index")->isChecked());

        // At start: timestamps on and editable, attributes off and locked.
        QVERIFY(box(d, "changeTime")->isChecked());
        QVERIFY(!box(d, "changeAttr")->isChecked());
        QVERIFY(allEnabled(d, kPickers));
        QCOMPARE(enabledFlagBoxes(d), 0);

        press(d, "ok");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.created(), Time(1281152096)); // 12:34:56 JST
        QCOMPARE(d.modified(), Time(1293905045));
        QCOMPARE(d.accessed(), Time(1356965999));
        QCOMPARE(d.readOnlyText(), u" "_s);
        QCOMPARE(d.hiddenText(), QString());
        QCOMPARE(d.archiveText(), u" "_s);
        QCOMPARE(d.indexText(), QString());
    }

    void timestampHeadingDecidesWhetherTimesComeBack() {
        CChange d;
        seed(d);
        auto* heading = box(d, "changeTime");
        heading->click();
        QVERIFY(noneEnabled(d, kPickers));
        heading->click();
        QVERIFY(allEnabled(d, kPickers));
        QCOMPARE(child<QTimeEdit>(d, "modifiedTime")->time(), QTime(3, 4, 5)); // values kept

        child<QDateEdit>(d, "modifiedDate")->setDate(QDate(2020, 2, 29));
        heading->click();
        press(d, "ok");
        QCOMPARE(d.created(), Time());
        QCOMPARE(d.modified(), Time());
        QCOMPARE(d.accessed(), Time());
    }

    void attributeHeadingDecidesWhichFlagsComeBack() {
        {
            CChange d;
            seed(d);
            box(d, "changeAttr")->click();
            QCOMPARE(enabledFlagBoxes(d), 4);
            box(d, "readOnly")->click(); // handed in set, now clear
            box(d, "hidden")->click();
            box(d, "index")->click();
            press(d, "ok");
            QCOMPARE(d.readOnlyText(), QString());
            QCOMPARE(d.hiddenText(), u" "_s);
            QCOMPARE(d.archiveText(), u" "_s);
            QCOMPARE(d.indexText(), u" "_s);
        }
        {
            // Boxes changed, then the heading unchecked again: the texts as handed in.
            CChange d;
            seed(d);
            box(d, "changeAttr")->click();
            box(d, "readOnly")->click();
            box(d, "hidden")->click();
            box(d, "changeAttr")->click();
            QCOMPARE(enabledFlagBoxes(d), 0);
            press(d, "ok");
            QCOMPARE(d.readOnlyText(), u" "_s);
            QCOMPARE(d.hiddenText(), QString());
            QCOMPARE(d.archiveText(), u" "_s);
            QCOMPARE(d.indexText(), QString());
        }
    }

    void unparseableTextsAndRange() {
        CChange d;
        d.setCreatedText(QString());
        d.setModifiedText(u"garbage"_s);
        d.setAccessedText(u"2010/13/01 25:00:00"_s); // normalised as mktime does
        QCOMPARE(child<QDateEdit>(d, "createdDate")->date(), QDate::currentDate());
        QCOMPARE(child<QTimeEdit>(d, "createdTime")->time(), QTime(0, 0, 0));
        QCOMPARE(child<QDateEdit>(d, "modifiedDate")->date(), QDate::currentDate());
        QCOMPARE(child<QDateEdit>(d, "accessedDate")->date(), QDate(2011, 1, 1));
        QCOMPARE(child<QTimeEdit>(d, "accessedTime")->time(), QTime(1, 0, 0));

        auto* date = child<QDateEdit>(d, "createdDate");
        QVERIFY(date->calendarPopup());
        QCOMPARE(date->minimumDate(), QDate(1970, 1, 1));
        QCOMPARE(date->maximumDate(), QDate(2999, 12, 31));
        // The earliest local time is before the epoch in Tokyo and still a real time.
        date->setDate(QDate(1970, 1, 1));
        child<QTimeEdit>(d, "createdTime")->setTime(QTime(9, 0, 0));
        press(d, "ok");
        QCOMPARE(d.created(), Time(0));
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

    void cancelHandsNothingBack() {
        CChange d;
        seed(d);
        box(d, "changeAttr")->click();
        box(d, "hidden")->click();
        child<QDateEdit>(d, "createdDate")->setDate(QDate(2001, 1, 1));
        press(d, "cancel");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.created(), Time());
        QCOMPARE(d.modified(), Time());
        QCOMPARE(d.hiddenText(), QString());
        QCOMPARE(d.readOnlyText(), u" "_s);
    }
};

QTEST_MAIN(TestChange)
#include "tst_change.moc"
