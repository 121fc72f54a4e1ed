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

// "Sharpen" lets pending events run after every row. Whatever the user does meanwhile
// (a second "Sharpen", an effect, "Open", a grab, closing the window) is scheduled here
// before the click, so it runs inside the filter's first pause. Afterwards the picture
// shown must be one the program can account for, and nothing may touch freed memory.
class ReentrancyTest : public QObject {
    Q_OBJECT
private slots:
    void whatRunsDuringSharpenIsWhatIsShown();
    void closingTheWindowDuringSharpenIsClean();

private:
    // Clicks "Sharpen" with `action` waiting to run at the filter's first pause.
    static void sharpenWhile(testing::ShownEditor& editor, const std::function<void()>& action);

    testing::ScopedFakeMediaPlayback playback_;
};

void ReentrancyTest::sharpenWhile(testing::ShownEditor& editor,
                                  const std::function<void()>& action) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QVERIFY(mFilterQ::FilterBusy());
        ran = true;
        action();
    });
    editor.click("Sharpen");
    QVERIFY(ran);
    QVERIFY(!mFilterQ::FilterBusy());
}

// A second "Sharpen" sharpens once; the others show exactly the engine's working plane:
// the sharpening of the picture as it was must not be painted over it afterwards.
void ReentrancyTest::whatRunsDuringSharpenIsWhatIsShown() {
    const char* actions[] = {"Sharpen", "Negative", "cmd_progFlow_0", "Grab Frame"};  // 3rd: "Open"
    for (const char* action : actions) {
        testing::ShownEditor editor;
        const QString path = editor.directory() + QStringLiteral("/new.png");
        QImage picture(50, 40, QImage::Format_RGB32);
        picture.fill(qRgb(10, 200, 30));
        QVERIFY(picture.save(path));
        editor.dialogs().answerFileName(path);
        playback_.last->frame = QImage(16, 12, QImage::Format_RGB32);
        playback_.last->frame.fill(qRgb(90, 90, 90));
        QImage expected = editor.picture().model().image();
        std::int32_t progress = 0;
        mFilterQ::ApplyFilter(1, &expected, 2, progress);

        sharpenWhile(editor, [&] { editor.click(action); });
        const QImage shown = editor.picture().model().image();
        if (action == actions[0]) QCOMPARE(shown, expected);
        const PixelSurface& surface = editor.engine().surface();
        QCOMPARE(shown.size(), QSize(surface.width(), surface.height()));
        for (int y = 0; action != actions[0] && y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                QCOMPARE(shown.pixel(x, y) & 0x00FFFFFF,
                         testing::planePixel(editor.engine(), SurfacePlane::Working, x, y));
            }
        }
        if (action == actions[2]) QCOMPARE(editor.control<QLabel>("Label6")->text(), path);
        if (action == actions[3]) QCOMPARE(shown.pixel(100, 100), qRgb(90, 90, 90));
        QVERIFY(editor.messages().empty());
    }
}

// The window is deleted at the filter's next pause; the filter and the handler must not
// touch its picture, its panel or its progress afterwards.
void ReentrancyTest::closingTheWindowDuringSharpenIsClean() {
    testing::ShownEditor editor;
    QPointer<frmMain> window = &editor.window();
    sharpenWhile(editor, [&] { window->close(); });
    testing::flushDeletions();
    QVERIFY(window.isNull());
    QVERIFY(editor.messages().empty());
}

QTEST_MAIN(ReentrancyTest)
#include "ReentrancyTest.moc"
