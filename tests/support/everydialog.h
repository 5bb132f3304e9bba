#pragma once

#include "app/aboutdlg.h"
#include "filelist/folderdialog.h"
#include "filelist/trazzleview.h"
#include "platform/photodate.h"
#include "properties/change.h"
#include "properties/stagetimes.h"
#include "properties/timetoolsdialog.h"
#include "rename/renamedialog.h"
#include "support/fakeprompt.h"
#include "support/fakeshell.h"

#include <QFile>
#include <QUrl>

namespace kelvoro::test {

// One of each of the program's own dialogs, for the checks that go over all of them, set up
// for the first row of view, which lists folder/name.
struct EveryDialog {
    EveryDialog(Prompt& prompt, platform::Shell& shell, const CTrazzleView& view,
                const QByteArray& folder, const QByteArray& name)
        : rename(prompt), about(shell, QUrl(QStringLiteral("file:///guide/index.html"))),
          times(timeToolsInput(view.rows(), {0}), platform::readPhotoDate),
          folderChoice(folder, FolderOptions{}) {
        rename.setPreviewRows({{folder, name}});
    }

    QList<QDialog*> all() { return {&change, &rename, &about, &times, &folderChoice}; }

    CChange change;
    CReName rename;
    CAboutDlg about;
    CTimeTools times;
    CFolderDlg folderChoice;
};

} // namespace kelvoro::test
