#include "rename/renamecommand.h"
#include "rename/renamedialog.h"
#include "rename/renamepreview.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvoro;
using test::namesIn;
using namespace Qt::Literals::StringLiterals;
using Kind = test::FakePrompt::Kind;

namespace {

template <typename T> T* control(const QWidget* dialog, const char* name) {
    T* w = dialog->findChild<T*>(QLatin1StringView(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void setText(const QWidget* d, const char* name, const QString& text) {
    control<QLineEdit>(d, name)->setText(text);
}

// Waits for the counts of the options as they stand.
void settle(CReName* d) {
    QTRY_VERIFY(d->previewModel()->analysed());
}

QString cell(const CReName* d, int row, int column) {
    const RenamePreviewModel* m = d->previewModel();
    return m->data(m->index(row, column), Qt::DisplayRole).toString();
}

// The new name and the mark of each row, "name" or "name [reason]".
QStringList shown(const CReName* d) {
    QStringList out;
    for (int row = 0; row < d->previewModel()->rowCount(); ++row) {
        const QString reason = cell(d, row, RenamePreviewModel::ColReason);
        out << cell(d, row, RenamePreviewModel::ColNew) +
                   (reason.isEmpty() ? QString() : u" ["_s + reason + u"]"_s);
    }
    return out;
}

// Numbers instead of names, with a base and three digits: the way to trip_001.jpg.
void numberInstead(const CReName* d, const QString& base) {
    control<QGroupBox>(d, "numberingGroup")->setChecked(true);
    auto* position = control<QComboBox>(d, "numberPosition");
    position->setCurrentIndex(position->findData(int(NumberPosition::InsteadOfName)));
    control<QSpinBox>(d, "numberDigits")->setValue(3);
    setText(d, "numberBase", base);
}

} // namespace

class TestRenamePreview : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    std::vector<RenameSource> sources(const QByteArrayList& names) {
        std::vector<RenameSource> rows;
        for (const QByteArray& name : names) {
            test::makeFile(dir(), name);
            rows.push_back({dir(), name});
        }
        return rows;
    }

private Q_SLOTS:
    void init() {
        for (const QByteArray& name : namesIn(dir()))
            QFile::remove(QString::fromLocal8Bit(dir() + '/' + name));
    }

    // The preview follows each change of the controls, and marks what cannot be used.
    void marksAsTheUserTypes() {
        test::FakePrompt prompt;
        CReName d(prompt);
        test::makeFile(dir(), "b1.txt"); // not among the rows
        d.setPreviewRows(sources({"a1.txt", "a2.txt", "c1.txt", "x.txt"}));
        settle(&d);
        QCOMPARE(shown(&d), (QStringList{u"a1.txt"_s, u"a2.txt"_s, u"c1.txt"_s, u"x.txt"_s}));
        QCOMPARE(control<QLabel>(&d, "previewSummary")->text(),
                 u"変更する名前: 0 件　変更できない名前: 0 件　変更なし: 4 件"_s);

        control<QCheckBox>(&d, "nameCheck")->setChecked(true);
        setText(&d, "findEdit", u"a"_s);
        setText(&d, "replacementEdit", u"b"_s);
        settle(&d);
        QCOMPARE(shown(&d),
                 (QStringList{u"b1.txt [既に存在します]"_s, u"b2.txt"_s, u"c1.txt"_s, u"x.txt"_s}));

        control<QCheckBox>(&d, "patternCheck")->setChecked(true);
        setText(&d, "findEdit", u"^[ac]1"_s);
        setText(&d, "replacementEdit", u"z"_s);
        settle(&d);
        QCOMPARE(shown(&d), (QStringList{u"z.txt"_s, u"a2.txt"_s, u"z.txt [名前が重複しています]"_s,
                                         u"x.txt"_s}));
        QCOMPARE(control<QLabel>(&d, "previewSummary")->text(),
                 u"変更する名前: 1 件　変更できない名前: 1 件　変更なし: 2 件"_s);

        setText(&d, "replacementEdit", u"/"_s);
        settle(&d);
        QCOMPARE(shown(&d).first(), u"/.txt [使用できない名前です]"_s);
    }

    void invalidPatternDisablesOk() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.setPreviewRows(sources({"a.txt"}));
        auto* ok = control<QPushButton>(&d, "okButton");
        auto* error = control<QLabel>(&d, "patternError");
        control<QCheckBox>(&d, "nameCheck")->setChecked(true);
        control<QCheckBox>(&d, "patternCheck")->setChecked(true);
        setText(&d, "findEdit", u"(a"_s);
        QVERIFY(!ok->isEnabled());
        QVERIFY(error->text().startsWith(u"正規表現の誤り: "_s));
        QVERIFY(!error->isHidden());
        setText(&d, "findEdit", u"(a)"_s);
        QVERIFY(ok->isEnabled());
        QVERIFY(error->isHidden());
        // The same text as plain text is no pattern, and no error.
        setText(&d, "findEdit", u"(a"_s);
        control<QCheckBox>(&d, "patternCheck")->setChecked(false);
        QVERIFY(ok->isEnabled());
    }

    // The new options alone rename too, after the question.
    void numberingAloneAsks() {
        test::FakePrompt prompt;
        CReName d(prompt);
        d.setPreviewRows(sources({"a.txt"}));
        numberInstead(&d, u"trip"_s);
        control<QPushButton>(&d, "okButton")->click();
        QCOMPARE(prompt.texts(), QStringList{u"ファイル名を変更してもよろしいですか？"_s});
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(computeNewName("a.txt", d.options(), 4),
                 std::optional<QByteArray>("trip_005.txt"));
    }

    // 300 photos in the list's order (not the names' order): trip_001.jpg to trip_300.jpg in
    // the preview, without a conflict, and then on disk.
    void threeHundredPhotosThroughTheCommand() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        for (int i = 0; i < 300; ++i)
            view.AddFile(test::makeFile(dir(), "IMG_" + QByteArray::number(5000 - i) + ".jpg",
                                        QByteArray::number(i)));
        view.selectAll();
        QStringList previewed;
        test::WhenModalOpens<CReName> driver([&](CReName* d) {
            numberInstead(d, u"trip"_s);
            settle(d);
            previewed = shown(d);
            QCOMPARE(control<QLabel>(d, "previewSummary")->text(),
                     u"変更する名前: 300 件　変更できない名前: 0 件　変更なし: 0 件"_s);
            control<QPushButton>(d, "okButton")->click();
        });
        OnRename(context);
        QVERIFY(driver.opened);
        QByteArrayList expected;
        QStringList expectedShown;
        for (int i = 1; i <= 300; ++i) {
            expected << "trip_" + QByteArray::number(i).rightJustified(3, '0') + ".jpg";
            expectedShown << QString::fromLatin1(expected.last());
        }
        QCOMPARE(previewed, expectedShown);
        QCOMPARE(namesIn(dir()), expected);
        QCOMPARE(test::contentOf(dir() + "/trip_001.jpg"), "0"_ba);
        QCOMPARE(test::contentOf(dir() + "/trip_300.jpg"), "299"_ba);
        QCOMPARE(t.prompt.texts(), QStringList{u"ファイル名を変更してもよろしいですか？"_s});
    }

