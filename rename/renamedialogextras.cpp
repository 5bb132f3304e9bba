// The rename dialog's options beyond the extension and the name modes, and its preview.
#include "rename/renamedialog.h"
#include "rename/renamepreview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace kelvoro {

namespace {

QSpinBox* makeSpin(QWidget* parent, const char* name, int minimum, int maximum, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1StringView(name));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

QLineEdit* makeText(QWidget* parent, const char* name, int limit, const QString& text = {}) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setMaxLength(limit);
    return edit;
}

} // namespace

QWidget* CReName::buildPatternOptions() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_patternCheck = new QCheckBox(tr("正規表現を使う"), box);
    m_patternCheck->setObjectName(QStringLiteral("patternCheck"));
    m_ignoreCaseCheck = new QCheckBox(tr("大文字と小文字を区別しない"), box);
    m_ignoreCaseCheck->setObjectName(QStringLiteral("ignoreCaseCheck"));
    m_patternError = new QLabel(box);
    m_patternError->setObjectName(QStringLiteral("patternError"));
    m_patternError->setStyleSheet(QStringLiteral("color: #c00000"));
    m_patternError->setVisible(false);
    row->addWidget(m_patternCheck);
    row->addWidget(m_ignoreCaseCheck);
    row->addWidget(m_patternError, 1);
    return box;
}

QGroupBox* CReName::buildNumbering() {
    m_numbering = new QGroupBox(tr("連番"), this);
    m_numbering->setObjectName(QStringLiteral("numberingGroup"));
    m_numbering->setCheckable(true);
    m_numbering->setChecked(false);
    m_startSpin = makeSpin(m_numbering, "numberStart", 0, 999999999, 1);
    m_stepSpin = makeSpin(m_numbering, "numberStep", 1, 999999, 1);
    m_digitsSpin = makeSpin(m_numbering, "numberDigits", 1, 10, 3);
    m_positionCombo = new QComboBox(m_numbering);
    m_positionCombo->setObjectName(QStringLiteral("numberPosition"));
    m_positionCombo->addItem(tr("名前の後（拡張子の前）"), int(NumberPosition::AfterName));
    m_positionCombo->addItem(tr("名前の前"), int(NumberPosition::BeforeName));
    m_positionCombo->addItem(tr("名前の代わり（拡張子は残す）"),
                             int(NumberPosition::InsteadOfName));
    m_separatorEdit =
        makeText(m_numbering, "numberSeparator", kExtensionLimit, QStringLiteral("_"));
    m_baseEdit = makeText(m_numbering, "numberBase", kTextLimit);

    auto* grid = new QGridLayout(m_numbering);
    const auto add = [grid, this](int row, int column, const QString& label, QWidget* field) {
        auto* text = new QLabel(label, m_numbering);
        text->setBuddy(field);
        grid->addWidget(text, row, column);
        grid->addWidget(field, row, column + 1);
    };
    add(0, 0, tr("開始番号"), m_startSpin);
    add(0, 2, tr("増分"), m_stepSpin);
    add(0, 4, tr("桁数"), m_digitsSpin);
    add(1, 0, tr("位置"), m_positionCombo);
    grid->addWidget(m_positionCombo, 1, 1, 1, 3);
    add(1, 4, tr("区切り"), m_separatorEdit);
    add(2, 0, tr("新しい名前"), m_baseEdit);
    grid->addWidget(m_baseEdit, 2, 1, 1, 3);
    grid->setColumnStretch(6, 1);
    return m_numbering;
}

QWidget* CReName::buildPreview(std::vector<RenameSource> rows) {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("プレビュー"), box);
    auto* view = new QTableView(box);
    view->setObjectName(QStringLiteral("preview"));
    label->setBuddy(view);
    view->setAccessibleName(label->text());
    m_preview = new RenamePreviewModel(std::move(rows), this);
    view->setModel(m_preview);
    view->verticalHeader()->hide();
    // Fixed heights and widths: nothing measures all rows of a large selection.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setColumnWidth(RenamePreviewModel::ColCurrent, 200);
    view->setColumnWidth(RenamePreviewModel::ColNew, 200);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    view->setMinimumSize(620, 220);
    m_summary = new QLabel(box);
    m_summary->setObjectName(QStringLiteral("previewSummary"));
    column->addWidget(label);
    column->addWidget(view);
    column->addWidget(m_summary);
    connect(m_preview, &RenamePreviewModel::analysisFinished, this,
            [this] { m_summary->setText(m_preview->summary()); });
    return box;
}

