#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <clocale>
#include <iostream>
#include <memory>
#include <optional>

#include "app/controls/ApplicationIcon.h"
#include "app/window/frmMain.h"
#include "app/window/modBoot.h"
#include "platform/core/Application.h"
#include "platform/mpv/MpvPlayback.h"
#include "platform/widgets/QtFileDialogs.h"
#include "platform/widgets/QtMessagePresenter.h"

namespace {

// What the command line asks for: a file to open, or only an answer on the terminal.
struct CommandLine {
    QString file;
    std::optional<int> exitStatus;  // set when the program ends without a window
};

// "quillon FILE" is how the desktop's "Open with Quillon" starts the program (the desktop
// entry's %f). --help and --version are answered before any window opens, returning from
// main rather than exiting, so everything is torn down as on a normal close.
CommandLine readCommandLine() {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "A media player beside a small image editor."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QApplication::translate("main", "A media file to open."),
                                 QStringLiteral("[file]"));
    if (!parser.parse(QApplication::arguments())) {
        std::cerr << "quillon: " << qPrintable(parser.errorText()) << '\n';
        return {QString(), 2};
    }
    const bool helpAsked = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    if (helpAsked) std::cout << qPrintable(parser.helpText());
    if (parser.isSet(version)) std::cout << "Quillon " << QUILLON_VERSION_TEXT << '\n';
    if (helpAsked || parser.isSet(version)) return {QString(), 0};
    const QStringList files = parser.positionalArguments();
    return {files.isEmpty() ? QString() : files.first(), std::nullopt};
}

// The media player opens the file, as if it had been chosen with "Open"; one that cannot
// be played is reported and the window stays as it started.
void openInMainWindow(const QString& file) {
    if (file.isEmpty()) return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<quillon::frmMain*>(widget)) window->start(file);
    }
}

void installServices() {
    quillon::platform::installMessagePresenter(
        std::make_shared<quillon::platform::QtMessagePresenter>());
    quillon::platform::installFileDialogs(std::make_shared<quillon::platform::QtFileDialogs>());
    quillon::platform::installMediaPlaybackMaker(
        [] { return std::make_unique<quillon::platform::MpvPlayback>(); });
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // QApplication adopts the user's locale; numbers are read and written with "." only.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(quillon::platform::applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION_TEXT));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLON_APP_ID));
    const CommandLine commandLine = readCommandLine();
    if (commandLine.exitStatus) return *commandLine.exitStatus;
    QApplication::setWindowIcon(quillon::applicationIcon());
    installServices();

    quillon::modBoot::Main();
    openInMainWindow(commandLine.file);
    return application.exec();
}
