#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <limits>
#include <stdexcept>

#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/controls/ImageList.h"
#include "app/window/NumericText.h"
#include "app/window/SingleText.h"
#include "platform/widgets/QtFileDialogs.h"
#include "platform/widgets/QtMessagePresenter.h"

using namespace quillon;

// The buttons' images, the numbers read from and written into text boxes, and the
// platform's own dialogs.
class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void imageKeyPicksAnImageNumberedFromOne();
    void numbersAsTextAndBack();
    void dialogsAsked();
};

void ControlsTest::imageKeyPicksAnImageNumberedFromOne() {
    std::unique_ptr<ImageList> images(createButtonImages(*qApp->style(), nullptr));
    QCOMPARE(images->count(), int(kButtonImageCount));
    for (int number = 1; number <= images->count(); ++number)
        QVERIFY2(!images->image(number).isNull(), qPrintable(QString::number(number)));
    BevelButton button(QStringLiteral("Zoom Focussed"));
    button.setImageList(images.get());
    const std::pair<QString, int> keys[] = {{"10", 10}, {"1", 1},  {"", 0},
                                            {"0", 0},   {"13", 0}, {"zoom", 0}};
    for (const auto& [key, shown] : keys) {
        button.setImageKey(QStringLiteral("9"));
        button.setImageKey(key);
        QCOMPARE(button.shownImage(), shown);
        QCOMPARE(button.icon().isNull(), shown == 0);
    }
}

// Text boxes read the number they start with; too large for a double, or for single
// precision, is an overflow; too small reads as 0. Singles are written as the old
// runtime wrote them.
void ControlsTest::numbersAsTextAndBack() {
    const std::pair<const char*, double> read[] = {
        {"\t 1.5x", 1.5}, {"abc", 0.0},   {"-.25", -0.25}, {"+7.25", 7.25},
        {"1,5", 1.0},     {"1.2.3", 1.2}, {"2e3", 2.0},    {"3.", 3.0},
        {"1 2", 1.0},     {"- 2", 0.0},   {"\u0662", 0.0}, {"0000000000000000000000000001", 1.0}};
    for (const auto& [text, value] : read) QCOMPARE(numericValueOfText(text), value);
    const QString huge = QStringLiteral("1") + QString(400, u'0');
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, numericValueOfText(u'-' + huge));
    QCOMPARE(numericValueOfText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    const float largest = std::numeric_limits<float>::max();
    QCOMPARE(singleFromDouble(double(largest)), largest);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, singleFromDouble(-1e39));

    QStringList written;
    for (float value :
         {1230.0f, -0.0f, -120.0f, 1234567.0f, 12345678.0f, 0.1f, 187.25f, largest * 2})
        written << textFromSingle(value);
    QCOMPARE(written.join(u' '), "1230 0 -120 1234567 1.234568E+07 0.1 187.25 Inf");
}

// A name typed without an extension is taken with the default one: "clip" opens
// clip.avi. A message box shows its title, text and icon.
void ControlsTest::dialogsAsked() {
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("clip.avi")).open(QIODevice::WriteOnly));
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->setDirectory(dir.path());
        QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"), "clip\r");
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
    platform::QtMessagePresenter().show("clsASM", "Blit Error", platform::MessageIcon::Critical);
    QCOMPARE(seen, QStringList({"clsASM", "Blit Error", QString::number(QMessageBox::Critical)}));
}

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
