#include "fuzz/FuzzSurroundings.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/core/Application.h"
#include "platform/core/Display.h"
#include "platform/core/MessageBox.h"

namespace quillon::fuzzing {
namespace {

class SilentMessages : public platform::MessagePresenter {
public:
    void show(const QString&, const QString&, platform::MessageIcon) override {}
};

void ignoreQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

void prepareSurroundings() {
    static int argc = 1;
    static char name[] = "quillon-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    qInstallMessageHandler(ignoreQtMessage);
    platform::installMessagePresenter(std::make_shared<SilentMessages>());
    platform::Display::overrideBitsPerPixel(32);
    platform::Display::overrideTwipsPerPixel(1.0);
    platform::setEndApplicationHandler([] {
        std::fputs("the engine ended the application after a drawing failure\n", stderr);
        std::abort();
    });
}

}  // namespace quillon::fuzzing
