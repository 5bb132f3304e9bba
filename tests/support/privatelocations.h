#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kelvoro::test {

// Keeps a test that makes windows or views off the user's files, also when it is run
// directly or from an IDE: settings go to Qt's test locations, and ./quib.ini lands in a
// temporary working directory. Make it the test object's first member.
class PrivateLocations {
public:
    PrivateLocations();
    ~PrivateLocations();
    PrivateLocations(const PrivateLocations&) = delete;
    PrivateLocations& operator=(const PrivateLocations&) = delete;

private:
    QString m_previous;
    QTemporaryDir m_work;
};

} // namespace kelvoro::test
