#include "app/kelvoroapp.h"
#include "app/services.h"
#include "app/settingsstore.h"
#include "platform/filesystem.h"
#include "platform/shell.h"
#include "presentation/prompt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);

    // QApplication has taken its own options out of argv; the rest are file paths, kept as
    // the bytes the shell gave us.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));

    kelvoro::MessageBoxPrompt prompt;
    kelvoro::SettingsStore settings;
    kelvoro::Services services{prompt, kelvoro::platform::nativeFileSystem(),
                               kelvoro::platform::nativeShell(), settings};
    kelvoro::CKelvoroApp theApp(services);
    if (!theApp.InitInstance(arguments))
        return 1;
    return application.exec();
}
