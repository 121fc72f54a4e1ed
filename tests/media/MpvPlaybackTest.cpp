#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

#include "MediaClips.h"
#include "platform/mpv/MpvPlayback.h"
#include "platform/widgets/VideoCapX.h"

using namespace quillon;
using platform::MpvPlayback;
using testing::clipFrameShown;
using testing::clipPath;

class MpvPlaybackTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensVideoWithItsDuration();
    void seekShowsTheFrameOnScreenAtThatTime_data();
    void seekShowsTheFrameOnScreenAtThatTime();
    void stepsOneFrameForwardAndBack();
    void positionsOutsideTheFileAreClamped();
    void playingFromTheEndStartsAgain();
    void rateAndVolumeStayWithinWhatPlaybackSupports();
    void soundOnlyHasNoFrame();
    void failedOpenKeepsThePreviousFile_data();
    void failedOpenKeepsThePreviousFile();
    void nothingOpenIsHarmless();
    void videoPictureWritesTheFrameAtItsSize();
    void goingAwayDuringPlaybackIsClean();
    void turnedClipsPlayUpright_data();
    void turnedClipsPlayUpright();

private:
    // Opens frames.avi and shows the frame at `positionMs`.
    void openFramesAt(double positionMs);

    std::unique_ptr<MpvPlayback> playback_;
};

void MpvPlaybackTest::init() {
    playback_ = std::make_unique<MpvPlayback>();
}

void MpvPlaybackTest::cleanup() {
    playback_.reset();
}

void MpvPlaybackTest::openFramesAt(double positionMs) {
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    playback_->seek(positionMs);
}

void MpvPlaybackTest::opensVideoWithItsDuration() {
    const platform::MediaOpenResult result = playback_->open(clipPath("frames.avi"));
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result.value(), 2000.0);
    QCOMPARE(playback_->length(), 2000.0);
    QCOMPARE(playback_->position(), 0.0);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 0);
    QTRY_VERIFY(!playback_->displayedFrame().isNull());
    QCOMPARE(playback_->displayedFrame().size(), QSize(160, 120));
}

void MpvPlaybackTest::seekShowsTheFrameOnScreenAtThatTime_data() {
    QTest::addColumn<double>("positionMs");
    QTest::addColumn<int>("frame");
    QTest::newRow("start") << 0.0 << 0;
    QTest::newRow("just before a frame starts") << 399.0 << 9;
    QTest::newRow("as a frame starts") << 400.0 << 10;
    QTest::newRow("late in a frame, past a key frame") << 439.0 << 10;
    QTest::newRow("middle") << 1000.0 << 25;
    QTest::newRow("in the last frame") << 1979.0 << 49;
    QTest::newRow("end") << 2000.0 << 49;
}

void MpvPlaybackTest::seekShowsTheFrameOnScreenAtThatTime() {
    QFETCH(double, positionMs);
    QFETCH(int, frame);
    openFramesAt(positionMs);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), frame);
}

// "Step Back" is a seek 23 ms before the position: the frame before.
void MpvPlaybackTest::stepsOneFrameForwardAndBack() {
    openFramesAt(400);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 10);
    playback_->stepFrame();
    QCOMPARE(playback_->position(), 440.0);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 11);
    for (int back = 1; back <= 3; ++back) {
        playback_->seek(playback_->position() - 23);
        QCOMPARE(clipFrameShown(playback_->exactFrame()), 11 - back);
    }
    QCOMPARE(playback_->position(), 320.0);
}

void MpvPlaybackTest::positionsOutsideTheFileAreClamped() {
    openFramesAt(-13);
    QCOMPARE(playback_->position(), 0.0);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 0);
    playback_->seek(1e12);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 49);
    playback_->seek(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 49);
    QVERIFY(playback_->position() <= playback_->length());
}

void MpvPlaybackTest::playingFromTheEndStartsAgain() {
    openFramesAt(2000);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 49);
    playback_->play();
    QTRY_VERIFY_WITH_TIMEOUT(playback_->position() > 0 && playback_->position() < 1500, 5000);
    playback_->pause();
}

void MpvPlaybackTest::rateAndVolumeStayWithinWhatPlaybackSupports() {
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    playback_->setRate(0.0);
    QCOMPARE(playback_->rate(), 0.01);
    playback_->setRate(1000);
    QCOMPARE(playback_->rate(), 100.0);
    playback_->setRate(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(playback_->rate(), 100.0);
    playback_->setRate(1.1);
    QCOMPARE(playback_->rate(), 1.1);

    playback_->setVolume(150);
    QCOMPARE(playback_->volume(), 100);
    playback_->setVolume(-5);
    QCOMPARE(playback_->volume(), 0);
    playback_->setVolume(40);
    QCOMPARE(playback_->volume(), 40);
    playback_->setMuted(true);
    QVERIFY(playback_->muted());
    playback_->setMuted(false);
    QVERIFY(!playback_->muted());
}

void MpvPlaybackTest::soundOnlyHasNoFrame() {
    openFramesAt(400);
    QTRY_VERIFY(!playback_->displayedFrame().isNull());
    const platform::MediaOpenResult result = playback_->open(clipPath("sound.wav"));
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(std::lround(result.value()), 1500L);
    QVERIFY(playback_->displayedFrame().isNull());
    QVERIFY(playback_->exactFrame().isNull());
    playback_->stepFrame();
    playback_->seek(700);
    QCOMPARE(playback_->position(), 700.0);
}

void MpvPlaybackTest::failedOpenKeepsThePreviousFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not media") << clipPath("notmedia.avi")
                               << "It is not a video or sound file that can be played.";
    QTest::newRow("missing") << clipPath("missing.avi") << "The file does not exist.";
    QTest::newRow("folder") << QFileInfo(clipPath("frames.avi")).path()
                            << "It is a folder, not a file.";
}

