#pragma once

#include "filelist/folderlisting.h"

#include <QByteArray>
#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kelvoro {

// Asks what a chosen folder adds to the list: its subfolders' files, the folders as rows of
// their own, hidden files, and which file names. Touches no file and no row.
class CFolderDlg : public QDialog {
    Q_OBJECT

public:
    CFolderDlg(const QByteArray& folder, const FolderOptions& initial, QWidget* parent = nullptr);

    // What the controls say (after OK: what the user chose).
    FolderOptions options() const;

private:
    QCheckBox* m_recurse = nullptr;
    QCheckBox* m_listFolders = nullptr;
    QCheckBox* m_includeHidden = nullptr;
    QLineEdit* m_patterns = nullptr;
};

} // namespace kelvoro
