#pragma once

#include <QByteArray>
#include <QList>

#include <memory>

namespace kelvoro {

class CMainFrame;
struct Services;

// Start-up: names, translations, the check of the first file, the window.
class CKelvoroApp {
public:
    explicit CKelvoroApp(Services& services);
    ~CKelvoroApp();

    // Runs the start-up steps; false when the process should end without a window.
    // arguments are the command line's file arguments as native bytes.
    bool InitInstance(const QList<QByteArray>& arguments);

    CMainFrame* mainFrame() const { return m_frame.get(); }

private:
    bool checkFirstFile(const QByteArray& path);

    Services& m_services;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace kelvoro
