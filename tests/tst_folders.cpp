// The folder commands in the window: File > Open folder with its dialog, the one message at
// the end, dropped folders, sorting by the column headers, and the whole way from adding a
// folder to a save inside a renamed subfolder.
#include "app/mainframe.h"
#include "filelist/folderdialog.h"
#include "platform/filesystem.h"
#include "platform/folderreader.h"
#include "presentation/rowprogress.h"
#include "rename/renamedialog.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <sys/stat.h>

#include <cerrno>
#include <map>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

namespace {

struct FolderChoice {
    bool recurse = true;
    bool listFolders = false;
    bool includeHidden = false;
    QString patterns;
};

// Scripts the folder chooser and then the options dialog of File > Open folder.
class FolderCommandDriver {
public:
    FolderCommandDriver(const QByteArray& folder, const FolderChoice& choice)
        : chooser([folder](QFileDialog* d) {
              d->setDirectory(QFile::decodeName(folder));
              d->selectFile(QFile::decodeName(folder));
              static_cast<QDialog*>(d)->accept();
          }),
          options([choice](CFolderDlg* d) {
              d->findChild<QCheckBox*>(u"recurse"_s)->setChecked(choice.recurse);
              d->findChild<QCheckBox*>(u"listFolders"_s)->setChecked(choice.listFolders);
              d->findChild<QCheckBox*>(u"includeHidden"_s)->setChecked(choice.includeHidden);
              d->findChild<QLineEdit*>(u"patterns"_s)->setText(choice.patterns);
              d->findChild<QPushButton*>(u"ok"_s)->click();
          }) {}

    test::WhenModalOpens<QFileDialog> chooser;
    test::WhenModalOpens<CFolderDlg> options;
};

// Plays folders that cannot be read, many of them.
class FailingReader : public platform::FolderReader {
public:
    int readFolder(const std::string& path, bool, platform::FolderIdentity& identity,
                   std::vector<platform::FolderEntry>& entries) const override {
        entries.clear();
        identity = {1, std::hash<std::string>{}(path)};
        if (path == "/r") {
            for (int i = 0; i < 12; ++i)
                entries.push_back({"locked" + std::to_string(i), platform::EntryType::Directory});
            entries.push_back({"a-loop", platform::EntryType::Directory});
            return 0;
        }
        if (path == "/r/a-loop") {
            identity = {1, std::hash<std::string>{}("/r")};
            return 0;
        }
        return EACCES;
    }
};

} // namespace

class TestFolders : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    static QByteArrayList names(const FileListModel& rows) {
        QByteArrayList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.row(r).name;
        return out;
    }

    // photos/{b10.jpg, b2.jpg, trip/{c.JPG, note.txt}, .thumbs.jpg}
    QByteArray makePhotos(const QByteArray& name) {
        const QByteArray root = dir() + '/' + name;
        ::mkdir(root.constData(), 0755);
        ::mkdir((root + "/trip").constData(), 0755);
        const std::map<QByteArray, std::int64_t> files = {{"b10.jpg", 1600000300},
                                                          {"b2.jpg", 1600000100},
                                                          {".thumbs.jpg", 1600000000},
                                                          {"trip/c.JPG", 1600000200},
                                                          {"trip/note.txt", 1600000400}};
        for (const auto& [file, time] : files)
            test::setTimes(test::makeFile(root, file), time, time);
        return root;
    }

