#include "app/kelvoroapp.h"
#include "app/mainframe.h"
#include "platform/ini.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <sys/stat.h>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

private Q_SLOTS:
    void missingFirstFileEndsWithoutAWindow() {
        test::TestServices t;
        CKelvoroApp app(t.services);
        const QByteArray missing = dir() + "/nowhere.txt";
        QVERIFY(!app.InitInstance({missing, test::makeFile(dir(), "ok.txt")}));
        QCOMPARE(app.mainFrame(), nullptr);
        QCOMPARE(t.prompt.shown.size(), 1);
        QCOMPARE(t.prompt.shown[0].kind, test::FakePrompt::Kind::Exclamation);
        QCOMPARE(t.prompt.shown[0].text,
                 QString::fromLocal8Bit(missing) + u" が見つかりませんでした。"_s);
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                !QApplication::topLevelWidgets().first()->isVisible());
        QVERIFY(t.settings.recentFiles().isEmpty());
    }

    void directoryFirstIsAccessDenied() {
        test::TestServices t;
        CKelvoroApp app(t.services);
        QVERIFY(!app.InitInstance({dir()}));
        QCOMPARE(app.mainFrame(), nullptr);
        QCOMPARE(t.prompt.texts(),
                 QStringList{m_dir.path() + u" へのアクセスは拒否されました。"_s});
    }

    void filesAreListedWhenTheWindowFirstShows() {
        test::TestServices t;
        const QByteArray a = test::makeFile(dir(), "表 a.txt");
        const QByteArray b = test::makeFile(dir(), "\x95\x5c.txt"); // not valid UTF-8
        const QByteArray fifo = dir() + "/pipe";
        QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
        CKelvoroApp app(t.services);
        QVERIFY(app.InitInstance({a, dir(), fifo, b, dir() + "/missing", a}));
        CMainFrame* frame = app.mainFrame();
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->windowHandle()->title(), u"Kelvoro"_s); // nothing unsaved
        // Qt's own buttons and dialogs speak Japanese.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"キャンセル"_s);
        const FileListModel& rows = frame->view()->rows();
        QCOMPARE(rows.rowCount(), 2);
        QCOMPARE(rows.row(0).path(), a);
        QCOMPARE(rows.row(1).path(), b); // byte for byte
        // The repeated first file: one duplicate notice, nothing for the skipped entries.
        QCOMPARE(t.prompt.texts(), QStringList{u"既に存在します。"_s});
        QCOMPARE(t.settings.recentFiles(), QList<QByteArray>{a});
    }

    void columnWidthsSurviveARestart() {
        QFile::remove(QStringLiteral("quib.ini"));
        {
            test::TestServices t;
            CKelvoroApp app(t.services);
            QVERIFY(app.InitInstance({}));
            QHeaderView* header = app.mainFrame()->view()->horizontalHeader();
            for (int c = 0; c < 9; ++c)
                QCOMPARE(header->sectionSize(c), FileListModel::defaultColumnWidth(c));
            header->resizeSection(1, 250);
            QVERIFY(app.mainFrame()->close());
        }
        platform::IniFile ini("./quib.ini");
        QCOMPARE(ini.getInt("column", "1", -1), 250);
        QCOMPARE(ini.getInt("column", "8", -1), 40); // all nine written
        {
            test::TestServices t;
            CKelvoroApp app(t.services);
            QVERIFY(app.InitInstance({}));
            QCOMPARE(app.mainFrame()->view()->horizontalHeader()->sectionSize(1), 250);
            QCOMPARE(app.mainFrame()->view()->horizontalHeader()->sectionSize(0), 140);
        }
        QVERIFY(ini.setString("column", "2", "abc"));
        QVERIFY(ini.setString("column", "3", "12345678"));
        test::TestServices t;
        CKelvoroApp app(t.services);
        QVERIFY(app.InitInstance({}));
        QCOMPARE(app.mainFrame()->view()->columnWidthSetting(2), 0);
        QCOMPARE(app.mainFrame()->view()->columnWidthSetting(3), 1234567);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
