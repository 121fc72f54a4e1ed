#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "EditorTestSupport.h"
#include "MediaClips.h"
#include "platform/mpv/MpvPlayback.h"

using namespace quillon;
using platform::MpvPlayback;
using testing::clipPath;

// Clips that are damaged, vanish while open or are replaced while playing: playback may
// show less, but every call returns in bounded time, nothing crashes, and a file that
// cannot be played is told to the user.
class MediaRobustnessTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { playback_.reset(); }
    void stepAtTheEndDoesNotStallLaterCalls();
    void clipThatVanishesWhileOpenIsHarmless();
    void openingWhilePlayingReplacesTheClip();
    void windowGrabsFromAClipThatVanished();
    void hostileClipsPlayOrAreRefused();

private:
    // A copy of frames.avi in the test's directory, to take away while it is open.
    QString copiedClip(const QString& name);
    // Everything a user can do to an open clip, each timed.
    void driveEverything();

    QTemporaryDir directory_;
    std::unique_ptr<MpvPlayback> playback_;
};

void MediaRobustnessTest::init() {
    playback_ = std::make_unique<MpvPlayback>();
}

QString MediaRobustnessTest::copiedClip(const QString& name) {
    const QString path = directory_.filePath(name);
    return QFile::copy(clipPath("frames.avi"), path) ? path : QString();
}

// A settle may time out once (3 s) when a damaged file never reports it; nothing may
// wait longer, and nothing may keep waiting afterwards.
void MediaRobustnessTest::driveEverything() {
    const auto timed = [](const char* what, const std::function<void()>& call) {
        QElapsedTimer clock;
        clock.start();
        call();
        QVERIFY2(clock.elapsed() < MpvPlayback::kSettleTimeoutMs + 1000, what);
    };
    for (double at : {0.0, 400.0, 1000.0, 1960.0, 5000.0, -10.0}) {
        timed("seek", [&] { playback_->seek(at); });
        timed("frame", [&] { playback_->exactFrame(); });
    }
    timed("step", [&] { playback_->stepFrame(); });
    timed("position after a step", [&] { playback_->position(); });
    timed("play", [&] { playback_->play(); });
    QTest::qWait(300);
    timed("pause", [&] { playback_->pause(); });
    timed("frame after playing", [&] { playback_->exactFrame(); });
    timed("position", [&] { playback_->position(); });
}

// After a step from the last frame, which has nothing to step to, the slider's timer
// asks for the position every 300 ms: each answer must come at once.
void MediaRobustnessTest::stepAtTheEndDoesNotStallLaterCalls() {
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    playback_->seek(2000);
    QCOMPARE(testing::clipFrameShown(playback_->exactFrame()), 49);
    playback_->stepFrame();
    playback_->position();
    QElapsedTimer clock;
    clock.start();
    for (int tick = 0; tick < 5; ++tick) playback_->position();
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(testing::clipFrameShown(playback_->exactFrame()), 49);
}

void MediaRobustnessTest::clipThatVanishesWhileOpenIsHarmless() {
    const QString path = copiedClip("vanishing.avi");
    QVERIFY(playback_->open(path).ok());
    QVERIFY(QFile::remove(path));
    driveEverything();
    const platform::MediaOpenResult again = playback_->open(path);
    QVERIFY(!again.ok());
    QCOMPARE(again.error(), QStringLiteral("The file does not exist."));
}

void MediaRobustnessTest::openingWhilePlayingReplacesTheClip() {
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    playback_->play();
    QTest::qWait(200);
    QVERIFY(playback_->open(clipPath("sound.wav")).ok());
    QCOMPARE(std::lround(playback_->length()), 1500L);
    playback_->play();
    QTest::qWait(200);
    QVERIFY(playback_->open(clipPath("frames.avi")).ok());
    QCOMPARE(playback_->length(), 2000.0);
    playback_->seek(400);
    QCOMPARE(testing::clipFrameShown(playback_->exactFrame()), 10);
}

void MediaRobustnessTest::windowGrabsFromAClipThatVanished() {
    platform::ScopedMediaPlaybackMaker maker([] { return std::make_unique<MpvPlayback>(); });
    testing::ShownEditor editor;
    const QString path = copiedClip("vanishing.avi");
    editor.window().start(path);
    QVERIFY(QFile::remove(path));
    editor.control<QSlider>("Slider1")->setValue(10);
    editor.click("command4");
    editor.click("BevelButton5");
    QVERIFY(editor.messages().empty());
    const QRgb middle = testing::planePixel(editor.engine(), SurfacePlane::Working, 190, 140);
    QCOMPARE(testing::clipFrameOfGrey(qGreen(middle)), 26);
}

// Every kind of clip make-hostile-clips.sh writes is opened, played a moment, taken to
// its end, grabbed and stepped, or refused with a reason: none may abort the program.
void MediaRobustnessTest::hostileClipsPlayOrAreRefused() {
    const QDir corpus(QStringLiteral(QUILLON_HOSTILE_CLIPS));
    const QStringList names = corpus.entryList(QDir::Files);
    QVERIFY(names.size() >= 32);
    for (const QString& name : names) {
        const platform::MediaOpenResult result = playback_->open(corpus.filePath(name));
        QVERIFY2(result.ok() || !result.error().isEmpty(), qPrintable(name));
        if (!result.ok()) continue;
        playback_->play();
        QTest::qWait(30);
        playback_->seek(playback_->length());
        playback_->exactFrame();
        playback_->stepFrame();
        QVERIFY2(playback_->position() <= playback_->length(), qPrintable(name));
    }
}

QTEST_MAIN(MediaRobustnessTest)
#include "MediaRobustnessTest.moc"
