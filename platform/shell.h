#pragma once

#include <QByteArray>
#include <QUrl>

class QWidget;

namespace kelvoro::platform {

// Desktop services. None of them waits for the program it starts; failures are silent.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens the file with the program the desktop associates with its type.
    virtual void openWithAssociatedProgram(const QByteArray& path) = 0;
    // Lets the user choose the program that opens the file.
    virtual void chooseProgram(const QByteArray& path, QWidget* parent) = 0;
    // Opens an address (a web page or a local document) in the user's browser.
    virtual void openUrl(const QUrl& url) = 0;
};

Shell& nativeShell();

} // namespace kelvoro::platform
