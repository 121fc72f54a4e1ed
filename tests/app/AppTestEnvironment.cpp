#include "AppTestEnvironment.h"

#include <QScreen>
#include <QSettings>

#include "platform/core/Display.h"
#include "platform/core/SettingsStore.h"
#include "platform/core/TempFrameFile.h"

namespace quillon::testing {
namespace {
const QString kApplication = QStringLiteral("Quillon");
const QString kSection = QStringLiteral("Settings");
}  // namespace

AppTestEnvironment::AppTestEnvironment() {
    platform::Display::overrideBitsPerPixel(32);
    platform::Display::overrideTwipsPerPixel(15);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory_.path());
    platform::overrideGrabbedFrameDirectory(directory_.path());
}

AppTestEnvironment::~AppTestEnvironment() {
    platform::overrideGrabbedFrameDirectory(QString());
    platform::Display::overrideBitsPerPixel(0);
    platform::Display::overrideTwipsPerPixel(0);
}

QString AppTestEnvironment::setting(const QString& key) {
    return platform::readSetting(kApplication, kSection, key);
}

void AppTestEnvironment::writeSetting(const QString& key, const QString& value) {
    platform::saveSetting(kApplication, kSection, key, value);
}

bool isCentredOnScreen(const QWidget& window) {
    const QPoint offset =
        window.frameGeometry().center() - window.screen()->availableGeometry().center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}

void flushDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace quillon::testing
