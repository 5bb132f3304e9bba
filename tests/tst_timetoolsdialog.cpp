// The time tools dialog on its own (counts before OK, photo dates read in the background) and
// its command end to end: real photos, staged rows, one message for the rows without a source,
// and the save that puts the photo dates on disk.
#include "app/mainframe.h"
#include "properties/timetoolsdialog.h"
#include "statushelpers.h"
#include "support/photofiles.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimeZone>

#include <atomic>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;
using Kind = test::FakePrompt::Kind;

namespace {

constexpr auto at = test::secondsAt;

template <typename T> T* child(QWidget& d, const QString& name) {
    T* found = d.findChild<T*>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

void choose(QWidget& d, const char* field, const QString& text) {
    auto* combo = child<QComboBox>(d, QLatin1String(field) + u"Source"_s);
    const int i = combo->findText(text);
    if (i < 0)
        qFatal("no choice %s", qPrintable(text));
    combo->setCurrentIndex(i);
}

QString countOf(QWidget& d, const char* field) {
    return child<QLabel>(d, QLatin1String(field) + u"Count"_s)->text();
}

QStringList choicesOf(QWidget& d, const char* field) {
    auto* combo = child<QComboBox>(d, QLatin1String(field) + u"Source"_s);
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// No photo has a date; rows as named.
TimeToolsInput input(const std::vector<RowTimes>& times, const std::vector<std::string>& names) {
    return {times, names, names};
}

std::optional<std::int64_t> noPhotoDate(const std::string&) {
    return std::nullopt;
}

} // namespace

class TestTimeToolsDialog : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<CMainFrame> m_frame;

    CTrazzleView* view() { return m_frame->view(); }
    FileListModel& rows() { return view()->rows(); }
    QString cell(int row, int column) {
        return rows().data(rows().index(row, column), Qt::DisplayRole).toString();
    }
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }
    void selectAll() {
        view()->selectAll();
        QCOMPARE(int(view()->selectedRows().size()), rows().rowCount());
    }
    // Runs the command through its action (or `command`); `act` works the dialog. True when
    // the dialog came up.
    bool runTimeTools(const std::function<void(CTimeTools&)>& act,
                      const std::function<void()>& command = {}) {
        test::WhenModalOpens<CTimeTools> script([&](CTimeTools* d) {
            act(*d);
            if (d->isVisible())
                d->reject();
        });
        if (command)
            command();
        else
            m_frame->action(ID_EDIT_TIMES)->trigger();
        return script.opened;
    }

private Q_SLOTS:
    void init() {
        test::setTimeZone("Asia/Tokyo");
        m_services = std::make_unique<test::TestServices>();
        m_frame = std::make_unique<CMainFrame>(m_services->services);
    }
    void cleanup() {
        m_frame.reset();
        m_services.reset();
        test::setTimeZone("Asia/Tokyo");
    }

    void countsBeforeOk() {
        const CalendarTime named = at("Asia/Tokyo", 2024, 1, 2, 3, 4, 5);
        CTimeTools d(input({{100, 200, 300}, {std::nullopt, 200, 300}, {100, named, 300}},
                           {"IMG_20240102_030405.jpg", "notes.txt", "20240102_030405.png"}),
                     noPhotoDate);
        QCOMPARE(countOf(d, "created"), u"変更しません"_s);
        QVERIFY(!choicesOf(d, "created").contains(u"作成日時をコピー"_s));
        QVERIFY(choicesOf(d, "modified").contains(u"作成日時をコピー"_s));
        QCOMPARE(choicesOf(d, "accessed").size(), 6);

        choose(d, "modified", u"ファイル名の日付"_s);
        // The third row has its name's date already.
        QCOMPARE(countOf(d, "modified"),
                 u"1 件を変更します（元になる日時がない 1 件はそのまま）"_s);
        choose(d, "accessed", u"作成日時をコピー"_s);
        QCOMPARE(countOf(d, "accessed"),
                 u"2 件を変更します（元になる日時がない 1 件はそのまま）"_s);
        QVERIFY(child<QLabel>(d, u"summary"_s)->text().contains(u"選択した 3 件のうち 2 件"_s));

        QVERIFY(!child<QSpinBox>(d, u"createdHours"_s)->isEnabled());
        choose(d, "created", u"ずらす"_s);
        QVERIFY(child<QSpinBox>(d, u"createdHours"_s)->isEnabled());
        child<QSpinBox>(d, u"createdDays"_s)->setValue(-1);
        child<QSpinBox>(d, u"createdHours"_s)->setValue(2);
        QCOMPARE(countOf(d, "created"), u"2 件を変更します（元になる日時がない 1 件はそのまま）"_s);

        child<QPushButton>(d, u"ok"_s)->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const TimeToolPlan& plan = d.plan();
        QCOMPARE(plan.skipped, (std::vector<std::size_t>{1}));
        // The second row has no source for any field and is not changed at all.
        QCOMPARE(plan.changes.size(), std::size_t(2));
        QCOMPARE(plan.changes[0].row, std::size_t(0));
        QCOMPARE(plan.changes[0].newTimes, (RowTimes{100 - 86400 + 7200, named, 100}));
        QCOMPARE(plan.changes[1].row, std::size_t(2));
        QCOMPARE(plan.changes[1].newTimes, (RowTimes{100 - 86400 + 7200, std::nullopt, 100}));
    }

