#include "app/window/modBoot.h"

#include <QPointer>

#include "app/window/frmMain.h"

namespace quillon::modBoot {
namespace {

// The window deletes itself when it closes; the reference then reads empty.
QPointer<frmMain> mainWindow;

}  // namespace

void Main() {
    mainWindow = new frmMain;
    mainWindow->load();
    mainWindow->show();
}

}  // namespace quillon::modBoot
