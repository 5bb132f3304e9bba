#include "app/guide.h"

#include "app/translations.h"

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
    QUrl url = QUrl::fromLocalFile(
        guideFile(QCoreApplication::applicationDirPath(), QStringLiteral(KELVORO_GUIDE_DIR)));
    // The guide holds both languages; the link opens the one the interface speaks.
    url.setFragment(appliedLanguage() == UiLanguage::English ? QStringLiteral("en")
                                                             : QStringLiteral("ja"));
    return url;
}

} // namespace kelvoro
