#include "filelist/folderdialog.h"

#include "common/fileerrortext.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvoro {

CFolderDlg::CFolderDlg(const QByteArray& folder, const FolderOptions& initial, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CFolderDlg"));
    setWindowTitle(tr("フォルダーの追加"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* path = new QLabel(displayPath(folder), this);
    path->setObjectName(QStringLiteral("folder"));
    path->setTextFormat(Qt::PlainText);
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(path);

    auto checkBox = [this, layout](const QString& text, const char* name, bool checked) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QLatin1String(name));
        box->setChecked(checked);
        layout->addWidget(box);
        return box;
    };
    m_recurse = checkBox(tr("サブフォルダーも含める(&S)"), "recurse", initial.recurse);
    m_listFolders =
        checkBox(tr("フォルダー自体も一覧に加える(&F)"), "listFolders", initial.listFolders);
    m_includeHidden =
        checkBox(tr("隠しファイルを含める(&H)"), "includeHidden", initial.includeHidden);

    auto* form = new QFormLayout;
    m_patterns = new QLineEdit(initial.patterns, this);
    m_patterns->setObjectName(QStringLiteral("patterns"));
    m_patterns->setPlaceholderText(tr("すべてのファイル"));
    m_patterns->setMinimumWidth(m_patterns->fontMetrics().averageCharWidth() * 36);
    m_patterns->setToolTip(tr("「;」で区切って複数指定できます（例: *.jpg;*.jpeg;*.png）。"
                              "大文字と小文字は区別しません。空欄ならすべてのファイルです。"));
    form->addRow(tr("対象ファイル(&T):"), m_patterns);
    layout->addLayout(form);
    auto* hint = new QLabel(tr("例: *.jpg;*.jpeg;*.png"), this);
    hint->setEnabled(false);
    layout->addWidget(hint);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FolderOptions CFolderDlg::options() const {
    return {m_recurse->isChecked(), m_listFolders->isChecked(), m_includeHidden->isChecked(),
            m_patterns->text().trimmed()};
}

} // namespace kelvoro
