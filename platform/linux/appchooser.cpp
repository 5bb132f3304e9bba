#include "platform/linux/programchooser.h"

#include "common/pathpieces.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvoro::platform {

namespace {

QIcon applicationIcon(const QString& icon) {
    if (QDir::isAbsolutePath(icon))
        return QIcon(icon);
    return QIcon::fromTheme(icon, QIcon::fromTheme(QStringLiteral("application-x-executable")));
}

} // namespace

AppChooserDialog::AppChooserDialog(const QByteArray& path, const QString& typeDescription,
                                   std::vector<DesktopEntry> applications, QWidget* parent)
    : QDialog(parent), m_path(path), m_applications(std::move(applications)) {
    setWindowTitle(tr("プログラムから開く"));
    auto* layout = new QVBoxLayout(this);

    const std::string full = path.toStdString();
    const std::string_view leaf = nameOf(full);
    const QString name = QFile::decodeName(QByteArray(leaf.data(), qsizetype(leaf.size())));
    auto* prompt = new QLabel(tr("「%1」を開くプログラムを選んでください。").arg(name), this);
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    auto* type = new QLabel(tr("ファイルの種類: %1").arg(typeDescription), this);
    type->setObjectName(QStringLiteral("fileType"));
    layout->addWidget(type);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("applications"));
    m_list->setIconSize(QSize(32, 32));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t i = 0; i < m_applications.size(); ++i) {
        auto* item = new QListWidgetItem(applicationIcon(m_applications[i].icon),
                                         m_applications[i].name, m_list);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    layout->addWidget(m_list);
    if (m_applications.empty()) {
        auto* none = new QLabel(tr("この種類のファイルを開くプログラムが見つかりません。"), this);
        none->setObjectName(QStringLiteral("noApplications"));
        layout->addWidget(none);
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("buttons"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0); });
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    resize(420, 360);
}

void AppChooserDialog::accept() {
    const QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    launchWithFile(m_applications[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())],
                   m_path);
    QDialog::accept();
}

AppChooserDialog* showAppChooser(const QByteArray& path, QWidget* parent) {
    const QStringList types = mimeTypesOf(path);
    const QString description = QMimeDatabase().mimeTypeForName(types.first()).comment();
    auto* dialog = new AppChooserDialog(path, description, applicationsFor(types),
                                        parent ? parent->window() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

} // namespace kelvoro::platform