private Q_SLOTS:
    void init() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Hollenby"_s, u"Kelvoro"_s)
            .clear();
    }

    void commandInMenuAndToolbar() {
        test::TestServices t;
        CMainFrame frame(t.services);
        QAction* action = frame.action(ID_FILE_OPEN_FOLDER);
        QVERIFY(action && action->isEnabled());
        QCOMPARE(action->shortcut(), QKeySequence(u"Ctrl+Shift+O"_s));
        QVERIFY(!action->icon().isNull());
        const QList<QAction*> file = frame.menuBar()->actions().constFirst()->menu()->actions();
        QCOMPARE(file.indexOf(action), file.indexOf(frame.action(ID_FILE_OPEN)) + 1);
        QStringList tips;
        for (QAction* button : frame.toolBar()->actions())
            tips << button->toolTip();
        QCOMPARE(tips.mid(0, 3), (QStringList{u"開く"_s, u"フォルダーを開く"_s, u"保存"_s}));
    }

    // Duplicates are counted into one message; the choices come back for the next folder.
    void openFolderAddsOnceAndReportsOnce() {
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray root = makePhotos("open");
        frame.view()->AddFile(root + "/b2.jpg");
        {
            FolderCommandDriver driver(root, {true, true, false, u"*.JPG"_s});
            frame.runCommand(ID_FILE_OPEN_FOLDER);
            QVERIFY(driver.chooser.opened && driver.options.opened);
        }
        const FileListModel& rows = frame.view()->rows();
        QCOMPARE(names(rows), (QByteArrayList{"b2.jpg", "open", "b10.jpg", "trip", "c.JPG"}));
        QVERIFY(rows.row(1).folder && rows.row(3).folder && !rows.row(4).folder);
        QCOMPARE(t.prompt.texts(), QStringList{u"1 件は既に一覧にあります。"_s});
        QCOMPARE(frame.view()->lastFolderOptions().patterns, u"*.JPG"_s);

        // Everything listed already: the same single message, nothing new.
        t.prompt.shown.clear();
        test::WhenModalOpens<CFolderDlg> check([](CFolderDlg* d) {
            QVERIFY(d->findChild<QCheckBox*>(u"recurse"_s)->isChecked());
            QCOMPARE(d->findChild<QLineEdit*>(u"patterns"_s)->text(), u"*.JPG"_s);
            d->findChild<QPushButton*>(u"ok"_s)->click();
        });
        test::WhenModalOpens<QFileDialog> chooser([&root](QFileDialog* d) {
            d->selectFile(QFile::decodeName(root));
            static_cast<QDialog*>(d)->accept();
        });
        frame.runCommand(ID_FILE_OPEN_FOLDER);
        QVERIFY(check.opened);
        QCOMPARE(rows.rowCount(), 5);
        QCOMPARE(t.prompt.texts(), QStringList{u"5 件は既に一覧にあります。"_s});
    }

    void unreadableFoldersNamedOnce() {
        test::TestServices t;
        CMainFrame frame(t.services);
        FailingReader reader;
        frame.view()->setFolderReader(reader);
        frame.view()->addFolder("/r", {true, false, false, {}});
        QCOMPARE(t.prompt.shown.size(), 1);
        QCOMPARE(t.prompt.shown[0].kind, test::FakePrompt::Kind::Exclamation);
        const QStringList lines = t.prompt.shown[0].text.split(u'\n');
        QCOMPARE(lines.value(0), u"13 個のフォルダーを読み込めませんでした。"_s);
        QCOMPARE(lines.value(1), u"/r/a-loop（既に読んだフォルダーです）"_s);
        QCOMPARE(lines.value(2), u"/r/locked0（アクセスが拒否されました）"_s);
        QCOMPARE(lines.constLast(), u"ほか 3 個"_s);
        QCOMPARE(lines.size(), 12);
    }

    // The walk shows what it found so far; a cancel there adds nothing, a cancel while the
    // files are added keeps the rows added until then.
    void progressAndCancel_data() {
        QTest::addColumn<int>("cancelAtRefresh");
        QTest::addColumn<int>("rowsLeft");
        QTest::newRow("while reading the folders") << 1 << 0;
        QTest::newRow("while adding the files") << 4 << 1;
        QTest::newRow("not cancelled") << -1 << 4;
    }
    void progressAndCancel() {
        QFETCH(int, cancelAtRefresh);
        QFETCH(int, rowsLeft);
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray root = makePhotos("cancel" + QByteArray::number(cancelAtRefresh));
        QStringList seen;
        frame.view()->setProgressFactory([&](QWidget* window, const QString& text) {
            auto p = std::make_unique<RowProgress>(window, text,
                                                   ProgressTiming{0ms, 0ms, [] { return 0ms; }});
            connect(p.get(), &RowProgress::refreshed, this,
                    [&seen, cancelAtRefresh, raw = p.get()](int, int total) {
                        seen << raw->dialog()->labelText().section(u'\n', 0, 1) +
                                    (total == 0 ? u" (busy)"_s : QString());
                        if (seen.size() == cancelAtRefresh)
                            raw->dialog()->findChild<QPushButton*>()->click();
                    });
            return p;
        });
        frame.view()->addFolder(root, {true, false, false, {}});
        QCOMPARE(frame.view()->rows().rowCount(), rowsLeft);
        QCOMPARE(seen.value(0), u"フォルダーを読んでいます…\n0 件 (busy)"_s);
        QVERIFY(t.prompt.shown.isEmpty());
        if (cancelAtRefresh == 1)
            return;
        QCOMPARE(seen.value(1), u"フォルダーを読んでいます…\n2 件 (busy)"_s);
        QCOMPARE(seen.value(2), u"追加しています…\n1 / 4"_s);
    }

    // Hidden by its attribute, as Samba and Windows mark it, not only by a leading ".".
    void hiddenAttributeKeepsAFileOut_data() {
        QTest::addColumn<bool>("includeHidden");
        QTest::newRow("without hidden files") << false;
        QTest::newRow("with hidden files") << true;
    }
    void hiddenAttributeKeepsAFileOut() {
        QFETCH(bool, includeHidden);
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray root = dir() + (includeHidden ? "/attr-with" : "/attr-without");
        ::mkdir(root.constData(), 0755);
        const QByteArray marked = test::makeFile(root, "desktop.ini");
        test::makeFile(root, "photo.jpg");
        platform::FileStatus hidden;
        hidden.attributes = platform::attr::Hidden | platform::attr::Archive;
        try {
            platform::nativeFileSystem().writeStatus(marked.toStdString(), hidden);
        } catch (const platform::FileError&) {
            QSKIP("this file system keeps no attributes");
        }
        frame.view()->addFolder(root, {false, false, includeHidden, {}});
        const QByteArrayList expected = includeHidden ? QByteArrayList{"desktop.ini", "photo.jpg"}
                                                      : QByteArrayList{"photo.jpg"};
        QCOMPARE(names(frame.view()->rows()), expected);
    }

    void folderRowOpensInTheFileManager() {
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray root = makePhotos("open-row");
        frame.view()->addFolder(root, {false, true, false, u"*.none"_s});
        QCOMPARE(names(frame.view()->rows()), (QByteArrayList{"open-row", "trip"}));
        frame.view()->selectRow(1);
        frame.runCommand(ID_CONTEXT_OPEN);
        QCOMPARE(t.shell.opened, QList<QByteArray>{root + "/trip"});
    }

    void droppedFoldersPointToTheCommand_data() {
        QTest::addColumn<bool>("withFile");
        QTest::newRow("only folders") << false;
        QTest::newRow("a folder and a file") << true;
    }
    void droppedFoldersPointToTheCommand() {
        QFETCH(bool, withFile);
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray root = makePhotos(withFile ? "dropmix" : "droponly");
        QMimeData mime;
        QByteArray uris = "file://" + root.toPercentEncoding("/") + "\r\n";
        if (withFile)
            uris += "file://" + (root + "/b2.jpg").toPercentEncoding("/") + "\r\n";
        mime.setData(u"text/uri-list"_s, uris);
        frame.show();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        QTRY_COMPARE(frame.view()->rows().rowCount(), withFile ? 1 : 0);
        QTest::qWait(20);
        const QString hint = u"フォルダーは [ファイル]-[フォルダーを開く] で追加できます"_s;
        QCOMPARE(frame.statusBar()->currentMessage() == hint, !withFile);
        QVERIFY(t.prompt.shown.isEmpty());
    }

    // Headers sort the rows; the sort is remembered; rows added later wait at the end.
    void headerClicksSortAndAreRemembered() {
        test::TestServices t;
        const QByteArray root = makePhotos("sort");
        {
            CMainFrame frame(t.services);
            frame.show();
            CTrazzleView* view = frame.view();
            view->addFolder(root, {true, false, false, {}});
            QHeaderView* header = view->horizontalHeader();
            auto click = [header](int column) {
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                  QPoint(header->sectionViewportPosition(column) + 5, 5));
            };
            click(ColName);
            QCOMPARE(names(view->rows()),
                     (QByteArrayList{"b2.jpg", "b10.jpg", "c.JPG", "note.txt"}));
            QCOMPARE(header->sortIndicatorSection(), int(ColName));
            click(ColModified);
            click(ColModified);
            QCOMPARE(names(view->rows()),
                     (QByteArrayList{"note.txt", "b10.jpg", "c.JPG", "b2.jpg"}));
            QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
            auto* unsorted = frame.statusBar()->findChild<QLabel*>(u"unsortedIndicator"_s);
            QVERIFY(unsorted->isHidden());
            view->AddFile(root + "/.thumbs.jpg");
            QCOMPARE(view->rows().row(4).name, ".thumbs.jpg"_ba);
            QVERIFY(!unsorted->isHidden());
            // Unsorted: the same header sorts again in the same order first.
            click(ColModified);
            QCOMPARE(view->rows().row(4).name, ".thumbs.jpg"_ba);
            QCOMPARE(view->rows().row(0).name, "note.txt"_ba);
            QVERIFY(unsorted->isHidden());
        }
        CMainFrame next(t.services);
        QHeaderView* header = next.view()->horizontalHeader();
        QCOMPARE(header->sortIndicatorSection(), int(ColModified));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    // A folder of photos with a subfolder added, sorted by modification time, the subfolder
    // renamed and a file inside it saved: all of it on disk as the list shows it.
    void addSortRenameSave() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        const QByteArray root = makePhotos("whole");
        {
            FolderCommandDriver driver(root, {true, true, false, u"*.jpg"_s});
            frame.runCommand(ID_FILE_OPEN_FOLDER);
        }
        CTrazzleView* view = frame.view();
        FileListModel& rows = view->rows();
        view->sortByHeader(ColModified);
        QCOMPARE(names(rows), (QByteArrayList{"b2.jpg", "c.JPG", "b10.jpg", "whole", "trip"}));
        // Folder rows carry the times their folders have now: the last two.
        const int trip = static_cast<int>(names(rows).indexOf("trip"));
        view->selectRow(trip);
        test::WhenModalOpens<CReName> rename([](CReName* d) {
            d->findChild<QCheckBox*>(u"nameCheck"_s)->click();
            d->findChild<QRadioButton*>(u"frontRadio"_s)->click();
            d->findChild<QLineEdit*>(u"frontEdit"_s)->setText(u"2020_"_s);
            d->findChild<QPushButton*>(u"okButton"_s)->click();
        });
        frame.runCommand(ID_EDIT_RENAME);
        QVERIFY(rename.opened);
        QCOMPARE(rows.row(1).path(), root + "/2020_trip/c.JPG");

        rows.stageEdit(1, std::nullopt, 1281152096, std::nullopt, rows.row(1).flags());
        frame.runCommand(ID_FILE_SAVE);
        QCOMPARE(t.prompt.texts(), (QStringList{u"ファイル名を変更してもよろしいですか？"_s,
                                                u"保存が完了しました"_s}));
        struct stat st {};
        QCOMPARE(::stat((root + "/2020_trip/c.JPG").constData(), &st), 0);
        QCOMPARE(std::int64_t(st.st_mtime), std::int64_t(1281152096));
        QVERIFY(!rows.row(1).staged);
    }
};

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
