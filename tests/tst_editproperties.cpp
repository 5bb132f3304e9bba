// The edit and save commands end to end: rows staged through the real dialog, saved to real
// files, failures in the middle of a save, and the close question's Yes answer.
#include "app/mainframe.h"
#include "properties/change.h"
#include "statushelpers.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QDateEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <unistd.h>

#include <functional>

using namespace kelvoro;
using namespace kelvoro::test;
using namespace Qt::Literals::StringLiterals;
using Kind = test::FakePrompt::Kind;

namespace {

bool chattr(const char* flag, const QByteArray& path) {
    return test::run(u"chattr"_s, {QString::fromLatin1(flag), QFile::decodeName(path)}).first == 0;
}

bool hasBlob(const QByteArray& path) {
    return test::xattrOf(path, "user.DOSATTRIB").has_value();
}

template <typename T> T* child(CChange& d, const char* name) {
    return d.findChild<T*>(QLatin1String(name));
}

void setModified(CChange& d, QDate date, QTime time) {
    child<QDateEdit>(d, "modifiedDate")->setDate(date);
    child<QTimeEdit>(d, "modifiedTime")->setTime(time);
}

void press(CChange& d, const char* button) {
    child<QPushButton>(d, button)->click();
}

std::optional<CalendarTime> makeLocalTimeIn(const char* zone, int year, int month, int day,
                                            int hour, int minute, int second) {
    test::setTimeZone(zone);
    const auto t = makeLocalTime(year, month, day, hour, minute, second);
    test::setTimeZone("Asia/Tokyo");
    return t;
}

// 2010/08/07 09:05:03 in Tokyo.
constexpr std::int64_t kEdited = 1281139503;
const QString kEditedText = u"2010/08/07 09:05:03"_s;

} // namespace

class TestEditProperties : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<CMainFrame> m_frame;
    QList<QByteArray> m_paths;

    CTrazzleView* view() { return m_frame->view(); }
    FileListModel& rows() { return view()->rows(); }
    QString cell(int row, int column) {
        return rows().data(rows().index(row, column), Qt::DisplayRole).toString();
    }
    QList<test::FakePrompt::Shown>& shown() { return m_services->prompt.shown; }

    // Lists n new files, each with a modification time of 1500000000 + 100 * i; the given
    // ones read-only.
    void listFiles(int n, std::initializer_list<int> readOnly = {}) {
        for (int i = 0; i < n; ++i) {
            const QByteArray path =
                test::makeFile(QFile::encodeName(m_dir.path()), "f" + QByteArray::number(i));
            test::setTimes(path, 1500000000 + 100 * i, 1500000000);
            if (std::find(readOnly.begin(), readOnly.end(), i) != readOnly.end())
                ::chmod(path.constData(), 0444);
            view()->AddFile(path);
            m_paths.append(path);
        }
    }
    void select(std::initializer_list<int> rowList) {
        view()->selectionModel()->clearSelection();
        for (int r : rowList)
            view()->selectionModel()->select(rows().index(r, 0), QItemSelectionModel::Select |
                                                                     QItemSelectionModel::Rows);
    }

    // Runs a command that may open the property dialog; `act` works the dialog and ends it.
    // True when the dialog came up.
    bool withDialog(const std::function<void()>& command,
                    const std::function<void(CChange&)>& act) {
        bool shown = false;
        QTimer::singleShot(0, m_frame.get(), [&] {
            auto* d = qobject_cast<CChange*>(QApplication::activeModalWidget());
            if (!d)
                return;
            shown = true;
            act(*d);
            if (d->isVisible())
                d->reject();
        });
        command();
        QCoreApplication::processEvents();
        return shown;
    }
    bool editWith(const std::function<void(CChange&)>& act) {
        return withDialog([this] { m_frame->action(ID_EDIT_PROPERTIES)->trigger(); }, act);
    }

