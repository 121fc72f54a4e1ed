#pragma once

#include <QGroupBox>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/widgets/PictureBoxWidget.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace quillon {

class BevelButton;
class ColourShape;
class ImageList;
class clsASMpic;

// The right half of the main window, the frame "Image Editor". It shows the edited
// picture in Picture1 and turns each editing control into a call on the window's
// picture-effects engine; sharpening and the two direct adjustments work on the picture
// box's own image instead.
//
// Two frames belong to the panel but stand in the window beyond its right edge, where
// nobody sees them: the factor options ("Amount") and the colour X swatch with the zoom
// centre ("Color X"). Their values still drive the effects.
class EditorPanel : public QGroupBox {
    Q_OBJECT
public:
    // The window's engine; it creates a fresh, unbound one if the window has none.
    using EngineAccess = std::function<clsASMpic&()>;

    EditorPanel(QWidget& window, const ImageList* images, EngineAccess engine);

    platform::PictureBoxWidget& picture1() { return *Picture1; }
    // The file the engine opened, beside "File:"; empty after a grabbed frame.
    void showFileName(const QString& name);

    // True while the last change to the engine's working plane was a brightness step,
    // so the next step first takes that one back.
    bool brightnessStepLast() const { return brightnessStep; }

private:
    void createPictureFrame();
    void createFileControls();
    void createEffectsFrame();
    void createMagnifyFrame();
    void createFilterFrame();
    void createBrightnessBar();
    void createAmountFrame(QWidget& window);
    void createColorXFrame(QWidget& window);
    void useImages(const ImageList* images);
    void createActions();
    void createEffectActions();
    void createPictureActions();
    void createFilterActions();
    void createFileActions();

    // Values read afresh by every handler that needs them.
    std::int16_t factor() const;
    std::int32_t colourX() const;
    bool zoomPixelated() const;

    void stepClicked(std::int32_t index);
    void negativeClicked();
    void smoothClicked();
    void brightnessChanged();
    void picturePressed(Qt::MouseButton button, float x, float y);
    void pictureClicked();
    void chooseZoomMode(bool pixelated);
    void sharpenClicked();
    void colourStretchClicked();
    void whiteCrushClicked();
    void openClicked();
    void saveClicked();
    void resetImageClicked();

    QWidget& window_;
    EngineAccess engine;
    bool brightnessStep = false;
    std::int32_t filterProgress = 0;

    QGroupBox* Frame1 = nullptr;
    platform::PictureBoxWidget* Picture1 = nullptr;
    platform::PictureBoxWidget* Picture2 = nullptr;

    QGroupBox* Frame3 = nullptr;
    BevelButton* cmd_progFlow_0 = nullptr;  // "Open"
    BevelButton* cmd_progFlow_1 = nullptr;  // "Save"
    BevelButton* cmd_progFlow_3 = nullptr;  // "Reset Image", beside the frame
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

    QGroupBox* Frame5 = nullptr;
    std::array<BevelButton*, 11> cmd_incrPalFX{};
    BevelButton* cmd_palFX_0 = nullptr;

    QGroupBox* Frame11 = nullptr;
    QLineEdit* txt_magfactor = nullptr;
    std::array<BevelButton*, 2> cmd_magFX{};

    QGroupBox* Frame4 = nullptr;
    BevelButton* cmd_pixFX_0 = nullptr;
    BevelButton* BevelButton9 = nullptr;
    BevelButton* BevelButton10 = nullptr;
    BevelButton* BevelButton11 = nullptr;

    QScrollBar* HScroll1 = nullptr;
    QLabel* Label7 = nullptr;

    QGroupBox* Frame6 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QGroupBox* Frame7 = nullptr;
    ColourShape* shp_colorX = nullptr;
    std::array<QLabel*, 8> lbl_colX{};
    QLineEdit* txt_centerX = nullptr;
    QLineEdit* txt_centerY = nullptr;
};

}  // namespace quillon
