#include "app/window/frmMain.h"

#include <QApplication>
#include <QCloseEvent>

#include "about/frmAbout.h"
#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/controls/ImageList.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/EditorPanel.h"
#include "app/window/MediaPanel.h"
#include "app/window/WindowPlacement.h"
#include "platform/core/Application.h"
#include "platform/core/TempFrameFile.h"

namespace quillon {
namespace {

constexpr int kClientWidthTwips = 13680;
constexpr int kClientHeightTwips = 8655;

// A window the user works with, as opposed to tooltips, menus and other popups.
bool isDocumentWindow(const QWidget& widget) {
    const Qt::WindowType type = widget.windowType();
    return widget.isVisible() && (type == Qt::Window || type == Qt::Dialog);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(platform::applicationTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    makeFixedDialogWindow(*this, kClientWidthTwips, kClientHeightTwips);

    ImageList1 = createButtonImages(*style(), this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    createPanels();
    createButtons();
    createActions();
}

frmMain::~frmMain() = default;

platform::PictureBoxWidget& frmMain::picture1() {
    return FraEditor->picture1();
}

void frmMain::createPanels() {
    const auto engineAccess = [this]() -> clsASMpic& { return engineInUse(); };
    FraMedia = new MediaPanel(*this, ImageList1, engineAccess);
    FraEditor = new EditorPanel(*this, ImageList1, engineAccess);
}

void frmMain::createButtons() {
    BevelButton6 = new BevelButton(tr("Exit Quillon"), this);
    BevelButton6->setObjectName(QStringLiteral("BevelButton6"));
    BevelButton6->setToolTip(tr("Exits the software"));
    placeInTwips(*BevelButton6, 120, 7920, 1695, 555);

    BevelButton12 = new BevelButton(tr("About"), this);
    BevelButton12->setObjectName(QStringLiteral("BevelButton12"));
    BevelButton12->setToolTip(tr("About the Software"));
    placeInTwips(*BevelButton12, 4980, 7980, 1215, 495);
    for (BevelButton* button : {BevelButton6, BevelButton12}) button->setImageList(ImageList1);
}

void frmMain::createActions() {
    connect(BevelButton6, &QPushButton::clicked, this, &QWidget::close);
    connect(BevelButton12, &QPushButton::clicked, this, &frmMain::showAbout);
}

// The editor's handlers use the engine the window loaded with; should there be none,
// they get a fresh one that is not bound to any box yet.
clsASMpic& frmMain::engineInUse() {
    if (!ASMpic) createEngine();
    return *ASMpic;
}

void frmMain::createEngine() {
    ASMpic = std::make_unique<clsASMpic>();
    ASMpic->setHost(this);
}

// The hourglass while the engine loads a picture into the box.
void frmMain::setBusy(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void frmMain::showFileName(const QString& name) {
    FraEditor->showFileName(name);
}

void frmMain::load() {
    FraMedia->load();
    if (!ASMpic) createEngine();
    ASMpic->setPictureBox(picture1().model());
}

void frmMain::start(const QString& filename) {
    FraMedia->start(filename);
}

void frmMain::showAbout() {
    if (aboutBox.isNull()) aboutBox = new frmAbout(this);
    aboutBox->exec();
}

// The window opens in the middle of the screen every time; where it stood when it last
// closed is written down but deliberately not used. The frame is known once the window
// exists on screen, so the window is placed at its first showing.
void frmMain::showEvent(QShowEvent* event) {
    if (!placed) centreOnScreen(*this);
    placed = true;
    QWidget::showEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    unloadOtherWindows();
    if (!isMinimized()) saveMainWindowPlacement(*this);
    platform::deleteGrabbedFrame();
    event->accept();
}

// The about box, and any other window still open, closes before the main window goes.
void frmMain::unloadOtherWindows() {
    QList<QPointer<QWidget>> others;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != this && isDocumentWindow(*widget)) others.append(widget);
    }
    for (const QPointer<QWidget>& window : others) {
        if (!window.isNull()) window->close();
    }
    if (!aboutBox.isNull()) aboutBox->deleteLater();
}

}  // namespace quillon
