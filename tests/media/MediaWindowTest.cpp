#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <memory>

#include "EditorTestSupport.h"
#include "MediaClips.h"
#include "app/controls/BevelButton.h"
#include "engine/PixelSurface.h"
#include "platform/core/TempFrameFile.h"
#include "platform/mpv/MpvPlayback.h"
#include "platform/widgets/VideoCapX.h"

using namespace quillon;
using testing::clipFrameShown;
using testing::clipPath;

// The main window with its real video component: what a person sees after opening a
// clip, moving through it and grabbing frames into the editor.
class MediaWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { editor_.reset(); }
    void openedClipWaitsAtItsStart();
    void grabbedFramesFollowSeeksAndSteps();
    void clickOnTheVideoGrabs();
    void playbackMovesTheSlider();
    void speedVolumeAndMuteReachPlayback();
    void closingDuringPlaybackIsClean();

private:
    template <typename Control>
    Control* control(const char* name) const {
        return editor_->control<Control>(name);
    }
    platform::MpvPlayback& playback() const;
    // The frame of frames.avi that the editor shows, read from its working plane.
    int editorFrame() const;
    int grabAndRead();

    platform::ScopedMediaPlaybackMaker maker_{
        [] { return std::make_unique<platform::MpvPlayback>(); }};
    std::unique_ptr<testing::ShownEditor> editor_;
};

void MediaWindowTest::init() {
    editor_ = std::make_unique<testing::ShownEditor>();
    editor_->window().start(clipPath("frames.avi"));
}

platform::MpvPlayback& MediaWindowTest::playback() const {
    return dynamic_cast<platform::MpvPlayback&>(control<platform::VideoCapX>("vcx")->playback());
}

int MediaWindowTest::editorFrame() const {
    const clsASMpic& engine = editor_->engine();
    const PixelSurface& surface = engine.surface();
    return testing::clipFrameOfGrey(qGreen(testing::planePixel(
        engine, SurfacePlane::Working, surface.width() / 2, surface.height() / 2)));
}

int MediaWindowTest::grabAndRead() {
    editor_->click("BevelButton5");
    return editorFrame();
}

void MediaWindowTest::openedClipWaitsAtItsStart() {
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("2 sec."));
    QCOMPARE(control<QLabel>("Label2")->text(), clipPath("frames.avi"));
    QCOMPARE(control<QSlider>("Slider1")->maximum(), 20);
    QCOMPARE(control<QSlider>("Slider1")->value(), 0);
    QCOMPARE(playback().position(), 0.0);
    QCOMPARE(grabAndRead(), 0);
    // Drawn at the picture's size, to be shown without scaling again.
    QTRY_COMPARE(playback().displayedFrame().size(), control<platform::VideoCapX>("vcx")->size());
}

// The whole frame lands in the editor, at the size of its picture.
void MediaWindowTest::grabbedFramesFollowSeeksAndSteps() {
    control<QSlider>("Slider1")->setValue(4);  // as the user's move: 400 ms
    QCOMPARE(grabAndRead(), 10);
    QCOMPARE(editor_->engine().surface().width(), 385);
    QCOMPARE(editor_->engine().surface().height(), 289);
    QCOMPARE(editor_->control<QLabel>("Label6")->text(), QString());
    editor_->click("command4");
    QCOMPARE(grabAndRead(), 11);
    editor_->click("command3");
    QCOMPARE(grabAndRead(), 10);
    editor_->click("command3");
    QCOMPARE(grabAndRead(), 9);
    editor_->click("BevelButton8");
    QCOMPARE(grabAndRead(), 49);
    editor_->click("BevelButton7");
    QCOMPARE(grabAndRead(), 0);
}

void MediaWindowTest::clickOnTheVideoGrabs() {
    control<QSlider>("Slider1")->setValue(10);
    editor_->click("vcx");
    QCOMPARE(editorFrame(), 25);
}

void MediaWindowTest::playbackMovesTheSlider() {
    editor_->click("command1");
    QTRY_VERIFY_WITH_TIMEOUT(control<QSlider>("Slider1")->value() >= 3, 5000);
    editor_->click("command2");
}

void MediaWindowTest::speedVolumeAndMuteReachPlayback() {
    editor_->click("BevelButton2");
    QCOMPARE(playback().rate(), 1.1);
    control<QLineEdit>("Text1")->setText(QStringLiteral("0.15"));
    editor_->click("BevelButton3");
    editor_->click("BevelButton3");
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("-0.05"));
    QCOMPARE(playback().rate(), 0.01);
    editor_->click("command1");
    QTRY_VERIFY_WITH_TIMEOUT(playback().position() > 0, 5000);  // slow, but still playing
    editor_->click("BevelButton4");
    QCOMPARE(playback().rate(), 1.0);

    control<QSlider>("Slider2")->setValue(35);
    QCOMPARE(playback().volume(), 35);
    editor_->click("Check1");
    QVERIFY(playback().muted());
    editor_->click("Check1");
    QVERIFY(!playback().muted());
}

// Nothing libmpv queued may arrive for the window that is gone.
void MediaWindowTest::closingDuringPlaybackIsClean() {
    editor_->click("command1");
    QTest::qWait(100);
    control<QSlider>("Slider1")->setValue(19);
    editor_->click("command4");
    editor_->window().close();
    testing::flushDeletions();
    QTest::qWait(100);
}

QTEST_MAIN(MediaWindowTest)
#include "MediaWindowTest.moc"
