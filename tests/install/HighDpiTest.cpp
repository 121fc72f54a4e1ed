#include <QPointer>
#include <QTest>

#include "app/controls/ApplicationIcon.h"
#include "app/window/frmMain.h"
#include "tests/app/AppTestEnvironment.h"

using namespace quillon;

namespace {

// Compared by their pixels alone, whatever device pixel ratio they were drawn for.
QImage asRgb32(const QImage& image) {
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    converted.setDevicePixelRatio(1.0);
    return converted;
}

}  // namespace

// Runs with QT_SCALE_FACTOR=2: every widget has twice as many device pixels as pixels.
class HighDpiTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        window_ = new frmMain;
        window_->load();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }

    void cleanup() {
        if (window_) window_->close();
        testing::flushDeletions();
    }

    // The window keeps its layout in its own pixels. The engine works on the box's pixels;
    // the screen shows each of them as a 2 x 2 block, neither blurred into its neighbours nor
    // cut to a quarter of the picture.
    void pictureBoxShowsEachEnginePixelAsWholeDevicePixels() {
        QCOMPARE(window_->devicePixelRatio(), 2.0);
        QCOMPARE(window_->size(), QSize(912, 577));
        QVERIFY(testing::isCentredOnScreen(*window_));
        platform::PictureBoxWidget& box = window_->picture1();
        const QImage pixels = asRgb32(box.model().image());
        const QImage shown = asRgb32(box.grab().toImage());
        QCOMPARE(shown, pixels.scaled(pixels.size() * 2));  // nearest: whole 2 x 2 blocks
    }

    // The window icon has sharp pixmaps at twice the size. data/quillon.svg, rendered at
    // build time for the icon theme, draws the same picture as the program: only the
    // smoothed edges of its shapes may differ.
    void iconsAreSharpAndTheInstalledOneLooksLikeTheDrawnOne() {
        const QImage drawn = applicationIconImage();
        const QImage doubled = asRgb32(applicationIcon().pixmap(QSize(32, 32), 2.0).toImage());
        QCOMPARE(doubled.size(), QSize(64, 64));
        if (!QIcon::hasThemeIcon(QStringLiteral("quillon")))
            QCOMPARE(doubled, applicationIconImage(64));
        QCOMPARE(applicationIconImage(32), drawn);
        const QImage installed = asRgb32(QImage(QStringLiteral(QUILLON_ICON_PNG_32)));
        if (installed.isNull()) QSKIP("the icon theme's PNGs were not rendered in this build");
        QCOMPARE(installed.size(), drawn.size());
        int differing = 0;
        for (int i = 0; i < 32 * 32; ++i) {
            const QRgb a = installed.pixel(i % 32, i / 32), b = drawn.pixel(i % 32, i / 32);
            differing += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                   std::abs(qBlue(a) - qBlue(b))}) > 24;
        }
        QVERIFY2(differing < 32 * 32 / 10,
                 qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
    }

private:
    testing::AppTestEnvironment environment_;
    QPointer<frmMain> window_;
};

QTEST_MAIN(HighDpiTest)
#include "HighDpiTest.moc"
