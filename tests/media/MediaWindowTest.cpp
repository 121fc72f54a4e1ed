#include <QLabel>
#include <QSlider>
#include <QTest>
#include <memory>

#include "EditorTestSupport.h"
#include "MediaClips.h"
#include "engine/PixelSurface.h"
#include "platform/mpv/MpvPlayback.h"
#include "platform/widgets/VideoCapX.h"

using namespace quillon;
using testing::clipPath;

// The main window with its real video component: what a person sees after opening a
// clip, moving through it and grabbing frames into the editor.
class MediaWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { editor_.reset(); }
    void grabbedFramesFollowTheControls();
    void playbackMovesTheSlider();

private:
    // The frame of frames.avi that the editor shows, read from its working plane.
    int editorFrame() const {
        const PixelSurface& surface = editor_->engine().surface();
        return testing::clipFrameOfGrey(qGreen(testing::planePixel(
            editor_->engine(), SurfacePlane::Working, surface.width() / 2, surface.height() / 2)));
    }
    int grabAndRead() {
        editor_->click("Grab Frame");
        return editorFrame();
    }

    platform::ScopedMediaPlaybackMaker maker_{
        [] { return std::make_unique<platform::MpvPlayback>(); }};
    std::unique_ptr<testing::ShownEditor> editor_;
};

void MediaWindowTest::init() {
    editor_ = std::make_unique<testing::ShownEditor>();
    editor_->window().start(clipPath("frames.avi"));
}

// Opened at its start, drawn at the picture's size; the whole frame lands in the editor,
// at the size of its picture, also when the video itself is clicked.
void MediaWindowTest::grabbedFramesFollowTheControls() {
    QCOMPARE(editor_->control<QLabel>("Label1")->text(), QStringLiteral("2 sec."));
    QCOMPARE(editor_->control<QSlider>("Slider1")->maximum(), 20);
    QCOMPARE(grabAndRead(), 0);
    auto* video = editor_->control<platform::VideoCapX>("vcx");
    QTRY_COMPARE(video->playback().displayedFrame().size(), video->size());
    editor_->control<QSlider>("Slider1")->setValue(4);  // as the user's move: 400 ms
    QCOMPARE(grabAndRead(), 10);
    QCOMPARE(editor_->engine().surface().width(), 385);
    QCOMPARE(editor_->engine().surface().height(), 289);
    const std::pair<const char*, int> steps[] = {{"Step Forward", 11},
                                                 {"Step Back", 10},
                                                 {"Step Back", 9},
                                                 {"End Position", 49},
                                                 {"Start Position", 0}};
    for (auto [caption, frame] : steps) {
        editor_->click(caption);
        QCOMPARE(grabAndRead(), frame);
    }
    editor_->control<QSlider>("Slider1")->setValue(10);
    editor_->click("vcx");
    QCOMPARE(editorFrame(), 25);
    QVERIFY(editor_->messages().empty());
}

void MediaWindowTest::playbackMovesTheSlider() {
    editor_->click("Play");
    QTRY_VERIFY_WITH_TIMEOUT(editor_->control<QSlider>("Slider1")->value() >= 3, 5000);
    editor_->click("Stop");
}

QTEST_MAIN(MediaWindowTest)
#include "MediaWindowTest.moc"
