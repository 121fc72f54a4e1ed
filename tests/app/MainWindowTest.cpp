#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QTest>

#include "AppTestEnvironment.h"
#include "app/controls/BevelButton.h"
#include "app/window/frmMain.h"
#include "app/window/modBoot.h"
#include "engine/PixelSurface.h"

using namespace quillon;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowIsFixedAndCentred();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void pictureBoxShowsIconOnGreyAndIsBound();
    void startUpCentresWhateverSettingsSay();

private:
    std::unique_ptr<testing::AppTestEnvironment> environment_;
    QPointer<frmMain> window_;
};

void MainWindowTest::init() {
    environment_ = std::make_unique<testing::AppTestEnvironment>();
    window_ = new frmMain;
    window_->load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowTest::cleanup() {
    if (window_) window_->close();
    testing::flushDeletions();
    QVERIFY2(window_.isNull(), "the window is released when it closes");
    environment_.reset();
}

void MainWindowTest::windowIsFixedAndCentred() {
    QCOMPARE(window_->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(window_->size(), QSize(912, 577));  // 13680 x 8655 twips at 15 per pixel
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(
        !(window_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(testing::isCentredOnScreen(*window_));
}

void MainWindowTest::controlsStandWhereDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QRect>("place");
    QTest::newRow("media") << "FraMedia"
                           << "Media Player"
                           << "" << QRect(8, 4, 409, 517);
    QTest::newRow("editor") << "FraEditor"
                            << "Image Editor"
                            << "" << QRect(420, 4, 485, 565);
    QTest::newRow("exit") << "BevelButton6"
                          << "Exit Quillon"
                          << "Exits the software" << QRect(8, 528, 113, 37);
    QTest::newRow("about") << "BevelButton12"
                           << "About"
                           << "About the Software" << QRect(332, 532, 81, 33);
}

void MainWindowTest::controlsStandWhereDesigned() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(QRect, place);
    QWidget* control = window_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget(), window_.data());
    if (auto* frame = qobject_cast<QGroupBox*>(control)) QCOMPARE(frame->title(), caption);
    if (auto* button = qobject_cast<BevelButton*>(control)) QCOMPARE(button->text(), caption);
    QCOMPARE(control->toolTip(), tooltip);
    QCOMPARE(control->geometry(), place);
}

void MainWindowTest::pictureBoxShowsIconOnGreyAndIsBound() {
    constexpr QRgb kGrey = 0xFFC0C0C0;
    auto* picture = window_->findChild<platform::PictureBoxWidget*>(QStringLiteral("Picture1"));
    QVERIFY(picture != nullptr);
    QCOMPARE(qobject_cast<QGroupBox*>(picture->parentWidget())->title(), QStringLiteral("Frame2"));
    QCOMPARE(picture->size(), QSize(385, 289));  // 5775 x 4335 twips
    QCOMPARE(picture->toolTip(), QStringLiteral("Click to Zoom at Pointer"));
    QCOMPARE(window_->engine()->host().caption(), QStringLiteral("Quillon"));
    window_->setBusy(true);  // the hourglass while the engine loads a picture
    QCOMPARE(window_->cursor().shape(), Qt::WaitCursor);
    window_->setBusy(false);
    QCOMPARE(window_->cursor().shape(), Qt::ArrowCursor);

    const QImage& shown = picture->model().image();
    QVERIFY(shown.pixel(0, 0) != kGrey && shown.pixel(16, 24) != kGrey);
    for (QPoint beyondIcon : {QPoint(32, 0), QPoint(0, 32), QPoint(384, 288)})
        QCOMPARE(shown.pixel(beyondIcon), kGrey);
    QCOMPARE(picture->grab().toImage().convertToFormat(QImage::Format_RGB32), shown);

    // The engine holds the same picture; its planes run bottom-up.
    QCOMPARE(window_->engine()->boundBox(), &picture->model());
    QVERIFY(environment_->messages().empty());
    const PixelSurface& surface = window_->engine()->surface();
    QCOMPARE(QSize(surface.width(), surface.height()), shown.size());
    const std::uint8_t* topRow =
        surface.plane(SurfacePlane::Working) + 4 * (surface.height() - 1) * surface.width();
    for (int x : {0, 10, 20, 200})
        QCOMPARE(qRgb(topRow[4 * x + 2], topRow[4 * x + 1], topRow[4 * x]), shown.pixel(x, 0));
}

void MainWindowTest::startUpCentresWhateverSettingsSay() {
    window_->close();
    testing::flushDeletions();
    for (int run = 0; run < 2; ++run) {
        testing::AppTestEnvironment::writeSetting(QStringLiteral("MainLeft"), QStringLiteral("15"));
        testing::AppTestEnvironment::writeSetting(QStringLiteral("MainTop"), QStringLiteral("30"));
        modBoot::Main();
        window_ = testing::visibleWindow<frmMain>();
        QVERIFY(window_ != nullptr);
        QVERIFY(window_->engine() != nullptr);
        QVERIFY(testing::isCentredOnScreen(*window_));
        window_->close();
        testing::flushDeletions();
    }
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
