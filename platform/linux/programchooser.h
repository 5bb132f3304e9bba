#pragma once

#include "platform/linux/desktopentry.h"

#include <QDBusConnection>
#include <QDialog>

#include <functional>
#include <vector>

class QDialogButtonBox;
class QListWidget;

namespace kelvoro::platform {

// Our own choose-a-program dialog, for desktops without a portal: the installed applications
// that declare the file's type; OK starts the one chosen with the file.
class AppChooserDialog : public QDialog {
    Q_OBJECT

public:
    AppChooserDialog(const QByteArray& path, const QString& typeDescription,
                     std::vector<DesktopEntry> applications, QWidget* parent = nullptr);

    const std::vector<DesktopEntry>& applications() const { return m_applications; }

    void accept() override;

private:
    QByteArray m_path;
    std::vector<DesktopEntry> m_applications;
    QListWidget* m_list = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// Shows our chooser for the file without waiting for the user; it deletes itself when closed.
AppChooserDialog* showAppChooser(const QByteArray& path, QWidget* parent);

// How the portal names the window its dialog belongs to: "x11:<hex id>" under X11, empty
// where there is no such name.
QString portalParentWindow(QWidget* widget);

// Asks the desktop portal on the bus to let the user choose a program for the file, which it
// receives as an open descriptor, so any name works. Returns at once; noPortal runs later when
// no portal answered (no bus, no such service, an error reply, or the portal gave up).
void openWithPortal(const QDBusConnection& bus, const QByteArray& path, const QString& parentWindow,
                    std::function<void()> noPortal);

// The portal first; our own chooser where there is none.
void chooseProgramWith(const QDBusConnection& bus, const QByteArray& path, QWidget* parent);

} // namespace kelvoro::platform
