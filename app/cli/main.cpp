#include "app/cli/language.h"
#include "app/cli/run.h"
#include "platform/filesystem.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    // The translators need the application object.
    QCoreApplication application(argc, argv);
    // The session's language only: a script's output should not change with what was last
    // chosen under View > 言語 in the window.
    kelvoro::cli::applyToolLanguage(
        kelvoro::sessionLanguage(kelvoro::LocaleEnvironment::current()));
    const kelvoro::cli::Console console{stdin, stdout, stderr};
    return kelvoro::cli::run(arguments, kelvoro::platform::nativeFileSystem(), console);
}
