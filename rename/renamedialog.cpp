#include "rename/renamedialog.h"

#include "common/namelength.h"
#include "presentation/prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include <algorithm>

namespace kelvoro {

namespace {

// Keeps a text within the dialog's length count. What goes over is cut from the text just
// typed or pasted (it ends at the cursor), so what was there before stays whole.
class RenameLengthValidator : public QValidator {
public:
    RenameLengthValidator(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

    State validate(QString& text, int& pos) const override {
        if (renameTextLength(text) <= m_limit)
            return Acceptable;
        const QString tail = text.mid(pos);
        const int room = m_limit - renameTextLength(tail);
        if (room < 0) {
            text = truncateToRenameLength(text, m_limit);
            pos = std::min(pos, static_cast<int>(text.size()));
        } else {
            const QString head = truncateToRenameLength(text.left(pos), room);
            text = head + tail;
            pos = static_cast<int>(head.size());
        }
        return Acceptable;
    }

private:
    int m_limit;
};

// The template's sizes are in dialog units: a quarter of the font's average character width
// across, an eighth of its height down.
int dialogUnitsX(const QWidget* w, int units) {
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int base = (w->fontMetrics().horizontalAdvance(alphabet) / 26 + 1) / 2;
    return units * base / 4;
}

int dialogUnitsY(const QWidget* w, int units) {
    return units * w->fontMetrics().height() / 8;
}

} // namespace

CReName::CReName(Prompt& prompt, QWidget* parent) : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("CReName"));
    setWindowTitle(tr("ファイル名変更"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const auto makeEdit = [this](const char* name, int limit, int widthUnits) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1StringView(name));
        edit->setValidator(new RenameLengthValidator(limit, edit));
        edit->setFixedWidth(dialogUnitsX(this, widthUnits));
        edit->setEnabled(false);
        return edit;
    };
    const auto makeRadio = [this](const char* name, const QString& text) {
        auto* radio = new QRadioButton(text, this);
        radio->setObjectName(QLatin1StringView(name));
        // Out of the Tab order, as in the template; the arrow keys reach them from the check
        // box above, and a click or an arrow moves on to the mode's edit.
        radio->setFocusPolicy(Qt::ClickFocus);
        radio->setEnabled(false);
        return radio;
    };

    m_extensionCheck = new QCheckBox(tr("拡張子を変更する"), this);
    m_extensionCheck->setObjectName(QStringLiteral("extensionCheck"));
    auto* extensionLabel = new QLabel(tr("拡張子"), this);
    extensionLabel->setObjectName(QStringLiteral("extensionLabel"));
    m_extensionEdit = makeEdit("extensionEdit", kExtensionLimit, 41);
    extensionLabel->setBuddy(m_extensionEdit);