private Q_SLOTS:
    void initTestCase() {
        test::setTimeZone("Asia/Tokyo");
        ::umask(022);
        if (!userXattrsWork(makeFile(QFile::encodeName(m_dir.path()), "probe")))
            QSKIP("the temporary directory's file system stores no user extended attributes");
    }

    void init() {
        m_services = std::make_unique<test::TestServices>();
        m_frame = std::make_unique<CMainFrame>(m_services->services);
        m_paths.clear();
    }
    void cleanup() {
        for (const QByteArray& path : m_paths) {
            if (::access(path.constData(), F_OK) == 0)
                chattr("-i", path);
            ::unlink(path.constData());
        }
        m_frame.reset();
        m_services.reset();
    }

    void nothingWithoutASelection() {
        listFiles(2);
        QVERIFY(!m_frame->action(ID_EDIT_PROPERTIES)->isEnabled());
        // Double click and Enter reach the command whatever the selection.
        QVERIFY(!withDialog([this] { m_frame->runCommand(ID_EDIT_PROPERTIES); }, [](CChange&) {}));
        QVERIFY(!m_frame->IsChanged());
        QCOMPARE(rows().stagedCount(), 0);
    }

    void threeRowsTakeTheDialogsValues() {
        listFiles(3, {1});
        QCOMPARE(cell(1, ColReadOnly), u" "_s);
        const QString createdOfFirst = cell(0, ColCreated);
        const QString accessedOfFirst = cell(0, ColAccessed);
        select({0, 1, 2});

        QVERIFY(editWith([&](CChange& d) {
            // Seeded from the lowest selected row: 2017/07/14 11:40:00, not read-only.
            QCOMPARE(child<QDateEdit>(d, "modifiedDate")->date(), QDate(2017, 7, 14));
            QCOMPARE(child<QTimeEdit>(d, "modifiedTime")->time(), QTime(11, 40, 0));
            QVERIFY(!child<QCheckBox>(d, "readOnly")->isChecked());
            setModified(d, QDate(2010, 8, 7), QTime(9, 5, 3));
            press(d, "ok");
        }));

        for (int r = 0; r < 3; ++r) {
            QCOMPARE(cell(r, ColModified), kEditedText);
            QCOMPARE(cell(r, ColCreated), createdOfFirst);
            QCOMPARE(cell(r, ColAccessed), accessedOfFirst);
            QCOMPARE(cell(r, ColReadOnly), QString()); // the first row's marks for all
            QVERIFY(rows().row(r).staged);
            const QVariant color = rows().data(rows().index(r, ColName), Qt::ForegroundRole);
            QCOMPARE(qvariant_cast<QColor>(color), QColor(250, 0, 0));
            QVERIFY(!rows().data(rows().index(r, ColReadOnly), Qt::ForegroundRole).isValid());
        }
        QVERIFY(m_frame->IsChanged());
        QVERIFY(m_frame->action(ID_FILE_SAVE)->isEnabled());
        // Nothing reached the disk yet.
        QCOMPARE(mtimeOf(m_paths[1]), 1500000100);
        QCOMPARE(statOf(m_paths[1]).stx_mode & 07777u, 0444u);
    }

    // A time left alone in the dialog is staged as the very instant the row had, even where
    // its text names two instants or a date the pickers cannot show; a typed time in the
    // repeated hour is the earlier instant.
    void untouchedTimesKeepTheirInstant_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<std::int64_t>("instant");
        QTest::addColumn<QDateTime>("typed"); // local fields, or invalid for none
        QTest::addColumn<std::int64_t>("expected");
        const QDateTime none;
        // 2024-10-27 02:30 in Berlin: 00:30 UTC in summer time, 01:30 UTC after.
        QTest::newRow("repeated hour, first")
            << "Europe/Berlin"_ba << std::int64_t(1729989000) << none << std::int64_t(1729989000);
        QTest::newRow("repeated hour, second")
            << "Europe/Berlin"_ba << std::int64_t(1729992600) << none << std::int64_t(1729992600);
        const std::int64_t year999 = *makeLocalTimeIn("Asia/Tokyo", 999, 3, 4, 5, 6, 7);
        QTest::newRow("year 999") << "Asia/Tokyo"_ba << year999 << none << year999;
        const std::int64_t year12000 = *makeLocalTimeIn("Europe/Berlin", 12000, 1, 2, 3, 4, 5);
        QTest::newRow("year 12000") << "Europe/Berlin"_ba << year12000 << none << year12000;
        QTest::newRow("before 1970")
            << "Asia/Tokyo"_ba << std::int64_t(-300000000) << none << std::int64_t(-300000000);
        const QDateTime repeated(QDate(2024, 10, 27), QTime(2, 30, 0));
        // From 02:31, the second time round, to 02:30.
        QTest::newRow("typed in the repeated hour")
            << "Europe/Berlin"_ba << std::int64_t(1729992660) << repeated
            << std::int64_t(1729989000);
        QTest::newRow("typed, summer time read last")
            << "Europe/Berlin"_ba << std::int64_t(1720000000) << repeated
            << std::int64_t(1729989000);
    }
    void untouchedTimesKeepTheirInstant() {
        QFETCH(QByteArray, zone);
        QFETCH(std::int64_t, instant);
        QFETCH(QDateTime, typed);
        QFETCH(std::int64_t, expected);
        test::setTimeZone(zone.constData());
        const auto back = qScopeGuard([] { test::setTimeZone("Asia/Tokyo"); });
        listFiles(1);
        rows().stageEdit(0, std::nullopt, instant, std::nullopt, rows().row(0).flags());
        const std::optional<CalendarTime> accessed = rows().row(0).accessed;
        select({0});
        QVERIFY(editWith([&](CChange& d) {
            if (typed.isValid())
                setModified(d, typed.date(), typed.time());
            press(d, "ok");
        }));
        QCOMPARE(rows().row(0).modified, std::optional<CalendarTime>(expected));
        QCOMPARE(rows().row(0).accessed, accessed);
    }

    void cancelAndUncheckedTimes() {
        listFiles(2);
        select({0, 1});
        const QString before = cell(1, ColModified);
        QVERIFY(editWith([](CChange& d) {
            setModified(d, QDate(2001, 1, 1), QTime(1, 1, 1));
            press(d, "cancel");
        }));
        QCOMPARE(cell(1, ColModified), before);
        QCOMPARE(rows().stagedCount(), 0);
        QVERIFY(!m_frame->IsChanged());

        // Times unchecked: the time cells stay, the rows are still staged.
        QVERIFY(editWith([](CChange& d) {
            child<QCheckBox>(d, "changeTime")->click();
            child<QCheckBox>(d, "changeAttr")->click();
            child<QCheckBox>(d, "hidden")->click();
            press(d, "ok");
        }));
        QCOMPARE(cell(1, ColModified), before);
        QCOMPARE(cell(1, ColHidden), u" "_s);
        QCOMPARE(rows().stagedCount(), 2);
        QVERIFY(m_frame->IsChanged());
    }

    void saveWritesOnlyWhatWasEdited() {
        listFiles(3);
        // Row 0 is never edited; row 2 only gets a flag: neither may lose its fraction.
        for (int i : {0, 2}) {
            const struct timespec t[2] = {{1500000000, 250000000}, {1500000000, 500000000}};
            QCOMPARE(::utimensat(AT_FDCWD, m_paths[i].constData(), t, 0), 0);
        }
        select({1});
        QVERIFY(editWith([](CChange& d) {
            setModified(d, QDate(2010, 8, 7), QTime(9, 5, 3));
            press(d, "ok");
        }));
        select({2});
        QVERIFY(editWith([](CChange& d) {
            child<QCheckBox>(d, "changeTime")->click();
            child<QCheckBox>(d, "changeAttr")->click();
            child<QCheckBox>(d, "hidden")->click();
            press(d, "ok");
        }));

        m_frame->action(ID_FILE_SAVE)->trigger();
        QCOMPARE(m_services->prompt.texts(), QStringList{u"保存が完了しました"_s});
        QCOMPARE(shown()[0].kind, Kind::Information);
        QVERIFY(!m_frame->IsChanged());
        QCOMPARE(rows().stagedCount(), 0);
        QVERIFY(!m_frame->action(ID_FILE_SAVE)->isEnabled());

        QCOMPARE(mtimeOf(m_paths[1]), kEdited);
        QCOMPARE(statOf(m_paths[0]).stx_mtime.tv_nsec, 500000000u);
        QVERIFY(!hasBlob(m_paths[0]));
        QCOMPARE(statOf(m_paths[2]).stx_mtime.tv_nsec, 500000000u);
        QCOMPARE(statOf(m_paths[2]).stx_atime.tv_nsec, 250000000u);
        QVERIFY(hasBlob(m_paths[2]));
        QCOMPARE(m_services->services.fileSystem.readStatus(m_paths[2].toStdString()).attributes,
                 platform::attr::Hidden);
    }

    void failureInTheMiddle_data() {
        QTest::addColumn<bool>("immutable");
        QTest::addColumn<QString>("message");
        QTest::newRow("deleted since listed") << false << u" が見つかりませんでした。"_s;
        QTest::newRow("immutable") << true << u" へのアクセスは拒否されました。"_s;
    }
    void failureInTheMiddle() {
        QFETCH(bool, immutable);
        QFETCH(QString, message);
        listFiles(3, {0, 1, 2});
        select({0, 1, 2});
        // Every row: a new time and read-only cleared.
        QVERIFY(editWith([](CChange& d) {
            setModified(d, QDate(2010, 8, 7), QTime(9, 5, 3));
            child<QCheckBox>(d, "changeAttr")->click();
            child<QCheckBox>(d, "readOnly")->click();
            press(d, "ok");
        }));
        QCOMPARE(cell(1, ColReadOnly), QString());

        if (immutable) {
            if (!chattr("+i", m_paths[1]))
                QSKIP("chattr +i is refused on this file system");
        } else {
            QCOMPARE(::unlink(m_paths[1].constData()), 0);
        }

        m_frame->runCommand(ID_FILE_SAVE);
        QVERIFY(m_frame->IsChanged());
        QCOMPARE(m_services->prompt.texts(),
                 QStringList{QString::fromLocal8Bit(m_paths[1]) + message});
        QCOMPARE(shown()[0].kind, Kind::Stop);
        QCOMPARE(mtimeOf(m_paths[0]), kEdited);
        QVERIFY((statOf(m_paths[0]).stx_mode & S_IWUSR) != 0);
        QCOMPARE(mtimeOf(m_paths[2]), 1500000200);
        QCOMPARE(statOf(m_paths[2]).stx_mode & 07777u, 0444u);
        if (immutable) {
            QCOMPARE(statOf(m_paths[1]).stx_mode & 07777u, 0444u);
            QCOMPARE(mtimeOf(m_paths[1]), 1500000100);
        }
        QVERIFY(m_frame->IsChanged());
        QCOMPARE(rows().stagedCount(), 3);
        QVERIFY(m_frame->action(ID_FILE_SAVE)->isEnabled());
    }

    void closeQuestionYesSavesFirst() {
        listFiles(2);
        m_frame->show();
        select({1});
        QVERIFY(editWith([](CChange& d) {
            setModified(d, QDate(2010, 8, 7), QTime(9, 5, 3));
            press(d, "ok");
        }));
        QVERIFY(m_frame->close()); // the fake prompt answers Yes
        QCOMPARE(m_services->prompt.texts(),
                 QStringList({u"変更を保存しますか？"_s, u"保存が完了しました"_s}));
        QCOMPARE(mtimeOf(m_paths[1]), kEdited);
        QVERIFY(!m_frame->IsChanged());
    }

    void closeQuestionYesWithAFailingSaveKeepsTheWindow() {
        listFiles(2);
        m_frame->show();
        select({0});
        QVERIFY(editWith([](CChange& d) { press(d, "ok"); }));
        QCOMPARE(::unlink(m_paths[0].constData()), 0);
        QVERIFY(!m_frame->QuerySaveChanges());
        QVERIFY(!m_frame->close());
        QVERIFY(m_frame->isVisible());
        QCOMPARE(m_services->prompt.count(Kind::Stop), 2);
        QCOMPARE(m_services->prompt.count(Kind::Information), 0);
        QVERIFY(m_frame->IsChanged());
    }
};

QTEST_MAIN(TestEditProperties)
#include "tst_editproperties.moc"
