#include "app/aboutdlg.h"
#include "app/commands.h"
#include "app/languagemenu.h"
#include "app/mainframe.h"
#include "app/translations.h"
#include "common/fileerrortext.h"
#include "filelist/folderdialog.h"
#include "platform/linux/programchooser.h"
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
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

bool hasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x9fff) ||
            (u >= 0xff00 && u <= 0xffef))
            return true;
    }
    return false;
}

void addActionTexts(QStringList& texts, const QList<QAction*>& actions) {
    for (const QAction* a : actions) {
        // The language menu names Japanese in Japanese, in every language.
        if (a->objectName() == u"language-ja")
            continue;
        texts << a->text() << a->toolTip() << a->statusTip() << a->iconText();
    }
}

// Every text a user or a screen reader meets in the window or dialog, with where it was found.
QStringList visibleTexts(QWidget* root) {
    QStringList texts;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const QString where =
            QLatin1StringView(w->metaObject()->className()) + u' ' + w->objectName() + u": "_s;
        QStringList own = {w->windowTitle(), w->toolTip(), w->statusTip(), w->accessibleName(),
                           w->accessibleDescription()};
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            own << b->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            own << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            own << g->title();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            own << e->placeholderText();
        if (auto* s = qobject_cast<QSpinBox*>(w))
            own << s->prefix() << s->suffix();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                own << c->itemText(i);
        if (auto* m = qobject_cast<QMenu*>(w))
            own << m->title();
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                own << v->model()->headerData(c, Qt::Horizontal).toString();
        addActionTexts(own, w->actions());
        for (const QString& t : own)
            if (!t.isEmpty())
                texts << where + t;
    }
    return texts;
}

QStringList japaneseTexts(QWidget* root) {
    QStringList found;
    for (const QString& t : visibleTexts(root))
        if (hasJapanese(t.section(u": "_s, 1)))
            found << t;
    return found;
}

