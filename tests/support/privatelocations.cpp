#include "support/privatelocations.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

namespace kelvoro::test {

PrivateLocations::PrivateLocations() : m_previous(QDir::currentPath()) {
    QStandardPaths::setTestModeEnabled(true);
    if (!m_work.isValid() || !QDir::setCurrent(m_work.path()))
        qFatal("no temporary working directory");
}

PrivateLocations::~PrivateLocations() {
    QDir::setCurrent(m_previous);
}

} // namespace kelvoro::test