void CReName::setPreviewRows(std::vector<RenameSource> rows) {
    if (m_preview)
        return;
    auto* grid = static_cast<QGridLayout*>(layout());
    int row = grid->rowCount();
    grid->addWidget(buildPatternOptions(), row++, 0, 1, 2);
    grid->addWidget(buildNumbering(), row++, 0, 1, 2);
    auto* caseRow = new QHBoxLayout;
    auto* caseLabel = new QLabel(tr("大文字/小文字"), this);
    m_caseCombo = new QComboBox(this);
    m_caseCombo->setObjectName(QStringLiteral("letterCase"));
    caseLabel->setBuddy(m_caseCombo);
    m_caseCombo->addItem(tr("変更しない"), int(LetterCase::Unchanged));
    m_caseCombo->addItem(tr("すべて小文字"), int(LetterCase::Lower));
    m_caseCombo->addItem(tr("すべて大文字"), int(LetterCase::Upper));
    m_caseCombo->addItem(tr("拡張子だけ小文字"), int(LetterCase::ExtensionLower));
    caseRow->addWidget(caseLabel);
    caseRow->addWidget(m_caseCombo);
    caseRow->addStretch();
    grid->addLayout(caseRow, row++, 0, 1, 2);
    grid->addWidget(buildPreview(std::move(rows)), row, 0, 1, 2);

    for (QLineEdit* edit : {m_extensionEdit, m_findEdit, m_replacementEdit, m_frontEdit, m_endEdit,
                            m_separatorEdit, m_baseEdit})
        connect(edit, &QLineEdit::textChanged, this, &CReName::refresh);
    for (QAbstractButton* check :
         {static_cast<QAbstractButton*>(m_extensionCheck),
          static_cast<QAbstractButton*>(m_nameCheck), static_cast<QAbstractButton*>(m_patternCheck),
          static_cast<QAbstractButton*>(m_ignoreCaseCheck)})
        connect(check, &QAbstractButton::toggled, this, &CReName::refresh);
    connect(m_modes, &QButtonGroup::buttonToggled, this, &CReName::refresh);
    connect(m_numbering, &QGroupBox::toggled, this, &CReName::refresh);
    for (QSpinBox* spin : {m_startSpin, m_stepSpin, m_digitsSpin})
        connect(spin, &QSpinBox::valueChanged, this, &CReName::refresh);
    for (QComboBox* combo : {m_positionCombo, m_caseCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, &CReName::refresh);
    refresh();
}

bool CReName::extrasChosen() const {
    return m_numbering && (m_numbering->isChecked() || m_caseCombo->currentIndex() != 0);
}

void CReName::readExtras(RenameOptions& o) const {
    if (!m_numbering)
        return;
    o.regularExpression = m_patternCheck->isChecked();
    o.ignoreCase = m_ignoreCaseCheck->isChecked();
    if (m_numbering->isChecked()) {
        o.numbering = {true,
                       m_startSpin->value(),
                       m_stepSpin->value(),
                       m_digitsSpin->value(),
                       NumberPosition(m_positionCombo->currentData().toInt()),
                       QFile::encodeName(m_separatorEdit->text()),
                       QFile::encodeName(m_baseEdit->text())};
    }
    o.letterCase = LetterCase(m_caseCombo->currentData().toInt());
}

RenameOptions CReName::currentOptions() const {
    RenameOptions o;
    if (m_extensionCheck->isChecked() && !m_extensionEdit->text().isEmpty()) {
        o.mode |= renamemode::Extension;
        o.extension = QFile::encodeName(m_extensionEdit->text());
    }
    if (m_nameCheck->isChecked()) {
        if (m_replaceRadio->isChecked() && !m_findEdit->text().isEmpty()) {
            o.mode |= renamemode::Replace;
            o.find = QFile::encodeName(m_findEdit->text());
            o.replacement = QFile::encodeName(m_replacementEdit->text());
        } else if (m_frontRadio->isChecked() && !m_frontEdit->text().isEmpty()) {
            o.mode |= renamemode::Front;
            o.front = QFile::encodeName(m_frontEdit->text());
        } else if (m_endRadio->isChecked() && !m_endEdit->text().isEmpty()) {
            o.mode |= renamemode::End;
            o.end = QFile::encodeName(m_endEdit->text());
        }
    }
    readExtras(o);
    return o;
}

void CReName::refresh() {
    const bool replacing = m_nameCheck->isChecked() && m_replaceRadio->isChecked();
    m_patternCheck->setEnabled(replacing);
    m_ignoreCaseCheck->setEnabled(replacing);
    const bool instead =
        NumberPosition(m_positionCombo->currentData().toInt()) == NumberPosition::InsteadOfName;
    m_baseEdit->setEnabled(m_numbering->isChecked() && instead);
    const RenameOptions o = currentOptions();
    const QString error = patternError(o);
    m_patternError->setText(error.isEmpty() ? QString() : tr("正規表現の誤り: %1").arg(error));
    m_patternError->setVisible(!error.isEmpty());
    m_okButton->setEnabled(error.isEmpty());
    m_preview->setOptions(o);
    m_summary->setText(m_preview->summary());
}

} // namespace kelvoro
