#include "AppTestEnvironment.h"

#include <QAbstractButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

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

void clickByCaption(QWidget& window, const QString& caption) {
    QAbstractButton* found = nullptr;
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() != caption) continue;
        if (found != nullptr) qFatal("two buttons captioned %s", qPrintable(caption));
        found = button;
    }
    if (found == nullptr || !found->isVisible() || !found->isEnabled())
        qFatal("no button to press captioned %s", qPrintable(caption));
    const QPoint middle = found->rect().center();
    if (window.childAt(found->mapTo(&window, middle)) != found)
        qFatal("the button captioned %s is covered", qPrintable(caption));
    QTest::mouseClick(found, Qt::LeftButton, {}, middle);
}

void flushDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace quillon::testing