    void photoDatesDoNotBlockTheDialog() {
        std::atomic<bool> release{false};
        std::atomic<int> calls{0};
        auto reader = [&](const std::string& path) -> std::optional<std::int64_t> {
            ++calls;
            while (!release.load())
                QThread::msleep(1);
            return path == "a.jpg" ? std::optional<std::int64_t>(5000) : std::nullopt;
        };
        CTimeTools d(input({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}, {"a.jpg", "b.png", "c.txt"}), reader);
        QCOMPARE(calls.load(), 0); // nothing read until asked for
        auto* ok = child<QPushButton>(d, u"ok"_s);
        choose(d, "modified", u"撮影日時 (Exif)"_s);
        QVERIFY(!ok->isEnabled());
        QCOMPARE(countOf(d, "modified"), u"撮影日時を読み取っています…"_s);
        QVERIFY(
            child<QLabel>(d, u"summary"_s)->text().startsWith(u"撮影日時を読み取っています…"_s));
        // The other fields are counted meanwhile.
        choose(d, "created", u"更新日時をコピー"_s);
        QCOMPARE(countOf(d, "created"), u"3 件を変更します"_s);
        release = true;
        QTRY_VERIFY(ok->isEnabled());
        QCOMPARE(countOf(d, "modified"),
                 u"1 件を変更します（元になる日時がない 2 件はそのまま）"_s);
        // Chosen again, the dates are not read again.
        choose(d, "modified", u"変更しない"_s);
        choose(d, "modified", u"撮影日時 (Exif)"_s);
        QVERIFY(ok->isEnabled());
        QCOMPARE(calls.load(), 3);
    }

    void cancelWhileReading() {
        std::atomic<int> calls{0};
        {
            CTimeTools d(input(std::vector<RowTimes>(2000, RowTimes{1, 2, 3}),
                               std::vector<std::string>(2000, "x.jpg")),
                         [&](const std::string&) -> std::optional<std::int64_t> {
                             ++calls;
                             QThread::msleep(2);
                             return 1;
                         });
            choose(d, "created", u"撮影日時 (Exif)"_s);
            QTRY_VERIFY(calls.load() > 0);
            child<QPushButton>(d, u"cancel"_s)->click();
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        QVERIFY(calls.load() < 2000);
    }

    void photoDatesStagedAndSaved() {
        const QByteArray withDate =
            test::makeImage(dir(), "IMG_0001.JPG", "JPEG",
                            {{"Exif.Photo.DateTimeOriginal", "2021:06:05 04:03:02"},
                             {"Exif.Photo.OffsetTimeOriginal", "+02:00"}});
        const QByteArray digitized =
            test::makeImage(dir(), "IMG_0002.JPG", "JPEG",
                            {{"Exif.Photo.DateTimeDigitized", "2022:02:03 10:20:30"}});
        const QByteArray png = test::makeImage(dir(), "plain.png", "PNG", {});
        const QByteArray text = test::makeFile(dir(), "notes.txt", "2021:06:05 04:03:02");
        const QList<QByteArray> paths{withDate, png, digitized, text};
        for (const QByteArray& path : paths) {
            test::setTimes(path, 1600000000, 1600000000);
            view()->AddFile(path);
        }
        selectAll();
        QVERIFY(runTimeTools([](CTimeTools& d) {
            choose(d, "created", u"撮影日時 (Exif)"_s);
            choose(d, "modified", u"撮影日時 (Exif)"_s);
            QTRY_VERIFY(child<QPushButton>(d, u"ok"_s)->isEnabled());
            QCOMPARE(countOf(d, "modified"),
                     u"2 件を変更します（元になる日時がない 2 件はそのまま）"_s);
            child<QPushButton>(d, u"ok"_s)->click();
        }));

        const CalendarTime taken = at("UTC", 2021, 6, 5, 2, 3, 2);
        const CalendarTime scanned = at("Asia/Tokyo", 2022, 2, 3, 10, 20, 30);
        QCOMPARE(cell(0, ColModified), u"2021/06/05 11:03:02"_s);
        QCOMPARE(cell(0, ColCreated), u"2021/06/05 11:03:02"_s);
        QCOMPARE(cell(2, ColModified), u"2022/02/03 10:20:30"_s);
        QVERIFY(rows().row(0).staged && rows().row(2).staged);
        QVERIFY(!rows().row(1).staged && !rows().row(3).staged);
        QCOMPARE(rows().row(1).modified, std::optional<CalendarTime>(1600000000));
        QVERIFY(m_frame->IsChanged());
        QCOMPARE(test::mtimeOf(withDate), 1600000000); // staged, not written

        // One message for both files without a date, naming them.
        auto& shown = m_services->prompt.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, Kind::Information);
        QVERIFY(shown[0].text.startsWith(
            u"元になる日時がない 2 件のファイルは、その日時を変更しませんでした。"_s));
        QVERIFY(shown[0].text.contains(u"plain.png"_s) && shown[0].text.contains(u"notes.txt"_s));

        m_frame->runCommand(ID_FILE_SAVE);
        QCOMPARE(rows().stagedCount(), 0);
        QCOMPARE(test::mtimeOf(withDate), taken);
        QCOMPARE(test::mtimeOf(digitized), scanned);
        QCOMPARE(test::mtimeOf(png), 1600000000);
        if (test::userXattrsWork(withDate)) {
            const auto status = platform::nativeFileSystem().readStatus(withDate.toStdString());
            QCOMPARE(status.created, std::optional<std::int64_t>(taken));
        }
    }

