#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "AppTestEnvironment.h"
#include "about/frmAbout.h"
#include "app/window/frmMain.h"
#include "app/window/modBoot.h"
#include "engine/PixelSurface.h"
#include "platform/core/TempFrameFile.h"

using namespace quillon;
using Environment = testing::AppTestEnvironment;

namespace {

QWidget* byCaption(QWidget& window, const QString& caption) {
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() == caption) return button;
    }
    return nullptr;
}

// Shows the About box on the next press and reads it, then closes it with "OK".
QStringList aboutBoxTexts(QWidget& window) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (about == nullptr || !testing::isCentredOnScreen(*about)) return;
        for (const char* name : {"lblTitle", "lblVersion"})
            texts << about->findChild<QLabel*>(QLatin1String(name))->text();
        testing::clickByCaption(*about, QStringLiteral("OK"));
    });
    testing::clickByCaption(window, QStringLiteral("About"));
    return texts;
}

const QStringList kPlacementKeys{"MainLeft", "MainTop", "MainWidth", "MainHeight"};

}  // namespace

// The main window as a person meets it: its place, every control in sight and in reach,
// the About box, and what closing it writes and leaves behind.
class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fixedCentredAndShowingTheIconOnGrey();
    void controlsAreClearOfEachOtherAndReachable();
    void startUpCentresWhateverSettingsSay();
    void aboutShowsThisVersionEachTime();
    void exitWritesPlacementInTwips();
    void minimisedWindowWritesNothing();
    void closeTakesTheGrabbedFrameAndOtherWindows();

private:
    void closeWindow();

    std::unique_ptr<Environment> environment_;
    QPointer<frmMain> window_;
};

