#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "platform/mpv/MpvPlayback.h"

using namespace quillon;
using platform::MpvPlayback;

namespace {

// The clips written by make-clips.sh at build time.
QString clipPath(const char* name) {
    return QStringLiteral(QUILLON_MEDIA_CLIPS "/") + QLatin1String(name);
}

}  // namespace

// Playback through libmpv on real clips, including damaged ones, ones that vanish while
// open and ones replaced while playing: every call returns in bounded time, nothing
// crashes, and a file that cannot be played says why.
class MpvPlaybackTest : public QObject {
    Q_OBJECT
private slots:
    void init() { playback_ = std::make_unique<MpvPlayback>(); }
    void cleanup() { playback_.reset(); }
    // Opened at its start with its duration; positions outside the file are clamped to it.
    void seekShowsTheFrameOnScreenAtThatTime() {
        const std::pair<double, int> cases[] = {
            {0, 0},     {399, 9},   {400, 10}, {439, 10},  {1000, 25},
            {1979, 49}, {2000, 49}, {-13, 0},  {1e12, 49}, {std::nan(""), 49}};
        const platform::MediaOpenResult opened = playback_->open(clipPath("frames.avi"));
        QCOMPARE(opened.ok() ? opened.value() : 0.0, 2000.0);
        QCOMPARE(QList({playback_->length(), playback_->position()}), QList({2000.0, 0.0}));
        QTRY_COMPARE(playback_->displayedFrame().size(), QSize(160, 120));
        for (auto [position, frame] : cases) {
            playback_->seek(position);
            QCOMPARE(frameShown(), frame);
            QVERIFY(playback_->position() >= 0 && playback_->position() <= playback_->length());
        }
    }

    // "Step Back" is a seek 23 ms before the position: the frame before, whose start the
    // position is once it shows. After a step from the last frame, which has nothing to step to,
    // the slider's timer asks for the position every 300 ms: each answer must come at once.
    void stepsOneFrameForwardAndBackAndPlaysOn() {
        openFramesAt(400);
        playback_->stepFrame();
        QCOMPARE(playback_->position(), 440.0);
        QCOMPARE(frameShown(), 11);
        playback_->seek(440 - 23);
        QCOMPARE(frameShown(), 10);
        QCOMPARE(playback_->position(), 400.0);
        playback_->seek(2000);
        playback_->stepFrame();
        playback_->position();
        QElapsedTimer clock;
        clock.start();
        for (int tick = 0; tick < 5; ++tick) playback_->position();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(frameShown(), 49);
        playback_->play();  // from the end starts again
        QTRY_VERIFY_WITH_TIMEOUT(playback_->position() > 0 && playback_->position() < 1500, 5000);
        playback_->pause();
    }

    void rateAndVolumeStayWithinWhatPlaybackSupports() {
        QVERIFY(playback_->open(clipPath("frames.avi")).ok());
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (auto [asked, got] :
             {std::pair{0.0, 0.01}, {1000.0, 100.0}, {nan, 100.0}, {1.1, 1.1}}) {
            playback_->setRate(asked);
            QCOMPARE(playback_->rate(), got);
        }
        for (auto [asked, got] : {std::pair{150, 100}, {-5, 0}, {40, 40}}) {
            playback_->setVolume(asked);
            QCOMPARE(playback_->volume(), got);
        }
        for (bool muted : {true, false}) {
            playback_->setMuted(muted);
            QCOMPARE(playback_->muted(), muted);
        }
    }

    void failedOpenKeepsThePreviousFile() {
        const std::pair<QString, QString> cases[] = {
            {clipPath("notmedia.avi"), "It is not a video or sound file that can be played."},
            {clipPath("missing.avi"), "The file does not exist."},
            {QFileInfo(clipPath("frames.avi")).path(), "It is a folder, not a file."}};
        openFramesAt(400);
        for (const auto& [path, reason] : cases) {
            const platform::MediaOpenResult result = playback_->open(path);
            QCOMPARE(result.ok() ? QString() : result.error(), reason);
            QCOMPARE(playback_->length(), 2000.0);
            QCOMPARE(playback_->position(), 400.0);
            QCOMPARE(frameShown(), 10);
        }
    }

    // Nothing open, a sound file and a clip replace one another while playing: the sound has
    // no frame, and nothing libmpv queued for a file replaced, or for playback gone, may arrive.
    void soundOnlyAndReplacingDuringPlayback() {
        pressEveryControl(500, 0);
        QCOMPARE(QList({playback_->position(), playback_->length()}), QList({0.0, 0.0}));
        QVERIFY(playback_->exactFrame().isNull());
        openFramesAt(400);
        playback_->play();
        QTest::qWait(200);
        const platform::MediaOpenResult result = playback_->open(clipPath("sound.wav"));
        QVERIFY2(result.ok(), qPrintable(result.error()));
        QCOMPARE(std::lround(result.value()), 1500L);
        QVERIFY(playback_->displayedFrame().isNull() && playback_->exactFrame().isNull());
        playback_->stepFrame();
        playback_->seek(700);
        QCOMPARE(playback_->position(), 700.0);
        playback_->play();
        QTest::qWait(200);
        openFramesAt(400);
        QCOMPARE(QList({playback_->length(), double(frameShown())}), QList({2000.0, 10.0}));
        playback_->play();
        QTest::qWait(200);
        playback_.reset();
        QTest::qWait(100);
    }

