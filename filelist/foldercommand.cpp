#include "filelist/foldercommand.h"

#include "filelist/commandcontext.h"
#include "filelist/folderdialog.h"
#include "filelist/trazzleview.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace kelvoro {

void OnFileOpenFolder(CommandContext& context) {
    CTrazzleView& view = context.view;
    QFileDialog chooser(&view,
                        QCoreApplication::translate("kelvoro::CFolderDlg", "フォルダーを開く"));
    chooser.setObjectName(QStringLiteral("folderChooser"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QByteArray folder = QFile::encodeName(chooser.selectedFiles().constFirst());
    CFolderDlg options(folder, view.lastFolderOptions(), &view);
    if (options.exec() != QDialog::Accepted)
        return;
    view.addFolder(folder, options.options());
}

} // namespace kelvoro
