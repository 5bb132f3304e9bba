#include "app/cli/run.h"
#include "platform/filesystem.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const kelvoro::cli::Console console{stdin, stdout, stderr};
    return kelvoro::cli::run(arguments, kelvoro::platform::nativeFileSystem(), console);
}
