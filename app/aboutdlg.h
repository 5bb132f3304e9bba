#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvoro {

namespace platform {
class Shell;
} // namespace platform

// The about box: name, version, a link to the support page and the free-software notice.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // supportUrl is both the link's text and the address it opens.
    CAboutDlg(platform::Shell& shell, const QUrl& supportUrl, QWidget* parent = nullptr);

    const QUrl& supportUrl() const { return m_supportUrl; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnClickedLink();

    platform::Shell& m_shell;
    QUrl m_supportUrl;
    QLabel* m_link = nullptr;
    QPlainTextEdit* m_editNotice = nullptr;
};

} // namespace kelvoro
