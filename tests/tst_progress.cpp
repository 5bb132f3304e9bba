// Progress and cancel for adding, saving and renaming: the dialog's timing and texts on a
// clock of the test's own, and each command cancelled part-way on real files.
#include "app/mainframe.h"
#include "presentation/rowprogress.h"
#include "rename/renamedialog.h"
#include "statushelpers.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace kelvoro;
using namespace std::chrono_literals;
using namespace Qt::Literals::StringLiterals;

namespace {

// 2010/08/07 09:05:03 in Tokyo.
constexpr std::int64_t kEdited = 1281139503;
constexpr std::int64_t kListed = 1500000000;

QStringList labelLines(const QProgressDialog& dialog) {
    return dialog.labelText().split(u'\n');
}

// Records every message, and what the list showed when it came up.
class ListWatchingPrompt : public test::FakePrompt {
public:
    void information(QWidget* parent, const QString& text) override {
        if (onMessage)
            onMessage();
        FakePrompt::information(parent, text);
    }
    std::function<void()> onMessage;
};

// Counts the progress dialogs that came on screen.
class ProgressShowCounter : public QObject {
public:
    ProgressShowCounter() { qApp->installEventFilter(this); }
    ~ProgressShowCounter() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            ++shown;
        return false;
    }
};

void insertAtFront(CReName* d, const QString& text) {
    d->findChild<QCheckBox*>(u"nameCheck"_s)->click();
    d->findChild<QRadioButton*>(u"frontRadio"_s)->click();
    auto* edit = d->findChild<QLineEdit*>(u"frontEdit"_s);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    d->findChild<QPushButton*>(u"okButton"_s)->click();
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    ListWatchingPrompt m_prompt;
    test::FakeShell m_shell;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<Services> m_services;
    std::unique_ptr<CMainFrame> m_frame;

    // What each refresh of the command's progress showed.
    struct Seen {
        int done;
        int total;
        QStringList label;
        int listedRows;
    };
    QList<Seen> m_seen;
    int m_cancelAt = -1; // the user cancels while the dialog shows this row
    QWidget* m_progressParent = nullptr;

    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }
    CTrazzleView& view() { return *m_frame->view(); }
    FileListModel& rows() { return view().rows(); }

    // The commands' progress shows at once and is redrawn for every row.
    void showProgressAtOnce() {
        view().setProgressFactory([this](QWidget* window, const QString& text) {
            m_progressParent = window;
            auto p = std::make_unique<RowProgress>(window, text,
                                                   ProgressTiming{0ms, 0ms, [] { return 0ms; }});
            connect(p.get(), &RowProgress::refreshed, this,
                    [this, raw = p.get()](int done, int total) {
                        m_seen.append({done, total, labelLines(*raw->dialog()), rows().rowCount()});
                        if (done == m_cancelAt)
                            raw->dialog()->findChild<QPushButton*>()->click();
                    });
            return p;
        });
    }

    QList<QByteArray> makeFiles(const QList<QByteArray>& names) {
        QList<QByteArray> paths;
        for (const QByteArray& name : names) {
            paths.append(test::makeFile(dir(), name));
            test::setTimes(paths.back(), kListed, kListed);
        }
        return paths;
    }
    QList<QByteArray> listedPaths() {
        QList<QByteArray> paths;
        for (int r = 0; r < rows().rowCount(); ++r)
            paths.append(rows().row(r).path());
        return paths;
    }
    void selectAll() {
        view().selectionModel()->select(
            QItemSelection(rows().index(0, 0), rows().index(rows().rowCount() - 1, 0)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private Q_SLOTS:
    void initTestCase() { test::setTimeZone("Asia/Tokyo"); }

    void init() {
        m_prompt.shown.clear();
        m_prompt.answers.clear();
        m_prompt.onMessage = nullptr;
        m_settings = std::make_unique<SettingsStore>();
        m_services = std::make_unique<Services>(
            Services{m_prompt, platform::nativeFileSystem(), m_shell, *m_settings});
        m_frame = std::make_unique<CMainFrame>(*m_services);
        m_frame->show();
        m_seen.clear();
        m_cancelAt = -1;
        m_progressParent = nullptr;
    }
    void cleanup() {
        m_frame.reset();
        m_services.reset();
        m_settings.reset();
        // By bytes: some names are not valid UTF-8.
        for (const auto& entry : std::filesystem::directory_iterator(test::toStd(dir())))
            std::filesystem::remove(entry.path());
    }

    void dialogShowsOnlyOnceTheWorkTakesLong() {
        QWidget window;
        window.show();
        std::chrono::milliseconds now{0};
        RowProgress progress(&window, u"保存しています…"_s,
                             ProgressTiming{500ms, 50ms, [&now] { return now; }});
        const QByteArray path = "/d/表\x95\x5c.txt"; // not valid UTF-8
        int asked = 0;
        const auto pathOf = [&] {
            ++asked;
            return path;
        };

        QVERIFY(progress.next(0, 10, pathOf));
        now = 499ms;
        QVERIFY(progress.next(1, 10, pathOf));
        // Waiting for an answer to a message starts the delay again.
        progress.restartDelay();
        now = 998ms;
        QVERIFY(progress.next(1, 10, pathOf));
        QCOMPARE(progress.dialog(), nullptr);
        QCOMPARE(asked, 0); // no path is built for a row that shows nothing

        now = 999ms;
        QVERIFY(progress.next(2, 10, pathOf));
        QProgressDialog* d = progress.dialog();
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->parentWidget(), &window);
        QCOMPARE(d->windowModality(), Qt::WindowModal);
        QCOMPARE(d->windowTitle(), u"Kelvoro"_s);
        QCOMPARE(d->findChild<QPushButton*>()->text(), u"キャンセル"_s);
        QCOMPARE(labelLines(*d),
                 (QStringList{u"保存しています…"_s, u"3 / 10"_s, u"/d/表\uFFFD\\.txt"_s}));
        QCOMPARE(d->maximum(), 10);
        QCOMPARE(d->value(), 2);

        // Redrawn at most every 50 ms.
        now = 1048ms;
        QVERIFY(progress.next(3, 10, pathOf));
        QCOMPARE(labelLines(*d)[1], u"3 / 10"_s);
        now = 1049ms;
        QVERIFY(progress.next(4, 10, pathOf));
        QCOMPARE(labelLines(*d)[1], u"5 / 10"_s);
        QCOMPARE(d->value(), 4);
        QCOMPARE(asked, 2);

        // A long path keeps its start and its name; its middle gives way.
        const QByteArray longPath = "/start/" + QByteArray(400, 'm') + "/name.txt";
        now = 2000ms;
        QVERIFY(progress.refresh(5, 10, longPath));
        const QString shown = labelLines(*d)[2];
        QVERIFY2(shown.startsWith(u"/start/"_s) && shown.endsWith(u"/name.txt"_s) &&
                     shown.contains(u'…') && shown.size() < 300,
                 qPrintable(shown));
    }

    void cancelStopsAtTheNextRow_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("cancel button") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancelStopsAtTheNextRow() {
        QFETCH(int, how);
        QWidget window;
        window.show();
        RowProgress progress(&window, u"追加しています…"_s,
                             ProgressTiming{0ms, 0ms, [] { return 0ms; }});
        connect(&progress, &RowProgress::refreshed, this, [&](int done, int) {
            if (done != 2)
                return;
            QProgressDialog* d = progress.dialog();
            if (how == 0)
                d->findChild<QPushButton*>()->click();
            else if (how == 1)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        const auto path = [] { return QByteArray("/d/f"); };
        QVERIFY(progress.next(0, 5, path));
        QVERIFY(progress.next(1, 5, path));
        QVERIFY(!progress.next(2, 5, path));
        QVERIFY(!progress.next(3, 5, path));
        QVERIFY(!progress.dialog()->isVisible());
    }

    void shortWorkShowsNoDialog() {
        ProgressShowCounter counter;
        const QList<QByteArray> paths = makeFiles({"a.txt", "b.txt", "c.txt"});
        view().addFiles(paths);
        QCOMPARE(listedPaths(), paths);
        rows().stageEdit(1, std::nullopt, kEdited, std::nullopt, rows().row(1).flags());
        m_frame->runCommand(ID_FILE_SAVE);
        QVERIFY(!m_frame->IsChanged());
        QCOMPARE(test::mtimeOf(paths[1]), kEdited);
        selectAll();
        test::WhenModalOpens<CReName> driver([](CReName* d) { insertAtFront(d, u"x_"_s); });
        m_frame->runCommand(ID_EDIT_RENAME);
        QVERIFY(driver.opened);
        QCOMPARE(rows().row(2).name, "x_c.txt"_ba);
        QCOMPARE(counter.shown, 0);

        // The same work with no delay does show it: the counter sees dialogs.
        showProgressAtOnce();
        view().addFiles(makeFiles({"d.txt"}));
        QCOMPARE(counter.shown, 1);
    }

    void addingListsAsItGoesAndKeepsWhatWasAddedWhenCancelled() {
        showProgressAtOnce();
        const QList<QByteArray> paths =
            makeFiles({"f0", "f1", "\x95\x5c f2", "f3", "f4", "f5"}); // f2: not UTF-8
        m_cancelAt = 4;
        view().addFiles(paths);

        QCOMPARE(listedPaths(), paths.mid(0, 4));
        QCOMPARE(m_progressParent, m_frame.get());
        QCOMPARE(m_seen.size(), 5);
        for (const Seen& s : m_seen) {
            // The list already shows every row the count says is done.
            QCOMPARE(s.listedRows, s.done);
            QCOMPARE(s.total, 6);
            QCOMPARE(s.label.value(0), u"追加しています…"_s);
            QCOMPARE(s.label.value(1), u"%1 / 6"_s.arg(s.done + 1));
        }
        QCOMPARE(m_seen[2].label.value(2), m_dir.path() + u"/\uFFFD\\ f2"_s);
        QVERIFY(m_prompt.shown.isEmpty());

        // Adding the rest later: each duplicate has its message, and the list shows the rows
        // before it when it comes up.
        m_cancelAt = -1;
        QList<int> listedAtMessage;
        m_prompt.onMessage = [&] { listedAtMessage.append(rows().rowCount()); };
        view().setProgressFactory([](QWidget* window, const QString& text) {
            return std::make_unique<RowProgress>(window, text,
                                                 ProgressTiming{1h, 1h, [] { return 0ms; }});
        });
        view().addFiles({paths[4], paths[3], paths[5], paths[4]});
        QCOMPARE(m_prompt.texts(), (QStringList{u"既に存在します。"_s, u"既に存在します。"_s}));
        QCOMPARE(listedAtMessage, (QList<int>{5, 6}));
        QCOMPARE(listedPaths(), paths);
    }

    // Statuses are read a block ahead; across the block's edge the order, each duplicate's
    // message, the caller's filter and the status of every row still hold.
    void largeListsKeepOrderDuplicatesAndFilterAcrossBlocks() {
        QList<QByteArray> names;
        for (int i = 0; i < 2100; ++i)
            names.append("n" + QByteArray::number(i));
        const QList<QByteArray> files = makeFiles(names);
        test::setTimes(files[2051], kEdited, kEdited);
        QList<QByteArray> paths = files;
        paths.insert(2048, files[2047]); // a duplicate just past the edge
        paths.append(files[0]);
        // Filtered out: files[10], and files[2049] (now at 2050).
        view().addFiles(paths, [](qsizetype i) { return i != 10 && i != 2050; });

        QList<QByteArray> expected = files;
        expected.removeAt(2049);
        expected.removeAt(10);
        QCOMPARE(listedPaths(), expected);
        QCOMPARE(m_prompt.texts(), (QStringList{u"既に存在します。"_s, u"既に存在します。"_s}));
        QCOMPARE(rows().row(2049).path(), files[2051]);
        QCOMPARE(rows().row(2049).modified, std::optional<CalendarTime>(kEdited));
        QCOMPARE(rows().row(2050).modified, std::optional<CalendarTime>(kListed));
    }

    void saveCancelledLeavesTheRestStaged() {
        const QList<QByteArray> paths = makeFiles({"s0", "s1", "s2", "s3", "s4"});
        view().addFiles(paths);
        for (int r : {0, 1, 3, 4})
            rows().stageEdit(r, std::nullopt, kEdited, std::nullopt, rows().row(r).flags());
        showProgressAtOnce();
        m_cancelAt = 2; // the third staged row: row 3

        m_frame->action(ID_FILE_SAVE)->trigger();

        QCOMPARE(test::mtimeOf(paths[0]), kEdited);
        QCOMPARE(test::mtimeOf(paths[1]), kEdited);
        for (int r : {2, 3, 4})
            QCOMPARE(test::mtimeOf(paths[r]), kListed);
        QCOMPARE(rows().stagedCount(), 4);
        for (int r : {0, 1, 3, 4})
            QVERIFY(rows().row(r).staged);
        QVERIFY(m_frame->IsChanged());
        QVERIFY(m_frame->action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(m_prompt.shown.isEmpty());
        QCOMPARE(m_seen.size(), 3);
        QCOMPARE(m_seen[2].label,
                 (QStringList{u"保存しています…"_s, u"3 / 4"_s, QFile::decodeName(paths[3])}));

        // The next save finishes the work; its progress is gone when the message comes.
        m_cancelAt = -1;
        bool progressOnScreen = true;
        m_prompt.onMessage = [&] {
            const QList<QWidget*> windows = QApplication::topLevelWidgets();
            progressOnScreen = std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
                return qobject_cast<QProgressDialog*>(w) && w->isVisible();
            });
        };
        m_frame->action(ID_FILE_SAVE)->trigger();
        QVERIFY(!progressOnScreen);
        for (int r : {0, 1, 3, 4})
            QCOMPARE(test::mtimeOf(paths[r]), kEdited);
        QCOMPARE(m_prompt.texts(), QStringList{u"保存が完了しました"_s});
        QVERIFY(!m_frame->IsChanged());
        QCOMPARE(rows().stagedCount(), 0);
    }

    void closeKeepsTheWindowWhenItsSaveIsCancelled() {
        const QList<QByteArray> paths = makeFiles({"c0", "c1"});
        view().addFiles(paths);
        rows().stageEdit(1, std::nullopt, kEdited, std::nullopt, rows().row(1).flags());
        showProgressAtOnce();
        m_cancelAt = 0;
        m_prompt.answers = {Prompt::Answer::Yes};

        QVERIFY(!m_frame->close());
        QVERIFY(m_frame->isVisible());
        QCOMPARE(m_prompt.texts(), QStringList{u"変更を保存しますか？"_s});
        QCOMPARE(test::mtimeOf(paths[1]), kListed);
        QVERIFY(m_frame->IsChanged());
        QVERIFY(rows().row(1).staged);
    }

    void renameCancelledKeepsTheRowsDoneSoFar() {
        const QList<QByteArray> paths = makeFiles({"r0.txt", "r1.txt", "r2.txt", "r3.txt"});
        view().addFiles(paths);
        selectAll();
        showProgressAtOnce();
        m_cancelAt = 2;

        test::WhenModalOpens<CReName> driver([](CReName* d) { insertAtFront(d, u"new_"_s); });
        m_frame->action(ID_EDIT_RENAME)->trigger();
        QVERIFY(driver.opened);

        const QList<QByteArray> names = {"new_r0.txt", "new_r1.txt", "r2.txt", "r3.txt"};
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(rows().row(r).name, names[r]);
            QVERIFY(QFile::exists(QFile::decodeName(dir() + '/' + names[r])));
        }
        QVERIFY(!QFile::exists(QFile::decodeName(paths[0])));
        QCOMPARE(m_seen.size(), 3);
        QCOMPARE(m_seen[2].label, (QStringList{u"名前を変更しています…"_s, u"3 / 4"_s,
                                               QFile::decodeName(paths[2])}));
        QCOMPARE(m_prompt.texts(), QStringList{u"ファイル名を変更してもよろしいですか？"_s});
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