// QApplication posts the change to every window; a test sees it once those events are done.
void choose(LanguageMenu* menu, LanguageChoice choice) {
    menu->choiceAction(choice)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

QStringList menuTitles(const CMainFrame& frame) {
    QStringList titles;
    for (const QAction* a : frame.menuBar()->actions())
        titles << a->text();
    return titles;
}

QStringList toolTips(const CMainFrame& frame) {
    QStringList tips;
    for (const QAction* a : frame.toolBar()->actions())
        if (!a->isSeparator())
            tips << a->toolTip();
    return tips;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;

    QByteArray file(const char* name) {
        return test::makeFile(QFile::encodeName(m_dir.path()), name);
    }

private Q_SLOTS:
    // Each case starts from no stored choice, whatever an earlier run left behind.
    void init() {
        SettingsStore().setLanguageChoice(LanguageChoice::System);
        applyLanguage(UiLanguage::Japanese);
    }
    void cleanupTestCase() { applyLanguage(UiLanguage::Japanese); }

    void switchFromTheViewMenuRetranslatesTheOpenWindow() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.view()->AddFile(file("a.txt"));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* languages = frame.findChild<LanguageMenu*>();
        QVERIFY(languages);
        QCOMPARE(languages->title(), u"言語(&L)"_s);
        QVERIFY(languages->choiceAction(LanguageChoice::System)->isChecked());

        choose(languages, LanguageChoice::English);
        QCOMPARE(appliedLanguage(), UiLanguage::English);
        QCOMPARE(menuTitles(frame), (QStringList{u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Help"_s}));
        QCOMPARE(frame.action(ID_FILE_OPEN)->text(), u"&Open...\tCtrl+O"_s);
        QCOMPARE(frame.action(ID_FILE_OPEN)->statusTip(), u"Add existing files to the list"_s);
        QCOMPARE(toolTips(frame).first(), u"Open"_s);
        QCOMPARE(frame.statusBar()->currentMessage(), u"Ready"_s);
        QCOMPARE(frame.view()->model()->headerData(ColDirectory, Qt::Horizontal).toString(),
                 u"Folder"_s);
        QCOMPARE(frame.view()->accessibleName(), u"File list"_s);
        QCOMPARE(languages->title(), u"&Language"_s);
        QCOMPARE(SettingsStore().languageChoice(), LanguageChoice::English);
        QVERIFY2(japaneseTexts(&frame).isEmpty(), qPrintable(japaneseTexts(&frame).join(u'\n')));

        // Back to the texts the program is written in, exactly.
        choose(languages, LanguageChoice::Japanese);
        QCOMPARE(appliedLanguage(), UiLanguage::Japanese);
        QCOMPARE(menuTitles(frame),
                 (QStringList{u"ファイル(&F)"_s, u"編集(&E)"_s, u"表示(&V)"_s, u"ヘルプ(&H)"_s}));
        QCOMPARE(frame.action(ID_EDIT_CHANGE_ASSOCIATION)->text(),
                 u"プログラムの関連付け変更\tCtrl+E(&E)"_s);
        QCOMPARE(
            toolTips(frame),
            (QStringList{u"開く"_s, u"フォルダーを開く"_s, u"保存"_s, u"元に戻す"_s, u"やり直し"_s,
                         u"ファイルプロパティの編集"_s, u"日時の一括変更"_s, u"ファイル名の編集"_s,
                         u"関連付け変更"_s, u"全クリア"_s, u"クリア"_s, u"バージョン情報"_s}));
        QCOMPARE(frame.statusBar()->currentMessage(), u"レディ"_s);
        QStringList headers;
        for (int c = 0; c < ColumnCount; ++c)
            headers << frame.view()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers,
                 (QStringList{u"ﾃﾞｨﾚｸﾄﾘ"_s, u"ﾌｧｲﾙ"_s, u"作成日時"_s, u"更新日時"_s, u"ｱｸｾｽ日時"_s,
                              u"読み取り専用"_s, u"隠しﾌｧｲﾙ"_s, u"ｱｰｶｲﾌﾞ"_s, u"ｲﾝﾃﾞｯｸｽ"_s}));
        QCOMPARE(SettingsStore().languageChoice(), LanguageChoice::Japanese);
    }

    void systemChoiceFollowsTheSession_data() {
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("fileMenu");
        QTest::newRow("English session") << QByteArray("en_US.UTF-8") << u"&File"_s;
        QTest::newRow("Japanese session") << QByteArray("ja_JP.UTF-8") << u"ファイル(&F)"_s;
        QTest::newRow("C session") << QByteArray("C.UTF-8") << u"ファイル(&F)"_s;
    }
    void systemChoiceFollowsTheSession() {
        QFETCH(QByteArray, lang);
        QFETCH(QString, fileMenu);
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", lang);
        test::TestServices t;
        t.settings.setLanguageChoice(LanguageChoice::English);
        applyChosenLanguage(t.settings);
        CMainFrame frame(t.services);
        choose(frame.findChild<LanguageMenu*>(), LanguageChoice::System);
        qputenv("LC_ALL", saved);
        QCOMPARE(menuTitles(frame).first(), fileMenu);
        QCOMPARE(SettingsStore().languageChoice(), LanguageChoice::System);
    }

    void startsInTheStoredChoice() {
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", "ja_JP.UTF-8");
        SettingsStore settings;
        settings.setLanguageChoice(LanguageChoice::English);
        applyChosenLanguage(settings);
        qputenv("LC_ALL", saved);
        QCOMPARE(appliedLanguage(), UiLanguage::English);
        QCOMPARE(QCoreApplication::translate(kCommandContext, "ファイル(&F)"), u"&File"_s);
    }

    void qtOwnButtonsFollowTheLanguage() {
        QDialogButtonBox box(QDialogButtonBox::Close | QDialogButtonBox::Discard);
        QVERIFY2(hasJapanese(box.button(QDialogButtonBox::Close)->text()),
                 qPrintable(box.button(QDialogButtonBox::Close)->text()));
        applyLanguage(UiLanguage::English);
        QDialogButtonBox english(QDialogButtonBox::Close | QDialogButtonBox::Discard);
        QVERIFY(!hasJapanese(english.button(QDialogButtonBox::Close)->text()));
        QVERIFY(!hasJapanese(english.button(QDialogButtonBox::Discard)->text()));
    }

    void englishDialogsHaveNoJapaneseLeft() {
        applyLanguage(UiLanguage::English);
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        view.AddFile(file("photo.jpg"));
        view.rows().stageEdit(0, std::nullopt, std::nullopt, std::nullopt, RowFlags{});
        QVERIFY(!hasJapanese(
            view.model()->index(0, ColReadOnly).data(Qt::AccessibleTextRole).toString()));
        QCOMPARE(view.model()->index(0, ColName).data(Qt::AccessibleDescriptionRole).toString(),
                 u"Unsaved changes"_s);

        test::EveryDialog dialogs(t.prompt, t.shell, view, QFile::encodeName(m_dir.path()),
                                  "photo.jpg");
        platform::AppChooserDialog chooser("/tmp/a.txt", u"Plain text"_s, {});
        const QList<QDialog*> own = dialogs.all();
        QList<QWidget*> windows(own.cbegin(), own.cend());
        windows.append(&chooser);
        for (QWidget* dialog : windows) {
            const QStringList left = japaneseTexts(dialog);
            QVERIFY2(left.isEmpty(), qPrintable(left.join(u'\n')));
        }
        for (int cause = 0; cause <= int(platform::FileErrorCause::Replaced); ++cause)
            QVERIFY(!hasJapanese(fileErrorText(platform::FileErrorCause(cause), u"/a"_s)));
    }

    void englishMessageBoxButtons() {
        applyLanguage(UiLanguage::English);
        MessageBoxPrompt prompt;
        QStringList buttons;
        QTimer::singleShot(0, this, [&buttons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QCOMPARE(prompt.yesNoCancel(nullptr, u"Save changes?"_s), Prompt::Answer::Cancel);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"&No"_s, u"&Yes"_s, u"Cancel"_s}));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
