#include "app/aboutdlg.h"
#include "filelist/folderdialog.h"
#include "platform/photodate.h"
#include "presentation/prompt.h"
#include "properties/change.h"
#include "properties/stagetimes.h"
#include "properties/timetoolsdialog.h"
#include "rename/renamedialog.h"
#include "support/everydialog.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

// Every text the accessible tree holds below (and at) the interface.
QStringList accessibleTexts(QAccessibleInterface* iface) {
    QStringList texts = {iface->text(QAccessible::Name), iface->text(QAccessible::Value)};
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface* child = iface->child(i))
            texts += accessibleTexts(child);
    return texts;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;

    QByteArray file(const char* name) {
        return test::makeFile(QFile::encodeName(m_dir.path()), name);
    }

private Q_SLOTS:
    void listCellsReadTheirTextFlagsAndStagedState() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        view.AddFile(file("a.txt"));
        view.AddFile(file("b.txt"));
        RowFlags flags;
        flags.readOnly = true;
        flags.archive = true;
        view.rows().stageEdit(1, std::nullopt, std::nullopt, std::nullopt, flags);
        view.resize(900, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view);
        QCOMPARE(list->text(QAccessible::Name), u"ファイル一覧"_s);
        QAccessibleTableInterface* table = list->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 2);
        const auto cell = [table](int row, int column) {
            QAccessibleInterface* c = table->cellAt(row, column);
            if (!c)
                qFatal("no cell %d,%d", row, column);
            return c;
        };
        QCOMPARE(cell(0, ColName)->text(QAccessible::Name), u"a.txt"_s);
        QCOMPARE(cell(0, ColDirectory)->text(QAccessible::Name), m_dir.path());
        QCOMPARE(cell(0, ColModified)->text(QAccessible::Name),
                 view.model()->index(0, ColModified).data().toString());
        QVERIFY(!cell(0, ColModified)->text(QAccessible::Name).isEmpty());

        QCOMPARE(cell(1, ColReadOnly)->text(QAccessible::Name), u"読み取り専用: はい"_s);
        QVERIFY(cell(1, ColReadOnly)->state().checked);
        QCOMPARE(cell(1, ColHidden)->text(QAccessible::Name), u"隠しファイル: いいえ"_s);
        QVERIFY(!cell(1, ColHidden)->state().checked);
        QCOMPARE(cell(1, ColArchive)->text(QAccessible::Name), u"アーカイブ: はい"_s);
        QCOMPARE(cell(1, ColIndex)->text(QAccessible::Name), u"インデックス: いいえ"_s);
        QCOMPARE(cell(0, ColReadOnly)->text(QAccessible::Name), u"読み取り専用: いいえ"_s);
        QVERIFY(!cell(0, ColReadOnly)->state().checked);

        // The staged row says so on every cell; the other says nothing.
        for (int c = 0; c < ColumnCount; ++c) {
            QCOMPARE(cell(1, c)->text(QAccessible::Description), u"未保存の変更があります"_s);
            QVERIFY(cell(0, c)->text(QAccessible::Description).isEmpty());
        }
        view.rows().unstageRow(1);
        QVERIFY(cell(1, ColName)->text(QAccessible::Description).isEmpty());
    }

    void folderRowsReadAsTheListShowsThem() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        QVERIFY(QDir(m_dir.path()).mkdir(u"sub"_s));
        view.AddFile(QFile::encodeName(m_dir.path() + u"/sub"_s));
        QCOMPARE(view.model()->index(0, ColName).data(Qt::AccessibleTextRole).toString(),
                 u"sub/"_s);
    }

    void everyDialogControlHasAName() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        view.AddFile(file("c.txt"));
        test::EveryDialog dialogs(t.prompt, t.shell, view, QFile::encodeName(m_dir.path()),
                                  "c.txt");
        for (QDialog* dialog : dialogs.all()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QStringList unnamed;
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                // Inner parts of a control (the line edit of a spin box) speak through it.
                if (!w->isVisible() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() ||
                    w->objectName().startsWith(u"qt_"_s))
                    continue;
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
                if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << QLatin1StringView(w->metaObject()->className()) + u' ' +
                                   w->objectName();
            }
            QVERIFY2(unnamed.isEmpty(),
                     qPrintable(dialog->objectName() + u": "_s + unnamed.join(u", "_s)));
            dialog->hide();
        }
    }

    void propertyDialogTabOrderFollowsTheTemplate() {
        CChange dialog;
        const QStringList expected = {u"ok"_s,           u"cancel"_s,      u"readOnly"_s,
                                      u"hidden"_s,       u"archive"_s,     u"index"_s,
                                      u"changeAttr"_s,   u"createdDate"_s, u"modifiedDate"_s,
                                      u"accessedDate"_s, u"createdTime"_s, u"modifiedTime"_s,
                                      u"accessedTime"_s, u"changeTime"_s};
        QWidget* start = dialog.findChild<QWidget*>(u"ok"_s);
        QStringList chain;
        QWidget* w = start;
        do {
            if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != start);
        QCOMPARE(chain, expected);
    }

    void aboutLinkOpensFromTheKeyboard() {
        test::TestServices t;
        const QUrl guide(u"file:///guide/index.html"_s);
        CAboutDlg about(t.shell, guide);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QWidget* link = about.findChild<QWidget*>(u"linkLabel"_s);
        QTest::keyClick(&about, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), link);
        QTest::keyClick(link, Qt::Key_Return);
        QTest::keyClick(link, Qt::Key_Space);
        QCOMPARE(t.shell.urls, (QList<QUrl>{guide, guide}));
        QVERIFY(about.isVisible());
    }

    void messageIsADialogWithReadableText() {
        MessageBoxPrompt prompt;
        const QString text = u"変更を保存しますか？"_s;
        QAccessible::Role role = QAccessible::NoRole;
        QStringList texts;
        QTimer::singleShot(0, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(qobject_cast<QMessageBox*>(box));
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
            role = iface->role();
            texts = accessibleTexts(iface);
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
        });
        prompt.yesNoCancel(nullptr, text);
        QVERIFY2(role == QAccessible::Dialog || role == QAccessible::AlertMessage,
                 qPrintable(QString::number(role)));
        QVERIFY2(texts.contains(text), qPrintable(texts.join(u'|')));
        QVERIFY(texts.contains(u"Kelvoro"_s));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
