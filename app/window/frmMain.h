#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "engine/clsASMpic.h"
#include "platform/core/EditorHost.h"
#include "platform/widgets/PictureBoxWidget.h"

namespace quillon {

class BevelButton;
class EditorPanel;
class ImageList;
class MediaPanel;
class frmAbout;

// The main window: the media player on the left, the image editor on the right, and the
// buttons "Exit Quillon" and "About". It owns the picture-effects engine, bound to the
// editor's picture box when the window loads. Closing it unloads the other windows,
// writes the window's placement and deletes the grabbed frame; the window is then
// deleted, and the engine with it.
class frmMain : public QWidget, public platform::EditorHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Prepares the window before it is first shown: binds the engine to the picture box.
    void load();

    // Opens a media file in the player, left stopped at its start.
    void start(const QString& filename);

    clsASMpic* engine() const { return ASMpic.get(); }
    platform::PictureBoxWidget& picture1();

    // What the engine asks of the window.
    QString caption() const override { return windowTitle(); }
    void setBusy(bool busy) override;
    void repaintWindow() override { update(); }
    void showFileName(const QString& name) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createPanels();
    void createButtons();
    void createActions();
    void showAbout();
    void unloadOtherWindows();
    clsASMpic& engineInUse();
    void createEngine();

    ImageList* ImageList1 = nullptr;
    MediaPanel* FraMedia = nullptr;
    EditorPanel* FraEditor = nullptr;
    BevelButton* BevelButton6 = nullptr;
    BevelButton* BevelButton12 = nullptr;
    QPointer<frmAbout> aboutBox;
    std::unique_ptr<clsASMpic> ASMpic;
    bool placed = false;
};

}  // namespace quillon
