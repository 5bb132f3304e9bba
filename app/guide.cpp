#include "app/guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace kelvoro {

namespace {

const QString kGuideInData = QStringLiteral("kelvoro/guide/index.html");

} // namespace

QString guideFile(const QString& executableDir, const QString& configuredDir) {
    const QString candidates[] = {
        QDir::cleanPath(executableDir + u"/../share/"_s + kGuideInData),
        QDir::cleanPath(executableDir + u"/share/"_s + kGuideInData),
        QDir::cleanPath(configuredDir + u"/index.html"_s),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return candidates[0];
}

QUrl guideUrl() {
    return QUrl::fromLocalFile(
        guideFile(QCoreApplication::applicationDirPath(), QStringLiteral(KELVORO_GUIDE_DIR)));
}

} // namespace kelvoro
