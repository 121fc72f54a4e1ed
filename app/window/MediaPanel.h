#pragma once

#include <QGroupBox>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTimer;

namespace quillon {

class BevelButton;
class ImageList;
class clsASMpic;

namespace platform {
class VideoCapX;
}

// The left half of the main window, the frame "Media Player": the video component with
// its playback controls. A grabbed frame goes to the image editor through the window's
// picture-effects engine, which loads it into the editor's picture.
//
// The duration label Label1 belongs to the panel but stands on the window behind the
// frame, where nobody sees it; it still receives the duration of the file opened.
class MediaPanel : public QGroupBox {
    Q_OBJECT
public:
    // The window's engine; it creates a fresh, unbound one if the window has none.
    using EngineAccess = std::function<clsASMpic&()>;

    MediaPanel(QWidget& window, const ImageList* images, EngineAccess engine);

    // The window's load steps that belong to the panel.
    void load();

    // Opens a media file and leaves it stopped at its start. A file that cannot be opened
    // is reported, and the panel goes on showing the file it had.
    void start(const QString& filename);

private:
    void createVideo();
    void createPositionSlider();
    void createButtons();
    void createSpeedFrame();
    void createVolumeColumn();
    void createFileLabels(QWidget& window);
    void createTimeLabel();
    void useImages(const ImageList* images);
    void createActions();
    void createSpeedActions();

    void showOpenedFile(const QString& filename, double durationMs);
    void showPositionQuietly(int value);
    void showTime(double positionMs);

    void openClicked();
    void playClicked();
    void stopClicked();
    void stepBackClicked();
    void stepForwardClicked();
    void startPositionClicked();
    void endPositionClicked();
    void fasterClicked();
    void slowerClicked();
    void resetSpeedClicked();
    void muteClicked();
    void positionMoved();
    void volumeMoved();
    void grabFrame();
    void timerTicked();
    void showSpeed(double rate);

    EngineAccess engine;

    platform::VideoCapX* vcx = nullptr;
    QSlider* Slider1 = nullptr;
    BevelButton* BevelButton1 = nullptr;  // "Open"
    BevelButton* command1 = nullptr;      // "Play"
    BevelButton* command2 = nullptr;      // "Stop"
    BevelButton* command3 = nullptr;      // "Step Back"
    BevelButton* command4 = nullptr;      // "Step Forward"
    BevelButton* BevelButton7 = nullptr;  // "Start Position"
    BevelButton* BevelButton8 = nullptr;  // "End Position"
    BevelButton* BevelButton5 = nullptr;  // "Grab Frame"

    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text1 = nullptr;
    BevelButton* BevelButton2 = nullptr;  // "Faster"
    BevelButton* BevelButton3 = nullptr;  // "Slower"
    BevelButton* BevelButton4 = nullptr;  // "Reset"

    QLabel* Label4 = nullptr;
    QSlider* Slider2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelTime = nullptr;  // position and length, beside "End Position"
    QTimer* Timer1 = nullptr;
};

}  // namespace quillon