    // Opened, played, stepped and grabbed, each shown and grabbed turned as its file says;
    // the white corner is the picture's top left, turned.
    void turnedClipsPlayUpright() {
        const std::tuple<const char*, QSize, QPoint> cases[] = {
            {"turned-90.mp4", QSize(55, 97), QPoint(2, 94)},
            {"turned-180.mp4", QSize(97, 55), QPoint(94, 52)},
            {"turned-270.mp4", QSize(55, 97), QPoint(52, 2)},
            {"turned-45.mp4", QSize(), QPoint()}};  // bars around
        for (const auto& [clip, size, white] : cases) {
            QVERIFY(playback_->open(clipPath(clip)).ok());
            pressEveryControl(0, 100);
            QCOMPARE(playback_->position(), 40.0);
            const QImage frame = playback_->exactFrame();
            QTRY_VERIFY(!frame.isNull() && !playback_->displayedFrame().isNull());
            if (size.isEmpty()) continue;
            QCOMPARE(QList({frame.size(), playback_->displayedFrame().size()}),
                     QList({size, size}));
            QVERIFY(qGreen(frame.pixel(white)) > 200);
            QVERIFY(qGreen(frame.pixel(size.width() - 1 - white.x(),
                                       size.height() - 1 - white.y())) < 50);
        }
    }

    // A settle may time out once (3 s) when a file gone never reports it; nothing may wait
    // longer, and nothing may keep waiting afterwards: all the calls together take less than
    // two such waits.
    void clipThatVanishesWhileOpenIsHarmless() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("vanishing.avi"));
        QVERIFY(QFile::copy(clipPath("frames.avi"), path));
        QVERIFY(playback_->open(path).ok());
        QVERIFY(QFile::remove(path));
        // No round of calls may wait out more than one settle time-out.
        for (double at : {0.0, 400.0, 1960.0, 5000.0, -10.0}) {
            QElapsedTimer clock;
            clock.start();
            pressEveryControl(at, 60);
            playback_->position();
            QVERIFY2(clock.elapsed() < MpvPlayback::kSettleTimeoutMs + 1000,
                     qPrintable(QString::number(clock.elapsed())));
        }
        const platform::MediaOpenResult again = playback_->open(path);
        QCOMPARE(again.ok() ? QString() : again.error(), "The file does not exist.");
    }

    // Every kind of clip make-hostile-clips.sh writes is opened, played a moment, taken to
    // its end, grabbed and stepped, or refused with a reason: none may abort the program.
    void hostileClipsPlayOrAreRefused() {
        const QDir corpus(QStringLiteral(QUILLON_HOSTILE_CLIPS));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(names.size() >= 32);
        for (const QString& name : names) {
            const platform::MediaOpenResult result = playback_->open(corpus.filePath(name));
            QVERIFY2(result.ok() || !result.error().isEmpty(), qPrintable(name));
            if (!result.ok()) continue;
            pressEveryControl(playback_->length(), 30);
            QVERIFY2(playback_->position() <= playback_->length(), qPrintable(name));
        }
    }

private:
    void openFramesAt(double positionMs) {
        QVERIFY(playback_->open(clipPath("frames.avi")).ok());
        playback_->seek(positionMs);
    }
    // Plays a while, then, paused (a step while playing goes on from wherever playback got
    // to), seeks, grabs the frame and steps one frame on.
    void pressEveryControl(double seekToMs, int playMs) {
        playback_->play();
        QTest::qWait(playMs);
        playback_->pause();
        playback_->seek(seekToMs);
        playback_->exactFrame();
        playback_->stepFrame();
    }
    // Which frame of frames.avi (25 a second, 50 of them) shows, read from its grey at the
    // centre: frame N has video luma 16 + 4 N, grey (4 N) * 255 / 219; -1 for none.
    int frameShown() {
        const QImage image = playback_->exactFrame();
        if (image.isNull()) return -1;
        return int(std::lround(qGreen(image.pixel(image.width() / 2, image.height() / 2)) * 219.0 /
                               255.0 / 4.0));
    }

    std::unique_ptr<MpvPlayback> playback_;
};

QTEST_MAIN(MpvPlaybackTest)
#include "MpvPlaybackTest.moc"
