#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <clocale>
#include <memory>

#include "app/ApplicationIcon.h"
#include "app/modBoot.h"
#include "platform/Application.h"
#include "platform/MpvPlayback.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessagePresenter.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // QApplication adopts the user's locale; numbers are read and written with "." only.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(quillon::platform::applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(quillon::applicationIconImage())));
    quillon::platform::installMessagePresenter(
        std::make_shared<quillon::platform::QtMessagePresenter>());
    quillon::platform::installFileDialogs(std::make_shared<quillon::platform::QtFileDialogs>());
    quillon::platform::installMediaPlaybackMaker(
        [] { return std::make_unique<quillon::platform::MpvPlayback>(); });

    quillon::modBoot::Main();
    return application.exec();
}