    void shiftAcrossTheSpringChange() {
        test::setTimeZone("Europe/Berlin");
        const QByteArray path = test::makeFile(dir(), "clock.txt");
        test::setTimes(path, at("Europe/Berlin", 2024, 3, 31, 1, 30, 0), 1600000000);
        view()->AddFile(path);
        selectAll();
        QVERIFY(runTimeTools([](CTimeTools& d) {
            choose(d, "modified", u"ずらす"_s);
            child<QSpinBox>(d, u"modifiedHours"_s)->setValue(1);
            child<QPushButton>(d, u"ok"_s)->click();
        }));
        QCOMPARE(cell(0, ColModified), u"2024/03/31 03:30:00"_s);
        QCOMPARE(*rows().row(0).modified - at("Europe/Berlin", 2024, 3, 31, 1, 30, 0), 3600);
        QVERIFY(m_services->prompt.shown.isEmpty());
    }

    void nameDatesAndCancel() {
        const QByteArray named = test::makeFile(dir(), "Screenshot 2024-01-02 at 03.04.05.png");
        const QByteArray plain = test::makeFile(dir(), "plain.txt");
        for (const QByteArray& path : {named, plain}) {
            test::setTimes(path, 1600000000, 1600000000);
            view()->AddFile(path);
        }
        selectAll();
        QVERIFY(runTimeTools([](CTimeTools& d) {
            choose(d, "modified", u"ファイル名の日付"_s);
            child<QPushButton>(d, u"cancel"_s)->click();
        }));
        QCOMPARE(rows().stagedCount(), 0);
        QVERIFY(!m_frame->IsChanged());
        QVERIFY(m_services->prompt.shown.isEmpty());

        QVERIFY(runTimeTools([](CTimeTools& d) {
            choose(d, "modified", u"ファイル名の日付"_s);
            choose(d, "accessed", u"更新日時をコピー"_s);
            child<QPushButton>(d, u"ok"_s)->click();
        }));
        QCOMPARE(cell(0, ColModified), u"2024/01/02 03:04:05"_s);
        // Copied from the time as it showed before the dialog.
        QCOMPARE(rows().row(0).accessed, std::optional<CalendarTime>(1600000000));
        QVERIFY(rows().row(0).staged);
        QVERIFY(!rows().row(1).staged);
        QCOMPARE(m_services->prompt.count(Kind::Information), 1);
    }

    void commandPlacesAndKey() {
        QCOMPARE(m_frame->action(ID_EDIT_TIMES)->text(), u"日時の一括変更...\tCtrl+T(&T)"_s);
        QVERIFY(!m_frame->action(ID_EDIT_TIMES)->icon().isNull());
        view()->AddFile(test::makeFile(dir(), "lonely.txt"));
        view()->selectionModel()->clearSelection();
        QVERIFY(!m_frame->action(ID_EDIT_TIMES)->isEnabled());
        QVERIFY(!m_frame->action(ID_CONTEXT_EDIT_TIMES)->isEnabled());
        // Reached anyway, the command does nothing without a selection.
        QVERIFY(!runTimeTools([](CTimeTools&) {}, [&] { m_frame->runCommand(ID_EDIT_TIMES); }));

        selectAll();
        QVERIFY(m_frame->action(ID_EDIT_TIMES)->isEnabled());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QVERIFY(runTimeTools([](CTimeTools& d) { child<QPushButton>(d, u"cancel"_s)->click(); },
                             [&] { QTest::keyClick(view(), Qt::Key_T, Qt::ControlModifier); }));
        QVERIFY(runTimeTools([](CTimeTools& d) { child<QPushButton>(d, u"cancel"_s)->click(); },
                             [&] { m_frame->action(ID_CONTEXT_EDIT_TIMES)->trigger(); }));
        QCOMPARE(rows().stagedCount(), 0);
    }
};

QTEST_MAIN(TestTimeToolsDialog)
#include "tst_timetoolsdialog.moc"
