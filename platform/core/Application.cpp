#include "platform/core/Application.h"

#include <QCoreApplication>
#include <cstdlib>

namespace quillon::platform {
namespace {

std::function<void()>& endHandler() {
    static std::function<void()> handler;
    return handler;
}

}  // namespace

QString applicationTitle() {
    return QStringLiteral("Quillon");
}
int versionMajor() {
    return QUILLON_VERSION_MAJOR;
}
int versionMinor() {
    return QUILLON_VERSION_MINOR;
}
int versionRevision() {
    return QUILLON_VERSION_PATCH;
}

void processPendingEvents() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void endApplicationNow() {
    if (endHandler()) endHandler()();
    std::exit(1);
}

void setEndApplicationHandler(std::function<void()> handler) {
    endHandler() = std::move(handler);
}

}  // namespace quillon::platform
