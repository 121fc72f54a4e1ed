#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <limits>

#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/controls/ImageList.h"
#include "app/window/SingleText.h"

using namespace quillon;

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void imageListIsNumberedFromOne();
    void imageKeyReadsBackAndPicksImage_data();
    void imageKeyReadsBackAndPicksImage();
    void buttonWithoutImagesKeepsKeyAndClicks();
    void singleText_data();
    void singleText();
};

void ControlsTest::imageListIsNumberedFromOne() {
    std::unique_ptr<ImageList> images(createButtonImages(*qApp->style(), nullptr));
    QCOMPARE(images->count(), int(kButtonImageCount));
    for (int number = 1; number <= images->count(); ++number)
        QVERIFY2(!images->image(number).isNull(), qPrintable(QString::number(number)));
    QVERIFY(images->image(0).isNull());
    QVERIFY(images->image(kButtonImageCount + 1).isNull());
}

void ControlsTest::imageKeyReadsBackAndPicksImage_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("shown");
    QTest::newRow("selected mark") << "10" << 10;
    QTest::newRow("first") << "1" << 1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("past the end") << "13" << 0;
    QTest::newRow("not a number") << "zoom" << 0;
}

void ControlsTest::imageKeyReadsBackAndPicksImage() {
    QFETCH(QString, key);
    QFETCH(int, shown);
    std::unique_ptr<ImageList> images(createButtonImages(*qApp->style(), nullptr));
    BevelButton button(QStringLiteral("Zoom Focussed"));
    button.setImageList(images.get());
    button.setImageKey(QStringLiteral("9"));
    button.setImageKey(key);
    QCOMPARE(button.property("imageKey").toString(), key);
    QCOMPARE(button.shownImage(), shown);
    QCOMPARE(button.icon().isNull(), shown == 0);
}

void ControlsTest::buttonWithoutImagesKeepsKeyAndClicks() {
    BevelButton button(QStringLiteral("OK"));
    button.setImage(kImageSave);
    QCOMPARE(button.imageKey(), QStringLiteral("9"));
    QCOMPARE(button.shownImage(), 0);
    {
        ImageList images;
        images.add(qApp->style()->standardIcon(QStyle::SP_DialogOpenButton));
        button.setImageList(&images);
        button.setImage(1);
        QCOMPARE(button.shownImage(), 1);
    }
    button.setImageKey(QStringLiteral("1"));  // the list has gone, and its images with it
    QCOMPARE(button.shownImage(), 0);

    QSignalSpy clicks(&button, &QPushButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
}

void ControlsTest::singleText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1230.0f << "1230";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("negative") << -120.0f << "-120";
    QTest::newRow("seven digits") << 1234567.0f << "1234567";
    QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
    QTest::newRow("single rounding") << 0.1f << "0.1";
    QTest::newRow("fraction") << 187.25f << "187.25";
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << "Inf";
}

void ControlsTest::singleText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(textFromSingle(value), text);
}

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