void MainWindowTest::init() {
    environment_ = std::make_unique<Environment>();
    window_ = new frmMain;
    window_->load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowTest::cleanup() {
    if (window_) closeWindow();
    environment_.reset();
}

void MainWindowTest::closeWindow() {
    window_->close();
    testing::flushDeletions();
    QVERIFY2(window_.isNull(), "the window is released when it closes");
}

// 13680 x 8655 twips at 15 a pixel; the engine holds the picture shown, its rows bottom-up.
void MainWindowTest::fixedCentredAndShowingTheIconOnGrey() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(window_->size(), QSize(912, 577));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(
        !(window_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(testing::isCentredOnScreen(*window_));
    window_->setBusy(true);
    QCOMPARE(window_->cursor().shape(), Qt::WaitCursor);
    window_->setBusy(false);
    QCOMPARE(window_->cursor().shape(), Qt::ArrowCursor);

    platform::PictureBoxWidget& picture = window_->picture1();
    const QImage& shown = picture.model().image();
    QVERIFY(shown.pixel(0, 0) != 0xFFC0C0C0 && shown.pixel(16, 24) != 0xFFC0C0C0);
    for (QPoint beyondIcon : {QPoint(32, 0), QPoint(0, 32), QPoint(384, 288)})
        QCOMPARE(shown.pixel(beyondIcon), 0xFFC0C0C0);
    QCOMPARE(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
    const PixelSurface& surface = window_->engine()->surface();
    QCOMPARE(QSize(surface.width(), surface.height()), shown.size());
    const std::uint8_t* topRow =
        surface.plane(SurfacePlane::Working) + 4 * (surface.height() - 1) * surface.width();
    for (int x : {0, 10, 20, 200})
        QCOMPARE(qRgb(topRow[4 * x + 2], topRow[4 * x + 1], topRow[4 * x]), shown.pixel(x, 0));
    QVERIFY(environment_->messages().empty());
}

// Every control lies wholly inside what holds it, clear of its neighbours, and every one
// Tab reaches shows at least a part of itself; each colour's "+" stands above its "-".
// Unseen by design: the two extra "Reset" buttons, the scratch picture, the duration
// label behind the video and the two frames beyond the window's right edge.
void MainWindowTest::controlsAreClearOfEachOtherAndReachable() {
    const QStringList unseen = {"cmd_incrPalFX_6", "cmd_incrPalFX_7", "Picture2",
                                "Label1",          "Frame6",          "Frame7"};
    const auto seen = [&](const QWidget* control) {
        return !control->objectName().isEmpty() && !unseen.contains(control->objectName());
    };
    const QList<QWidget*> all = window_->findChildren<QWidget*>();
    for (QWidget* control : all) {
        if (!seen(control)) continue;
        QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                 qPrintable(control->objectName()));
        for (QWidget* other : all) {
            if (other != control && other->parentWidget() == control->parentWidget() && seen(other))
                QVERIFY2(!control->geometry().intersects(other->geometry()),
                         qPrintable(control->objectName() + " / " + other->objectName()));
        }
    }
    const QObjectList& stacking = window_->children();
    QVERIFY(stacking.indexOf(window_->findChild<QLabel*>("Label1")) <
            stacking.indexOf(window_->findChild<QWidget*>("FraMedia")));
    for (const char* colour : {"RED", "GREEN", "BLUE"}) {
        const QRect plus = byCaption(*window_, colour + QStringLiteral(" +"))->geometry();
        const QRect minus = byCaption(*window_, colour + QStringLiteral(" -"))->geometry();
        QVERIFY2(plus.left() == minus.left() && plus.bottom() < minus.top(), colour);
    }
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    for (int press = 0; press < 100; ++press) {
        QTest::keyClick(window_, Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QVERIFY2(!focus->visibleRegion().isEmpty(), qPrintable(focus->objectName()));
    }
}

void MainWindowTest::startUpCentresWhateverSettingsSay() {
    closeWindow();
    for (int run = 0; run < 2; ++run) {
        Environment::writeSetting(QStringLiteral("MainLeft"), QStringLiteral("15"));
        Environment::writeSetting(QStringLiteral("MainTop"), QStringLiteral("30"));
        modBoot::Main();
        window_ = testing::visibleWindow<frmMain>();
        QVERIFY(window_ != nullptr && window_->engine() != nullptr);
        QVERIFY(testing::isCentredOnScreen(*window_));
        closeWindow();
    }
}

// Each press shows the same box, modal and centred, with this build's version, until OK.
void MainWindowTest::aboutShowsThisVersionEachTime() {
    for (int showing = 0; showing < 2; ++showing) {
        QCOMPARE(aboutBoxTexts(*window_),
                 QStringList({"Quillon", "Version " QUILLON_VERSION_TEXT}));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
    QCOMPARE(window_->findChildren<frmAbout*>().size(), 1);
}

void MainWindowTest::exitWritesPlacementInTwips() {
    window_->move(30, 45);
    QTRY_COMPARE(window_->frameGeometry().topLeft(), QPoint(30, 45));
    const QSize outer = window_->frameGeometry().size();
    testing::clickByCaption(*window_, QStringLiteral("Exit Quillon"));
    testing::flushDeletions();
    QVERIFY(window_.isNull());
    const QStringList twips = {"450", "675", QString::number(outer.width() * 15),
                               QString::number(outer.height() * 15)};
    for (int key = 0; key < 4; ++key)
        QCOMPARE(Environment::setting(kPlacementKeys[key]), twips[key]);
}

void MainWindowTest::minimisedWindowWritesNothing() {
    for (const QString& key : kPlacementKeys) Environment::writeSetting(key, "earlier");
    window_->showMinimized();
    QVERIFY(window_->isMinimized());
    closeWindow();
    for (const QString& key : kPlacementKeys) QCOMPARE(Environment::setting(key), "earlier");
}

// The frame goes, or is found missing silently; the About box and other windows close.
void MainWindowTest::closeTakesTheGrabbedFrameAndOtherWindows() {
    QFile frame(platform::grabbedFramePath());
    QVERIFY(frame.fileName().startsWith(environment_->directory()));
    QVERIFY(frame.open(QIODevice::WriteOnly));
    frame.close();
    aboutBoxTexts(*window_);
    QPointer<frmAbout> about = window_->findChild<frmAbout*>();
    QPointer<QDialog> other = new QDialog;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();
    closeWindow();
    QVERIFY(!frame.exists());
    QVERIFY(about.isNull() && other.isNull());

    init();  // a second window, with no frame ever grabbed
    closeWindow();
    QVERIFY(environment_->messages().empty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
