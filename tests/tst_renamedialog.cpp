#include "app/commands.h"
#include "app/mainframe.h"
#include "rename/renamecommand.h"
#include "rename/renamedialog.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace kelvoro;
using test::namesIn;
using namespace Qt::Literals::StringLiterals;
using Kind = test::FakePrompt::Kind;

namespace {

const QString kQuestion = u"ファイル名を変更してもよろしいですか？"_s;
const QString kEmpty = u"未入力です。"_s;
const QString kInvalid = u"ファイル名に使用できない文字が含まれています。"_s;

template <typename T> T* control(const QWidget* dialog, const char* name) {
    T* w = dialog->findChild<T*>(QLatin1StringView(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QLineEdit* edit(const QWidget* d, const char* name) {
    return control<QLineEdit>(d, name);
}

// Key presses carrying each character's text, as a keyboard or input method delivers them.
void type(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(w, &release);
        i += n;
    }
}

// The messages shown, "?" for the question and "!" for the exclamation icon.
QStringList messages(const test::FakePrompt& prompt) {
    QStringList result;
    for (const auto& s : prompt.shown)
        result << (s.kind == Kind::Confirm       ? u"? "_s
                   : s.kind == Kind::Exclamation ? u"! "_s
                                                 : u"other "_s) +
                      s.text;
    return result;
}

void select(CTrazzleView& view, int row) {
    view.selectionModel()->select(view.rows().index(row, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TestRenameDialog : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

private Q_SLOTS:
    void init() {
        for (const QByteArray& name : namesIn(dir()))
            QFile::remove(QString::fromLocal8Bit(dir() + '/' + name));
    }

    void initialState() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"ファイル名変更"_s);
        const struct {
            const char* name;
            QString text;
        } texts[] = {{"extensionCheck", u"拡張子を変更する"_s},
                     {"nameCheck", u"ファイル名を変更する"_s},
                     {"replaceRadio", u"置換"_s},
                     {"frontRadio", u"挿入（先頭）"_s},
                     {"endRadio", u"挿入（後方）"_s},
                     {"okButton", u"OK"_s},
                     {"cancelButton", u"キャンセル"_s}};
        for (const auto& t : texts)
            QCOMPARE(control<QAbstractButton>(&d, t.name)->text(), t.text);
        QCOMPARE(control<QLabel>(&d, "extensionLabel")->text(), u"拡張子"_s);
        QCOMPARE(control<QLabel>(&d, "arrowLabel")->text(), u"→"_s);

        QVERIFY(!control<QCheckBox>(&d, "extensionCheck")->isChecked());
        QVERIFY(!control<QCheckBox>(&d, "nameCheck")->isChecked());
        QVERIFY(control<QRadioButton>(&d, "replaceRadio")->isChecked());
        for (const char* name : {"extensionEdit", "findEdit", "replacementEdit", "frontEdit",
                                 "endEdit", "replaceRadio", "frontRadio", "endRadio"})
            QVERIFY2(!control<QWidget>(&d, name)->isEnabled(), name);
        for (const char* name :
             {"extensionEdit", "findEdit", "replacementEdit", "frontEdit", "endEdit"})
            QVERIFY2(edit(&d, name)->text().isEmpty(), name);
        QVERIFY(control<QPushButton>(&d, "okButton")->isDefault());
        QCOMPARE(d.focusWidget(), control<QWidget>(&d, "extensionCheck"));
    }

    void tabOrder() {
        test::FakePrompt prompt;
        CReName d(prompt);
        const QStringList expected = {u"extensionCheck"_s, u"extensionEdit"_s,   u"nameCheck"_s,
                                      u"findEdit"_s,       u"replacementEdit"_s, u"frontEdit"_s,
                                      u"endEdit"_s,        u"okButton"_s,        u"cancelButton"_s};
        QStringList chain;
        QWidget* w = control<QWidget>(&d, "extensionCheck");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != control<QWidget>(&d, "extensionCheck"));
        QCOMPARE(chain, expected);
        for (const char* radio : {"replaceRadio", "frontRadio", "endRadio"})
            QVERIFY2(!(control<QWidget>(&d, radio)->focusPolicy() & Qt::TabFocus), radio);
    }

    void enableRules() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto* extension = control<QCheckBox>(&d, "extensionCheck");
        auto* name = control<QCheckBox>(&d, "nameCheck");
        const auto enabled = [&] {
            QStringList on;
            for (const char* n : {"extensionEdit", "findEdit", "replacementEdit", "frontEdit",
                                  "endEdit", "replaceRadio", "frontRadio", "endRadio"})
                if (control<QWidget>(&d, n)->isEnabled())
                    on << QString::fromLatin1(n);
            return on;
        };
        const QStringList radios = {u"replaceRadio"_s, u"frontRadio"_s, u"endRadio"_s};

        extension->click();
        QCOMPARE(enabled(), QStringList{u"extensionEdit"_s});
        QCOMPARE(d.focusWidget(), edit(&d, "extensionEdit"));
        type(edit(&d, "extensionEdit"), u"log"_s);
        extension->click();
        QCOMPARE(enabled(), QStringList{});
        QCOMPARE(edit(&d, "extensionEdit")->text(), u"log"_s);

        name->click();
        QCOMPARE(enabled(), QStringList({u"findEdit"_s, u"replacementEdit"_s}) + radios);
        QCOMPARE(d.focusWidget(), edit(&d, "findEdit"));
        type(edit(&d, "findEdit"), u"a"_s);

        control<QRadioButton>(&d, "frontRadio")->click();
        QCOMPARE(enabled(), QStringList{u"frontEdit"_s} + radios);
        QCOMPARE(d.focusWidget(), edit(&d, "frontEdit"));
        control<QRadioButton>(&d, "endRadio")->click();
        QCOMPARE(enabled(), QStringList{u"endEdit"_s} + radios);
        QCOMPARE(d.focusWidget(), edit(&d, "endEdit"));
        type(edit(&d, "endEdit"), u"_x"_s);

        // Off and on again: texts and the selected mode stay, and its edit comes back.
        name->click();
        QCOMPARE(enabled(), QStringList{});
        QVERIFY(control<QRadioButton>(&d, "endRadio")->isChecked());
        name->click();
        QCOMPARE(enabled(), QStringList{u"endEdit"_s} + radios);
        QCOMPARE(d.focusWidget(), edit(&d, "endEdit"));
        QCOMPARE(edit(&d, "findEdit")->text(), u"a"_s);
        QCOMPARE(edit(&d, "endEdit")->text(), u"_x"_s);

        control<QRadioButton>(&d, "replaceRadio")->click();
        QCOMPARE(enabled(), QStringList({u"findEdit"_s, u"replacementEdit"_s}) + radios);
        QCOMPARE(d.focusWidget(), edit(&d, "findEdit"));
    }

    // Keyboard users and assistive technology toggle without a click: the edits follow all the
    // same (Space on a focused box, the accessible toggle action, a radio checked without a click).
    void togglesWithoutAMouse() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto* extension = control<QCheckBox>(&d, "extensionCheck");
        auto* name = control<QCheckBox>(&d, "nameCheck");

        extension->setFocus();
        QTest::keyClick(extension, Qt::Key_Space);
        QVERIFY(extension->isChecked());
        QVERIFY(edit(&d, "extensionEdit")->isEnabled());

        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(name);
        QVERIFY(box && box->actionInterface());
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(name->isChecked());
        QVERIFY(edit(&d, "findEdit")->isEnabled());
        QVERIFY(control<QRadioButton>(&d, "frontRadio")->isEnabled());

        control<QRadioButton>(&d, "frontRadio")->setChecked(true);
        QVERIFY(edit(&d, "frontEdit")->isEnabled());
        QVERIFY(!edit(&d, "findEdit")->isEnabled());
        QCOMPARE(d.focusWidget(), edit(&d, "frontEdit"));

        name->setChecked(false);
        QVERIFY(!edit(&d, "frontEdit")->isEnabled());
        QVERIFY(!control<QRadioButton>(&d, "frontRadio")->isEnabled());
        control<QRadioButton>(&d, "endRadio")->setChecked(true);
        QVERIFY(!edit(&d, "endEdit")->isEnabled());
    }

