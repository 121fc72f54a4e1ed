#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/core/Display.h"
#include "platform/widgets/PictureBoxWidget.h"
#include "platform/widgets/QtFileDialogs.h"
#include "platform/widgets/QtMessagePresenter.h"
#include "platform/widgets/VideoCapX.h"

namespace platform = quillon::platform;
using platform::PictureBoxWidget;

class PlatformWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::Display::overrideTwipsPerPixel(15); }
    void cleanupTestCase() { platform::Display::overrideTwipsPerPixel(0); }
    void boxShowsItsModel();
    void pressAndClickAreReported();
    void dialogsAsked();
};

// At its size and visibility; a drawing call paints into the persistent image, then asks
// for a repaint.
void PlatformWidgetsTest::boxShowsItsModel() {
    QWidget parent;
    auto* box = new PictureBoxWidget(&parent);
    box->model().setOuterSizeTwips(1500, 750);
    QCOMPARE(box->size(), QSize(100, 50));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const_cast<QImage&>(box->model().image()).setPixel(3, 5, 0xFF123456);
    box->model().refresh();
    const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(QList({shown.pixel(3, 5), shown.pixel(99, 49)}), QList({0xFF123456u, 0xFFC0C0C0u}));
    box->model().setVisible(false);
    QVERIFY(!box->isVisible());
    box->model().setVisible(true);
    QVERIFY(box->isVisible());
}

// Letting go outside the box is no click. The window system delivers a double-click as
// press, release, double-click, release: one click of the picture box (one zoom) and one
// of the video (one grab).
void PlatformWidgetsTest::pressAndClickAreReported() {
    PictureBoxWidget box;
    box.model().setOuterSizeTwips(1500, 1500);
    QSignalSpy presses(&box, &PictureBoxWidget::pressed);
    QSignalSpy clicks(&box, &PictureBoxWidget::clicked);
    QTest::mouseClick(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(12, 34));
    QCOMPARE(presses.size(), 1);
    QCOMPARE(presses[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(presses[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QCOMPARE(QPointF(presses[0][2].toFloat(), presses[0][3].toFloat()), QPointF(12, 34));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(500, 5));
    QCOMPARE(clicks.size(), 1);

    platform::VideoCapX video(nullptr);
    video.resize(100, 100);
    QSignalSpy videoClicks(&video, &platform::VideoCapX::clicked);
    for (QWidget* widget : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&video)}) {
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QTest::mouseDClick(widget->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    }
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(videoClicks.size(), 1);
}

// A name typed without an extension is taken with the default one: "clip" opens
// clip.avi. A message box shows its title, text and icon.
void PlatformWidgetsTest::dialogsAsked() {
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("clip.avi")).open(QIODevice::WriteOnly));
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->setDirectory(dir.path());
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QTest::keyClicks(name, "clip");
        QTest::keyClick(name, Qt::Key_Return);
    });
    const std::optional<QString> chosen =
        platform::QtFileDialogs().openFileName("Open", {{"All files", "*"}}, "avi");
    QCOMPARE(chosen.value_or(QString()), dir.filePath("clip.avi"));
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen = {box->windowTitle(), box->text(), QString::number(box->icon())};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    platform::QtMessagePresenter().show(QStringLiteral("clsASM"), QStringLiteral("Blit Error"),
                                        platform::MessageIcon::Critical);
    QCOMPARE(seen, QStringList({"clsASM", "Blit Error", QString::number(QMessageBox::Critical)}));
}

QTEST_MAIN(PlatformWidgetsTest)
#include "PlatformWidgetsTest.moc"
