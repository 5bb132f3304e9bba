#pragma once

#include "rename/newname.h"
#include "rename/renameplan.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace kelvoro {

class Prompt;
class RenamePreviewModel;

// Asks how the selected files get their new names. Touches no file and no row.
class CReName : public QDialog {
    Q_OBJECT

public:
    static constexpr int kExtensionLimit = 10;
    static constexpr int kTextLimit = 50;

    explicit CReName(Prompt& prompt, QWidget* parent = nullptr);

    // After OK; the texts of modes that are not set are not meaningful.
    unsigned mode() const { return m_mode; }
    QString extensionText() const { return m_extension; }
    QString findText() const { return m_find; }
    QString replacementText() const { return m_replacement; }
    QString frontText() const { return m_front; }
    QString endText() const { return m_end; }
    // The mode and texts in the native encoding of file names, with numbering, letter case
    // and how the find text is matched.
    RenameOptions options() const;

    // The rows to be renamed, in the list's order. Brings the numbering, letter case and
    // pattern options and the preview of the new names, below the other controls.
    void setPreviewRows(std::vector<RenameSource> rows);
    RenamePreviewModel* previewModel() const { return m_preview; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onExtensionToggled(bool checked);
    void onNameToggled(bool checked);
    void onModeClicked();
    void onOk();
    // Empty required text or a character no name may hold: tells the user, false.
    bool checkText(const QLineEdit* edit, bool required);
    QGroupBox* buildNumbering();
    QWidget* buildPatternOptions();
    QWidget* buildPreview(std::vector<RenameSource> rows);
    // The options as the controls stand, texts not yet checked: what the preview shows.
    RenameOptions currentOptions() const;
    // Numbering, case and pattern choices as the controls stand.
    void readExtras(RenameOptions& o) const;
    // After any change: enable states, the pattern's error, the preview.
    void refresh();
    bool extrasChosen() const;

    Prompt& m_prompt;
    QCheckBox* m_extensionCheck = nullptr;
    QLineEdit* m_extensionEdit = nullptr;
    QCheckBox* m_nameCheck = nullptr;
    QRadioButton* m_replaceRadio = nullptr;
    QRadioButton* m_frontRadio = nullptr;
    QRadioButton* m_endRadio = nullptr;
    QButtonGroup* m_modes = nullptr;
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replacementEdit = nullptr;
    QLineEdit* m_frontEdit = nullptr;
    QLineEdit* m_endEdit = nullptr;
    QPushButton* m_okButton = nullptr;

    QGroupBox* m_numbering = nullptr;
    QSpinBox* m_startSpin = nullptr;
    QSpinBox* m_stepSpin = nullptr;
    QSpinBox* m_digitsSpin = nullptr;
    QComboBox* m_positionCombo = nullptr;
    QLineEdit* m_separatorEdit = nullptr;
    QLineEdit* m_baseEdit = nullptr;
    QComboBox* m_caseCombo = nullptr;
    QCheckBox* m_patternCheck = nullptr;
    QCheckBox* m_ignoreCaseCheck = nullptr;
    QLabel* m_patternError = nullptr;
    QLabel* m_summary = nullptr;
    RenamePreviewModel* m_preview = nullptr;

    unsigned m_mode = 0;
    QString m_extension;
    QString m_find;
    QString m_replacement;
    QString m_front;
    QString m_end;
    RenameOptions m_extras; // numbering, case and matching, as they stood at OK
};

} // namespace kelvoro
