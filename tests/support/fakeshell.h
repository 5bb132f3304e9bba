#pragma once

#include "platform/shell.h"

#include <QList>

namespace kelvoro::test {

// Records what would have been handed to the desktop.
class FakeShell : public platform::Shell {
public:
    void openWithAssociatedProgram(const QByteArray& path) override { opened.append(path); }
    void chooseProgram(const QByteArray& path, QWidget*) override { chosen.append(path); }
    void openUrl(const QUrl& url) override { urls.append(url); }

    QList<QByteArray> opened;
    QList<QByteArray> chosen;
    QList<QUrl> urls;
};

} // namespace kelvoro::test
