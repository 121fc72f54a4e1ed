#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "AppTestEnvironment.h"
#include "about/frmAbout.h"
#include "app/controls/BevelButton.h"
#include "app/window/frmMain.h"
#include "platform/core/TempFrameFile.h"

using namespace quillon;
using Environment = testing::AppTestEnvironment;

namespace {

const QStringList kPlacementKeys{"MainLeft", "MainTop", "MainWidth", "MainHeight"};

void clickButton(QWidget& window, const char* name) {
    QTest::mouseClick(window.findChild<BevelButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

qsizetype aboutBoxCount() {
    const QWidgetList widgets = QApplication::allWidgets();
    return std::count_if(widgets.cbegin(), widgets.cend(), [](QWidget* widget) {
        return qobject_cast<frmAbout*>(widget) != nullptr;
    });
}

}  // namespace

class MainWindowCloseTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exitWritesPlacementInTwips();
    void minimisedWindowWritesNothing();
    void closeDeletesGrabbedFrameOrFindsNoneSilently();
    void closeUnloadsAboutBoxAndOtherWindows();

private:
    void closeWindow();

    std::unique_ptr<Environment> environment_;
    QPointer<frmMain> window_;
};

void MainWindowCloseTest::init() {
    environment_ = std::make_unique<Environment>();
    window_ = new frmMain;
    window_->load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowCloseTest::cleanup() {
    if (window_) closeWindow();
    environment_.reset();
}

void MainWindowCloseTest::closeWindow() {
    window_->close();
    testing::flushDeletions();
    QVERIFY2(window_.isNull(), "the window is released when it closes");
}

void MainWindowCloseTest::exitWritesPlacementInTwips() {
    window_->move(30, 45);
    QTRY_COMPARE(window_->frameGeometry().topLeft(), QPoint(30, 45));
    const QSize outer = window_->frameGeometry().size();
    clickButton(*window_, "BevelButton6");
    testing::flushDeletions();
    QVERIFY(window_.isNull());
    QCOMPARE(Environment::setting("MainLeft"), QStringLiteral("450"));
    QCOMPARE(Environment::setting("MainTop"), QStringLiteral("675"));
    QCOMPARE(Environment::setting("MainWidth"), QString::number(outer.width() * 15));
    QCOMPARE(Environment::setting("MainHeight"), QString::number(outer.height() * 15));
}

void MainWindowCloseTest::minimisedWindowWritesNothing() {
    for (const QString& key : kPlacementKeys) Environment::writeSetting(key, "earlier");
    window_->showMinimized();
    QVERIFY(window_->isMinimized());
    closeWindow();
    for (const QString& key : kPlacementKeys) QCOMPARE(Environment::setting(key), "earlier");
}

void MainWindowCloseTest::closeDeletesGrabbedFrameOrFindsNoneSilently() {
    QFile frame(platform::grabbedFramePath());
    QVERIFY(frame.fileName().startsWith(environment_->directory()));
    QVERIFY(frame.open(QIODevice::WriteOnly));
    frame.close();
    closeWindow();
    QVERIFY(!frame.exists());

    init();  // a second window, with no frame ever grabbed
    closeWindow();
    QVERIFY(environment_->messages().empty());
    QCOMPARE(aboutBoxCount(), 0);
}

void MainWindowCloseTest::closeUnloadsAboutBoxAndOtherWindows() {
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) clickButton(*modal, "cmdOK");
    });
    clickButton(*window_, "BevelButton12");
    QCOMPARE(aboutBoxCount(), 1);
    QPointer<QDialog> other = new QDialog;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();

    closeWindow();
    QCOMPARE(aboutBoxCount(), 0);
    QVERIFY(other.isNull());
}

QTEST_MAIN(MainWindowCloseTest)
#include "MainWindowCloseTest.moc"
