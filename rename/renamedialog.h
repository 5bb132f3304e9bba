#pragma once

#include "rename/newname.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kelvoro {

class Prompt;

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
    // The mode and texts in the native encoding of file names.
    RenameOptions options() const;

private:
    void onExtensionToggled(bool checked);
    void onNameToggled(bool checked);
    void onModeClicked();
    void onOk();
    // Empty required text or a character no name may hold: tells the user, false.
    bool checkText(const QLineEdit* edit, bool required);

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

    unsigned m_mode = 0;
    QString m_extension;
    QString m_find;
    QString m_replacement;
    QString m_front;
    QString m_end;
};

} // namespace kelvoro
