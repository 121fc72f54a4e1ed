// Times what a person waits for in the main window with a real clip, on the display
// given by the environment: opening it until its first frame is up, and "End Position"
// until the window takes input again and until the last frame is up. Run by
// scripts/measure-playback.sh; not a test.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/window/frmMain.h"
#include "platform/mpv/MpvPlayback.h"
#include "platform/widgets/VideoCapX.h"

using namespace quillon;

namespace {

// Milliseconds from now until the picture shows a new frame (or -1 after 10 s).
qint64 untilNextFrame(platform::VideoCapX& video, const QElapsedTimer& clock) {
    qint64 shownAt = -1;
    const QMetaObject::Connection connection =
        QObject::connect(&video.playback(), &platform::MediaPlayback::frameChanged,
                         [&] { shownAt = shownAt < 0 ? clock.elapsed() : shownAt; });
    (void)QTest::qWaitFor([&] { return shownAt >= 0; }, 10000);
    QObject::disconnect(connection);
    return shownAt;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: playback-timings CLIP\n");
        return 2;
    }
    platform::installMediaPlaybackMaker([] { return std::make_unique<platform::MpvPlayback>(); });
    auto* window = new frmMain;
    window->load();
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) return 1;
    QTest::qWait(500);  // as a person would, before choosing a file
    auto& video = *window->findChild<platform::VideoCapX*>(QStringLiteral("vcx"));

    QElapsedTimer clock;
    clock.start();
    qint64 firstFrame = -1;
    QObject::connect(&video.playback(), &platform::MediaPlayback::frameChanged,
                     [&] { firstFrame = firstFrame < 0 ? clock.elapsed() : firstFrame; });
    window->start(QString::fromLocal8Bit(argv[1]));
    const qint64 opened = clock.elapsed();
    (void)QTest::qWaitFor([&] { return firstFrame >= 0; }, 10000);
    std::printf("open: returned after %lld ms, first frame after %lld ms\n", opened, firstFrame);

    QTest::qWait(300);
    clock.restart();
    window->findChild<QAbstractButton*>(QStringLiteral("BevelButton8"))->click();
    const qint64 endReturned = clock.elapsed();
    const qint64 endShown = untilNextFrame(video, clock);
    std::printf("End Position: returned after %lld ms, last frame after %lld ms\n", endReturned,
                endShown);
    delete window;
    return 0;
}