    // Tab skips the modes; the arrow keys reach them from the check box, and Tab from a mode
    // lands in its edit.
    void aModeIsChosenWithTheKeyboardOnly() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        auto* name = control<QCheckBox>(&d, "nameCheck");
        name->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Down);
        QVERIFY(!qobject_cast<QRadioButton*>(d.focusWidget()));

        name->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QVERIFY(name->isChecked());
        QCOMPARE(d.focusWidget(), edit(&d, "findEdit"));
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(d.focusWidget(), name);
        press(Qt::Key_Down);
        QCOMPARE(d.focusWidget(), control<QRadioButton>(&d, "replaceRadio"));
        press(Qt::Key_Down);
        QCOMPARE(d.focusWidget(), control<QRadioButton>(&d, "frontRadio"));
        QVERIFY(control<QRadioButton>(&d, "frontRadio")->isChecked());
        press(Qt::Key_Down);
        QVERIFY(control<QRadioButton>(&d, "endRadio")->isChecked());
        press(Qt::Key_Up);
        QVERIFY(control<QRadioButton>(&d, "frontRadio")->isChecked());
        QVERIFY(!edit(&d, "findEdit")->isEnabled());

        press(Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), edit(&d, "frontEdit"));
        type(d.focusWidget(), u"new-"_s);
        press(Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.frontText(), u"new-"_s);
    }

    void lengthLimits_data() {
        QTest::addColumn<QByteArray>("editName");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        const QString fifty = QString(50, u'a');
        QTest::newRow("extension typed") << "extensionEdit"_ba << QString() << 0 << false
                                         << u"abcdefghijkl"_s << u"abcdefghij"_s;
        QTest::newRow("find typed")
            << "findEdit"_ba << QString() << 0 << false << fifty + u"bc"_s << fifty;
        QTest::newRow("wide characters count two")
            << "findEdit"_ba << QString() << 0 << false << QString(26, u'表') << QString(25, u'表');
        QTest::newRow("half-width katakana counts one")
            << "frontEdit"_ba << QString() << 0 << false << QString(60, u'ｱ') << QString(50, u'ｱ');
        QTest::newRow("wide character that does not fit")
            << "extensionEdit"_ba << QString() << 0 << false << u"abcdefghi表"_s << u"abcdefghi"_s;
        QTest::newRow("wide character that just fits")
            << "extensionEdit"_ba << QString() << 0 << false << u"abcdefgh表"_s << u"abcdefgh表"_s;
        QTest::newRow("paste is cut, text after the cursor kept")
            << "extensionEdit"_ba << u"abcdefgh"_s << 2 << true << u"XYZ"_s << u"abXYcdefgh"_s;
        QTest::newRow("paste into a full edit")
            << "extensionEdit"_ba << u"abcdefghij"_s << 0 << true << u"Z"_s << u"abcdefghij"_s;
        QTest::newRow("long paste") << "replacementEdit"_ba << QString() << 0 << true
                                    << QString(80, u'b') << QString(50, u'b');
        QTest::newRow("paste keeps a surrogate pair whole")
            << "extensionEdit"_ba << u"abcdefghi"_s << 9 << true << u"😀x"_s << u"abcdefghi"_s;
        QTest::newRow("surrogate pair that fits") << "endEdit"_ba << QString(48, u'a') << 48 << true
                                                  << u"😀"_s << QString(48, u'a') + u"😀"_s;
        QTest::newRow("surrogate pair one too long")
            << "endEdit"_ba << QString(49, u'a') << 49 << true << u"😀"_s << QString(49, u'a');
    }
    void lengthLimits() {
        QFETCH(QByteArray, editName);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(bool, paste);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        test::FakePrompt prompt;
        CReName d(prompt);
        QLineEdit* e = edit(&d, editName.constData());
        e->setEnabled(true);
        e->setText(before);
        e->setCursorPosition(cursor);
        if (paste)
            e->insert(input);
        else
            type(e, input);
        QCOMPARE(e->text(), expected);
    }

    void okButton_data() {
        using namespace renamemode;
        QTest::addColumn<QString>("extension"); // null: box left unchecked
        QTest::addColumn<unsigned>("nameMode"); // 0: box left unchecked
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("front");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("confirmAnswer");
        QTest::addColumn<QStringList>("expectedMessages");
        QTest::addColumn<unsigned>("expectedMode"); // ~0u: the dialog stays open

        const QString no;
        const QString q = u"? "_s + kQuestion;
        const QString empty = u"! "_s + kEmpty;
        const QString invalid = u"! "_s + kInvalid;
        const unsigned open = ~0u;
        QTest::newRow("neither box")
            << no << 0u << no << no << no << no << true << QStringList{} << 0u;
        QTest::newRow("question declined")
            << u"log"_s << 0u << no << no << no << no << false << QStringList{q} << open;
        QTest::newRow("empty extension after the question")
            << u""_s << 0u << no << no << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("extension before the name texts")
            << u""_s << Replace << no << no << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("extension")
            << u"log"_s << 0u << no << no << no << no << true << QStringList{q} << Extension;
        QTest::newRow("empty replacement is accepted")
            << no << Replace << u"a"_s << no << no << no << true << QStringList{q} << Replace;
        QTest::newRow("empty find")
            << no << Replace << no << u"x"_s << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("empty front")
            << no << Front << no << no << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("empty end")
            << no << End << no << no << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("extension and front") << u"log"_s << Front << no << no << u"2010_"_s << no
                                             << true << QStringList{q} << (Extension | Front);
        QTest::newRow("extension and end") << u"log"_s << End << no << no << no << u"_old"_s << true
                                           << QStringList{q} << (Extension | End);
        QTest::newRow("texts at their limits")
            << u"abcdefghij"_s << Replace << QString(25, u'表') << QString(50, u'ｱ') << no << no
            << true << QStringList{q} << (Extension | Replace);
        QTest::newRow("separator in the extension")
            << u"a/b"_s << 0u << no << no << no << no << true << QStringList{q, invalid} << open;
        QTest::newRow("separator in the replacement")
            << no << Replace << u"a"_s << u"x/"_s << no << no << true << QStringList{q, invalid}
            << open;
        QTest::newRow("empty find before a separator")
            << no << Replace << no << u"/"_s << no << no << true << QStringList{q, empty} << open;
        QTest::newRow("separator in the end text")
            << no << End << no << no << no << u"/x"_s << true << QStringList{q, invalid} << open;
        QTest::newRow("separator in a text of another mode")
            << no << End << no << no << u"a/b"_s << u"_x"_s << true << QStringList{q} << End;
    }
    void okButton() {
        QFETCH(QString, extension);
        QFETCH(unsigned, nameMode);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, front);
        QFETCH(QString, end);
        QFETCH(bool, confirmAnswer);
        QFETCH(QStringList, expectedMessages);
        QFETCH(unsigned, expectedMode);

        test::FakePrompt prompt;
        prompt.confirmAnswers = {confirmAnswer};
        CReName d(prompt);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        if (!extension.isNull()) {
            control<QCheckBox>(&d, "extensionCheck")->click();
            type(edit(&d, "extensionEdit"), extension);
        }
        if (nameMode != 0) {
            control<QCheckBox>(&d, "nameCheck")->click();
            const struct {
                const char* radio;
                const char* edit;
                const QString& text;
            } texts[] = {{"replaceRadio", "findEdit", find},
                         {"replaceRadio", "replacementEdit", replacement},
                         {"frontRadio", "frontEdit", front},
                         {"endRadio", "endEdit", end}};
            for (const auto& t : texts) {
                control<QRadioButton>(&d, t.radio)->click();
                type(edit(&d, t.edit), t.text);
            }
            control<QRadioButton>(&d, nameMode == renamemode::Replace ? "replaceRadio"
                                      : nameMode == renamemode::Front ? "frontRadio"
                                                                      : "endRadio")
                ->click();
        }
        control<QPushButton>(&d, "okButton")->click();

        QCOMPARE(messages(prompt), expectedMessages);
        if (expectedMode == ~0u) {
            QVERIFY(d.isVisible());
            QCOMPARE(d.mode(), 0u);
            // Everything as it was.
            if (!extension.isNull())
                QCOMPARE(edit(&d, "extensionEdit")->text(), extension);
            QCOMPARE(edit(&d, "findEdit")->text(), find);
            QCOMPARE(edit(&d, "replacementEdit")->text(), replacement);
            return;
        }
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.mode(), expectedMode);
        const RenameOptions o = d.options();
        QCOMPARE(o.mode, expectedMode);
        if (expectedMode & renamemode::Extension) {
            QCOMPARE(d.extensionText(), extension);
            QCOMPARE(o.extension, QFile::encodeName(extension));
        }
        if (expectedMode & renamemode::Replace) {
            QCOMPARE(d.findText(), find);
            QCOMPARE(d.replacementText(), replacement);
            QCOMPARE(o.find, QFile::encodeName(find));
            QCOMPARE(o.replacement, QFile::encodeName(replacement));
        }
        if (expectedMode & renamemode::Front)
            QCOMPARE(o.front, QFile::encodeName(front));
        if (expectedMode & renamemode::End)
            QCOMPARE(o.end, QFile::encodeName(end));
    }

    void noSelectionShowsNoDialog() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        view.AddFile(test::makeFile(dir(), "a.txt"));
        test::WhenModalOpens<CReName> driver([](CReName* d) { d->reject(); });
        OnRename(context);
        QTest::qWait(30);
        QVERIFY(!driver.opened);
        QCOMPARE(namesIn(dir()), QByteArrayList{"a.txt"});
    }

    void cancelTouchesNothing() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        view.AddFile(test::makeFile(dir(), "a.txt"));
        select(view, 0);
        test::WhenModalOpens<CReName> driver([](CReName* d) {
            control<QCheckBox>(d, "extensionCheck")->click();
            type(edit(d, "extensionEdit"), u"log"_s);
            control<QPushButton>(d, "cancelButton")->click();
        });
        OnRename(context);
        QVERIFY(driver.opened);
        QVERIFY(t.prompt.shown.isEmpty());
        QCOMPARE(view.rows().row(0).name, "a.txt"_ba);
        QCOMPARE(namesIn(dir()), QByteArrayList{"a.txt"});
    }

    void selectedRowsInAscendingOrder() {
        // Row order decides which of two files gets a contested name.
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        view.AddFile(test::makeFile(dir(), "b.txt", "b"));
        view.AddFile(test::makeFile(dir(), "a.txt", "a"));
        view.AddFile(test::makeFile(dir(), "c.txt", "c"));
        select(view, 1);
        select(view, 0);
        test::WhenModalOpens<CReName> driver([](CReName* d) {
            control<QCheckBox>(d, "extensionCheck")->click();
            type(edit(d, "extensionEdit"), u"log"_s);
            control<QCheckBox>(d, "nameCheck")->click();
            type(edit(d, "findEdit"), u"a"_s);
            type(edit(d, "replacementEdit"), u"b"_s);
            control<QPushButton>(d, "okButton")->click();
        });
        OnRename(context);
        QVERIFY(driver.opened);
        // b.txt → b.log first; then a.txt → a.log, whose move to b.log fails silently.
        QCOMPARE(messages(t.prompt), QStringList{u"? "_s + kQuestion});
        QCOMPARE(view.rows().row(0).name, "b.log"_ba);
        QCOMPARE(view.rows().row(1).name, "a.log"_ba);
        QCOMPARE(view.rows().row(2).name, "c.txt"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"a.log", "b.log", "c.txt"}));
        QCOMPARE(view.selectedRows(), (std::vector<int>{0, 1}));
    }

    void ctrlHRenamesFromTheFrame() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CTrazzleView& view = *frame.view();
        view.AddFile(test::makeFile(dir(), "memo.txt", "memo"));
        QAction* rename = frame.action(ID_EDIT_RENAME);
        QVERIFY(!rename->isEnabled());
        select(view, 0);
        QVERIFY(rename->isEnabled());

        test::WhenModalOpens<CReName> driver([](CReName* d) {
            control<QCheckBox>(d, "nameCheck")->click();
            control<QRadioButton>(d, "frontRadio")->click();
            type(edit(d, "frontEdit"), u"2010_"_s);
            control<QPushButton>(d, "okButton")->click();
        });
        QTest::keyClick(&view, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(driver.opened);
        QCOMPARE(view.rows().row(0).name, "2010_memo.txt"_ba);
        QCOMPARE(view.rows().data(view.rows().index(0, ColName), Qt::DisplayRole).toString(),
                 u"2010_memo.txt"_s);
        QCOMPARE(namesIn(dir()), QByteArrayList{"2010_memo.txt"});
        QVERIFY(!frame.IsChanged());
    }
};

QTEST_MAIN(TestRenameDialog)
#include "tst_renamedialog.moc"