    // A file that kept its name is told once at the end, even in the oldest modes.
    void notRenamedRowsAreTold() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        view.AddFile(test::makeFile(dir(), "one.txt"));
        view.AddFile(test::makeFile(dir(), "two.txt"));
        test::makeFile(dir(), "one.log", "keep me");
        view.selectAll();
        test::WhenModalOpens<CReName> driver([](CReName* d) {
            control<QCheckBox>(d, "extensionCheck")->setChecked(true);
            setText(d, "extensionEdit", u"log"_s);
            control<QPushButton>(d, "okButton")->click();
        });
        OnRename(context);
        QVERIFY(driver.opened);
        QCOMPARE(t.prompt.count(Kind::Exclamation), 1);
        QCOMPARE(
            t.prompt.shown.last().text,
            u"1 件のファイル名を変更できませんでした。\n\none.txt → one.log: 既に存在します"_s);
        QCOMPARE(view.rows().row(1).name, "two.log"_ba);
        QCOMPARE(test::contentOf(dir() + "/one.log"), "keep me"_ba);
    }

    // Two names swapped by the list's order: 2.txt is first, so it becomes 1.txt.
    void swapThroughTheCommand() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        CommandContext context = t.contextFor(view);
        view.AddFile(test::makeFile(dir(), "2.txt", "two"));
        view.AddFile(test::makeFile(dir(), "1.txt", "one"));
        view.selectAll();
        QStringList previewed;
        test::WhenModalOpens<CReName> driver([&](CReName* d) {
            numberInstead(d, {});
            control<QSpinBox>(d, "numberDigits")->setValue(1);
            settle(d);
            previewed = shown(d);
            control<QPushButton>(d, "okButton")->click();
        });
        OnRename(context);
        QVERIFY(driver.opened);
        QCOMPARE(previewed, (QStringList{u"1.txt"_s, u"2.txt"_s}));
        QCOMPARE(view.rows().row(0).name, "1.txt"_ba);
        QCOMPARE(view.rows().row(1).name, "2.txt"_ba);
        QCOMPARE(test::contentOf(dir() + "/1.txt"), "two"_ba);
        QCOMPARE(test::contentOf(dir() + "/2.txt"), "one"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"1.txt", "2.txt"}));
        QCOMPARE(t.prompt.count(Kind::Exclamation), 0);
    }
};

QTEST_MAIN(TestRenamePreview)
#include "tst_renamepreview.moc"