void MpvPlaybackTest::failedOpenKeepsThePreviousFile() {
    QFETCH(QString, path);
    QFETCH(QString, reason);
    openFramesAt(400);
    const platform::MediaOpenResult result = playback_->open(path);
    QVERIFY(!result.ok());
    QCOMPARE(result.error(), reason);
    QCOMPARE(playback_->length(), 2000.0);
    QCOMPARE(playback_->position(), 400.0);
    QCOMPARE(clipFrameShown(playback_->exactFrame()), 10);
}

void MpvPlaybackTest::nothingOpenIsHarmless() {
    playback_->play();
    playback_->seek(500);
    playback_->stepFrame();
    playback_->pause();
    QCOMPARE(playback_->position(), 0.0);
    QCOMPARE(playback_->length(), 0.0);
    QVERIFY(playback_->exactFrame().isNull());
    QVERIFY(!playback_->open(clipPath("notmedia.avi")).ok());
    QCOMPARE(playback_->position(), 0.0);
}

// The grabbed picture is the whole frame scaled into the picture, proportions kept.
void MpvPlaybackTest::videoPictureWritesTheFrameAtItsSize() {
    platform::VideoCapX picture(std::move(playback_));
    picture.resize(385, 289);
    QVERIFY(picture.openFile(clipPath("frames.avi")).ok());
    picture.seek(1000);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("frame.fgr"));
    QVERIFY(picture.writeFrame(path).ok());
    const QImage written(path, "BMP");
    QCOMPARE(written.size(), QSize(385, 289));
    QCOMPARE(clipFrameShown(written), 25);
    QCOMPARE(clipFrameShown(written.copy(0, 1, 1, 1)), 25);

    QVERIFY(picture.openFile(clipPath("sound.wav")).ok());
    const platform::FrameWriteResult none = picture.writeFrame(path);
    QVERIFY(!none.ok());
    QCOMPARE(none.error(), QStringLiteral("There is no video frame to grab."));
    QVERIFY2(!QFile::exists(path), "no earlier frame is left to be mistaken for this one");
}

void MpvPlaybackTest::goingAwayDuringPlaybackIsClean() {
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    playback_->play();
    QTest::qWait(200);
    playback_.reset();
    QTest::qWait(100);  // anything libmpv queued for it must not arrive
}

void MpvPlaybackTest::turnedClipsPlayUpright_data() {
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("whiteCorner");  // the picture's top left, turned
    QTest::newRow("90") << "turned-90.mp4" << QSize(55, 97) << QPoint(2, 94);
    QTest::newRow("180") << "turned-180.mp4" << QSize(97, 55) << QPoint(94, 52);
    QTest::newRow("270") << "turned-270.mp4" << QSize(55, 97) << QPoint(52, 2);
    QTest::newRow("45, bars around") << "turned-45.mp4" << QSize() << QPoint();
}

// Opened, played, stepped and grabbed, each shown and grabbed turned as its file says.
void MpvPlaybackTest::turnedClipsPlayUpright() {
    QFETCH(QString, clip);
    QFETCH(QSize, size);
    QFETCH(QPoint, whiteCorner);
    QVERIFY(playback_->open(clipPath(qPrintable(clip))).ok());
    playback_->play();
    QTest::qWait(100);
    playback_->pause();  // a step while playing goes on from wherever playback got to
    playback_->seek(0);
    playback_->stepFrame();
    QCOMPARE(playback_->position(), 40.0);
    const QImage frame = playback_->exactFrame();
    QVERIFY(!frame.isNull());
    QTRY_VERIFY(!playback_->displayedFrame().isNull());
    if (size.isEmpty()) return;
    QCOMPARE(frame.size(), size);
    QCOMPARE(playback_->displayedFrame().size(), size);
    QVERIFY(qGreen(frame.pixel(whiteCorner)) > 200);
    QVERIFY(qGreen(frame.pixel(size.width() - 1 - whiteCorner.x(),
                               size.height() - 1 - whiteCorner.y())) < 50);
}

QTEST_MAIN(MpvPlaybackTest)
#include "MpvPlaybackTest.moc"
