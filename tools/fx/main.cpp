#include <QCoreApplication>
#include <iostream>

#include "tools/fx/FxRunner.h"

namespace {

// Picture decoders report damage through Qt's warnings as well; the tool already says in
// one line why it stops, so only Qt's critical and fatal messages get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "quillon-fx: " << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
    }
}

}  // namespace

// Runs the picture engine from the command line, without a display.
int main(int argc, char** argv) {
    qInstallMessageHandler(quietQtMessages);
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return quillon::fx::runFx(arguments, std::cout, std::cerr);
}
