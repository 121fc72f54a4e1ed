#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "EditorTestSupport.h"
#include "filters/mFilterQ.h"
#include "tests/support/FakeMediaPlayback.h"

using namespace quillon;
using testing::ShownEditor;

// "Sharpen" lets pending events run after every row. Whatever the user does meanwhile
// (a second "Sharpen", "Open", an effect, a grab, closing the window) is scheduled here
// before the click, so it runs inside the filter's first pause. Afterwards the picture
// shown must be one the program can account for, and nothing may touch freed memory.
class ReentrancyTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { editor_.reset(); }
    void secondSharpenSharpensOnce();
    void effectDuringSharpenIsWhatIsShown();
    void openDuringSharpenShowsTheNewPicture();
    void grabDuringSharpenShowsTheFrame();
    void closingTheWindowDuringSharpenIsClean();

private:
    QImage shown() const { return editor_->picture().model().image(); }
    // Clicks "Sharpen" with `action` waiting to run at the filter's first pause.
    void sharpenWhile(const std::function<void()>& action);
    // Whether the box shows exactly the engine's working plane.
    bool showsWorkingPlane() const;

    testing::ScopedFakeMediaPlayback playback_;
    std::unique_ptr<ShownEditor> editor_;
};

void ReentrancyTest::init() {
    editor_ = std::make_unique<ShownEditor>();
}

void ReentrancyTest::sharpenWhile(const std::function<void()>& action) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QVERIFY(mFilterQ::FilterBusy());
        ran = true;
        action();
    });
    editor_->click("BevelButton9");
    QVERIFY(ran);
    QVERIFY(!mFilterQ::FilterBusy());
}

bool ReentrancyTest::showsWorkingPlane() const {
    const QImage image = shown();
    const PixelSurface& surface = editor_->engine().surface();
    if (image.size() != QSize(surface.width(), surface.height())) return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0x00FFFFFF) !=
                testing::planePixel(editor_->engine(), SurfacePlane::Working, x, y))
                return false;
        }
    }
    return true;
}

void ReentrancyTest::secondSharpenSharpensOnce() {
    QImage expected = shown();
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(1, &expected, 2, progress);
    sharpenWhile([this] { editor_->click("BevelButton9"); });
    QCOMPARE(shown(), expected);
    QVERIFY(editor_->messages().empty());
}

// The negative is drawn from the engine's working plane; the sharpening of the picture
// as it was before must not be painted over it when the filter finishes.
void ReentrancyTest::effectDuringSharpenIsWhatIsShown() {
    sharpenWhile([this] { editor_->click("cmd_palFX_0"); });
    QVERIFY(showsWorkingPlane());
    QVERIFY(editor_->messages().empty());
}

void ReentrancyTest::openDuringSharpenShowsTheNewPicture() {
    const QString path = editor_->directory() + QStringLiteral("/new.png");
    QImage picture(50, 40, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QVERIFY(picture.save(path));
    editor_->dialogs().answerFileName(path);
    sharpenWhile([this] { editor_->click("cmd_progFlow_0"); });
    QCOMPARE(shown().pixel(5, 5), qRgb(10, 200, 30));
    QVERIFY(showsWorkingPlane());
    QCOMPARE(editor_->control<QLabel>("Label6")->text(), path);
    QVERIFY(editor_->messages().empty());
}

void ReentrancyTest::grabDuringSharpenShowsTheFrame() {
    playback_.last->frame = QImage(16, 12, QImage::Format_RGB32);
    playback_.last->frame.fill(qRgb(90, 90, 90));
    sharpenWhile([this] { editor_->click("BevelButton5"); });
    QCOMPARE(shown().pixel(100, 100), qRgb(90, 90, 90));
    QVERIFY(showsWorkingPlane());
    QVERIFY(editor_->messages().empty());
}

// The window is deleted at the filter's next pause; the filter and the handler must not
// touch its picture, its panel or its progress afterwards.
void ReentrancyTest::closingTheWindowDuringSharpenIsClean() {
    QPointer<frmMain> window = &editor_->window();
    sharpenWhile([&] { window->close(); });
    testing::flushDeletions();
    QVERIFY(window.isNull());
    QVERIFY(editor_->messages().empty());
}

QTEST_MAIN(ReentrancyTest)
#include "ReentrancyTest.moc"