    m_nameCheck = new QCheckBox(tr("ファイル名を変更する"), this);
    m_nameCheck->setObjectName(QStringLiteral("nameCheck"));
    m_nameCheck->installEventFilter(this);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("modeGroup"));
    m_replaceRadio = makeRadio("replaceRadio", tr("置換"));
    m_frontRadio = makeRadio("frontRadio", tr("挿入（先頭）"));
    m_endRadio = makeRadio("endRadio", tr("挿入（後方）"));
    m_replaceRadio->setChecked(true);
    m_modes = new QButtonGroup(this);
    m_modes->setObjectName(QStringLiteral("modeButtons"));
    m_modes->addButton(m_replaceRadio);
    m_modes->addButton(m_frontRadio);
    m_modes->addButton(m_endRadio);
    m_findEdit = makeEdit("findEdit", kTextLimit, 66);
    auto* arrow = new QLabel(QStringLiteral("→"), this);
    arrow->setObjectName(QStringLiteral("arrowLabel"));
    m_replacementEdit = makeEdit("replacementEdit", kTextLimit, 66);
    m_frontEdit = makeEdit("frontEdit", kTextLimit, 66);
    m_endEdit = makeEdit("endEdit", kTextLimit, 66);
    // Edits without a label of their own, named for screen readers.
    m_extensionEdit->setAccessibleName(tr("拡張子"));
    m_findEdit->setAccessibleName(tr("検索する文字列"));
    m_replacementEdit->setAccessibleName(tr("置換後の文字列"));
    m_frontEdit->setAccessibleName(tr("先頭に挿入する文字列"));
    m_endEdit->setAccessibleName(tr("後方に挿入する文字列"));
    group->setAccessibleName(tr("ファイル名の変更方法"));

    auto* ok = m_okButton = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setMinimumWidth(dialogUnitsX(this, 50));
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setMinimumWidth(dialogUnitsX(this, 50));

    auto* modes = new QGridLayout(group);
    modes->addWidget(m_replaceRadio, 0, 0);
    modes->addWidget(m_findEdit, 0, 1);
    modes->addWidget(arrow, 0, 2);
    modes->addWidget(m_replacementEdit, 0, 3);
    modes->addWidget(m_frontRadio, 1, 0);
    modes->addWidget(m_frontEdit, 1, 1);
    modes->addWidget(m_endRadio, 2, 0);
    modes->addWidget(m_endEdit, 2, 1);
    modes->setColumnStretch(4, 1);

    auto* extensionRow = new QHBoxLayout;
    extensionRow->addSpacing(dialogUnitsX(this, 16));
    extensionRow->addWidget(extensionLabel);
    extensionRow->addWidget(m_extensionEdit);
    extensionRow->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_extensionCheck, 0, 0);
    layout->addLayout(extensionRow, 1, 0);
    layout->setRowMinimumHeight(2, dialogUnitsY(this, 12));
    layout->addWidget(m_nameCheck, 3, 0);
    layout->addWidget(group, 4, 0, 1, 2);
    layout->addWidget(ok, 0, 1);
    layout->addWidget(cancel, 1, 1);
    layout->setColumnMinimumWidth(0, dialogUnitsX(this, 230));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_extensionCheck, m_extensionEdit);
    setTabOrder(m_extensionEdit, m_nameCheck);
    setTabOrder(m_nameCheck, m_replaceRadio);
    setTabOrder(m_replaceRadio, m_frontRadio);
    setTabOrder(m_frontRadio, m_endRadio);
    setTabOrder(m_endRadio, m_findEdit);
    setTabOrder(m_findEdit, m_replacementEdit);
    setTabOrder(m_replacementEdit, m_frontEdit);
    setTabOrder(m_frontEdit, m_endEdit);
    setTabOrder(m_endEdit, ok);
    setTabOrder(ok, cancel);
    m_extensionCheck->setFocus();

    // Toggles, not clicks: the keyboard and assistive technology change them too.
    connect(m_extensionCheck, &QCheckBox::toggled, this, &CReName::onExtensionToggled);
    connect(m_nameCheck, &QCheckBox::toggled, this, &CReName::onNameToggled);
    connect(m_modes, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool checked) {
        if (checked && m_nameCheck->isChecked())
            onModeClicked();
    });
    connect(ok, &QPushButton::clicked, this, &CReName::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// The arrow keys go on from the check box into its group of modes, as in any dialog's group;
// Tab from a mode goes on to that mode's edit.
bool CReName::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_nameCheck && event->type() == QEvent::KeyPress && m_nameCheck->isChecked()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            key->modifiers() == Qt::NoModifier) {
            m_modes->checkedButton()->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CReName::onExtensionToggled(bool checked) {
    m_extensionEdit->setEnabled(checked);
    if (checked)
        m_extensionEdit->setFocus();
}

void CReName::onNameToggled(bool checked) {
    for (QAbstractButton* radio : m_modes->buttons())
        radio->setEnabled(checked);
    if (checked) {
        onModeClicked();
        return;
    }
    for (QLineEdit* edit : {m_findEdit, m_replacementEdit, m_frontEdit, m_endEdit})
        edit->setEnabled(false);
}

// The edits of the selected mode are enabled, the others not.
void CReName::onModeClicked() {
    const bool replace = m_replaceRadio->isChecked();
    const bool front = m_frontRadio->isChecked();
    const bool end = m_endRadio->isChecked();
    m_findEdit->setEnabled(replace);
    m_replacementEdit->setEnabled(replace);
    m_frontEdit->setEnabled(front);
    m_endEdit->setEnabled(end);
    QLineEdit* first = replace ? m_findEdit : front ? m_frontEdit : m_endEdit;
    first->setFocus();
}

bool CReName::checkText(const QLineEdit* edit, bool required) {
    const QString text = edit->text();
    if (required && text.isEmpty()) {
        m_prompt.exclamation(this, tr("未入力です。"));
        return false;
    }
    if (!isAllowedInName(QFile::encodeName(text))) {
        m_prompt.exclamation(this, tr("ファイル名に使用できない文字が含まれています。"));
        return false;
    }
    return true;
}

void CReName::onOk() {
    m_mode = 0;
    const bool extension = m_extensionCheck->isChecked();
    const bool name = m_nameCheck->isChecked();
    if (!extension && !name && !extrasChosen()) {
        accept();
        return;
    }
    if (!m_prompt.confirm(this, tr("ファイル名を変更してもよろしいですか？")))
        return;
    // One message per press: the extension first, then the texts of the selected mode.
    if (extension && !checkText(m_extensionEdit, true))
        return;
    unsigned nameMode = 0;
    if (name) {
        if (m_replaceRadio->isChecked()) {
            if (!checkText(m_findEdit, true) || !checkText(m_replacementEdit, false))
                return;
            nameMode = renamemode::Replace;
        } else if (m_frontRadio->isChecked()) {
            if (!checkText(m_frontEdit, true))
                return;
            nameMode = renamemode::Front;
        } else {
            if (!checkText(m_endEdit, true))
                return;
            nameMode = renamemode::End;
        }
    }
    if (m_numbering && m_numbering->isChecked() &&
        (!checkText(m_separatorEdit, false) || !checkText(m_baseEdit, false)))
        return;
    m_extras = {};
    readExtras(m_extras);
    if (name && nameMode == renamemode::Replace) {
        m_extras.mode = nameMode;
        m_extras.find = QFile::encodeName(m_findEdit->text());
        if (!patternError(m_extras).isEmpty())
            return;
    }
    m_extension = m_extensionEdit->text();
    m_find = m_findEdit->text();
    m_replacement = m_replacementEdit->text();
    m_front = m_frontEdit->text();
    m_end = m_endEdit->text();
    m_mode = (extension ? renamemode::Extension : 0u) | nameMode;
    accept();
}

RenameOptions CReName::options() const {
    RenameOptions o;
    o.mode = m_mode;
    o.extension = QFile::encodeName(m_extension);
    o.find = QFile::encodeName(m_find);
    o.replacement = QFile::encodeName(m_replacement);
    o.front = QFile::encodeName(m_front);
    o.end = QFile::encodeName(m_end);
    o.regularExpression = m_extras.regularExpression;
    o.ignoreCase = m_extras.ignoreCase;
    o.numbering = m_extras.numbering;
    o.letterCase = m_extras.letterCase;
    return o;
}

} // namespace kelvoro
