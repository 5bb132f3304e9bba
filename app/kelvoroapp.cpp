#include "app/kelvoroapp.h"

#include "app/mainframe.h"
#include "app/services.h"
#include "app/settingsstore.h"
#include "app/translations.h"
#include "common/fileerrortext.h"
#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "presentation/artwork.h"
#include "presentation/prompt.h"

#include <QApplication>
#include <QCoreApplication>

#include <cerrno>

namespace kelvoro {

CKelvoroApp::CKelvoroApp(Services& services) : m_services(services) {}

CKelvoroApp::~CKelvoroApp() = default;

bool CKelvoroApp::checkFirstFile(const QByteArray& path) {
    const int error = m_services.fileSystem.openForReadingError(path.toStdString());
    if (error == 0)
        return true;
    const platform::FileErrorCause cause =
        error == EISDIR ? platform::FileErrorCause::AccessDenied : platform::causeFromErrno(error);
    m_services.prompt.exclamation(nullptr, fileErrorText(cause, displayPath(path)));
    return false;
}

bool CKelvoroApp::InitInstance(const QList<QByteArray>& arguments) {
    QCoreApplication::setApplicationName(QStringLiteral("Kelvoro"));
    QCoreApplication::setOrganizationName(QStringLiteral("Hollenby"));
    QApplication::setWindowIcon(applicationIcon());
    applyChosenLanguage(m_services.settings);

    if (!arguments.isEmpty()) {
        if (!checkFirstFile(arguments.first()))
            return false;
        if (const QByteArray absolute = FileListModel::absolutePath(arguments.first());
            !absolute.isEmpty())
            m_services.settings.addRecentFile(absolute);
    }

    m_frame = std::make_unique<CMainFrame>(m_services);
    // Shown first, so a long list's progress and any message stand over the window.
    m_frame->showAsSaved();
    m_frame->view()->addCommandLineFiles(entriesFromArguments(arguments));
    return true;
}

} // namespace kelvoro
