#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>

#include "AppTestEnvironment.h"

using namespace quillon;

// The media panel in a shown main window, its video component playing through a fake
// engine that records every command.
class MediaPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        editor_ = std::make_unique<testing::ShownEditor>();
        QCOMPARE(calls(), QStringList{"autoplay 0"});  // from load(); nothing else yet
        calls().clear();
    }
    void cleanup() { editor_.reset(); }
    void openShowsTheFileStoppedAtItsStart();
    void timerFollowsPlaybackWithoutSeeking();
    void buttons();
    void grabbedFrameGoesToTheEditor();

private:
    testing::FakeMediaPlayback& media() const { return editor_->media(); }
    QStringList& calls() const { return media().calls; }
    QStringList shownFile() const {
        return {editor_->control<QLabel>("Label1")->text(),
                editor_->control<QLabel>("Label2")->text(),
                QString::number(editor_->control<QSlider>("Slider1")->maximum())};
    }

    std::unique_ptr<testing::ShownEditor> editor_;
};

// Duration, length, the duration shown and the slider's maximum in tenths. The slider had
// a position from an earlier file; resetting it must not seek. A cancelled open sends
// nothing; a failed one is told to the user and keeps the file open before.
void MediaPanelTest::openShowsTheFileStoppedAtItsStart() {
    const std::tuple<double, double, QString, int> cases[] = {
        {12345, 61000, "12.345 sec.", 610}, {61000.5, 250, "61 sec.", 2}};  // ties to even
    editor_->dialogs().answerCancel();
    editor_->click("BevelButton1");
    QVERIFY(calls().isEmpty());
    auto* slider = editor_->control<QSlider>("Slider1");
    for (const auto& [duration, length, shown, maximum] : cases) {
        slider->setValue(500);
        calls().clear();
        media().durationMs = duration;
        media().lengthMs = length;
        editor_->dialogs().answerFileName(QStringLiteral("/x/clip.avi"));
        editor_->click("BevelButton1");
        QCOMPARE(editor_->dialogs().asked().back().title, "Open media file");
        QCOMPARE(calls(), QStringList({"open /x/clip.avi", "play", "seek 0", "pause"}));
        QCOMPARE(shownFile(), QStringList({shown, "/x/clip.avi", QString::number(maximum)}));
        QCOMPARE(slider->value(), 0);
    }
    media().openFailure = QStringLiteral("No decoder.");
    editor_->window().start(QStringLiteral("/y/other.avi"));
    const platform::ShownMessage warning{
        "Quillon", "The media file \"other.avi\" could not be opened.\nNo decoder.",
        platform::MessageIcon::Warning};
    QVERIFY(editor_->messages() == std::vector{warning});
    QCOMPARE(shownFile(), QStringList({"61 sec.", "/x/clip.avi", "2"}));
}

// Ticks, three a second, show the position without seeking, except while the thumb is
// held or when the position lies beyond the slider; a move by the user seeks.
void MediaPanelTest::timerFollowsPlaybackWithoutSeeking() {
    media().lengthMs = 3661000;
    editor_->window().start(QStringLiteral("/x/clip.avi"));
    calls().clear();
    auto* slider = editor_->control<QSlider>("Slider1");
    const auto valueAfterTick = [&](double positionMs) {
        media().positionMs = positionMs;
        QSignalSpy tick(editor_->control<QTimer>("Timer1"), &QTimer::timeout);
        return tick.wait(2000) ? slider->value() : -1;  // the panel's slot has run
    };
    QCOMPARE(valueAfterTick(3749), 37);
    QCOMPARE(slider->toolTip(), "0:03.7 / 1:01:01.0");
    QCOMPARE(editor_->control<QLabel>("LabelTime")->text(), slider->toolTip());
    QCOMPARE(valueAfterTick(4e6), 37);
    slider->setSliderDown(true);
    QCOMPARE(valueAfterTick(5000), 37);
    slider->setSliderDown(false);
    QCOMPARE(valueAfterTick(3600), 36);
    QSignalSpy ticks(editor_->control<QTimer>("Timer1"), &QTimer::timeout);
    QTest::qWait(900);
    QVERIFY(ticks.size() >= 2);
    QVERIFY(calls().isEmpty());
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(calls(), QStringList{"seek 3700"});
}

// Each row: the speed text and the position before, the button and how often it is
// pressed, the speed text after and the commands sent (the file is 150.5 ms long).
void MediaPanelTest::buttons() {
    const struct {
        const char *text, *button, *shown, *calls;
        double position;
        int presses;
    } rows[] = {
        {"1.0", "Step Back", "1.0", "seek -21", 2.5, 1},  // ties to even
        {"1.0", "Step Forward", "1.0", "step", 0, 1},
        {"1.0", "Start Position", "1.0", "seek 0", 90, 1},
        {"1.0", "End Position", "1.0", "seek 150", 0, 1},
        {"1.0", "Stop", "1.0", "pause", 0, 1},
        {"1.5", "Play", "1.5", "rate 1.5;play", 0, 1},
        {"2x", "Faster", "2.1", "rate 2.1", 0, 1},
        {"0.2", "Slower", "0.1", "rate 0.1", 0, 2},
        {"0.15", "Slower", "0.05", "rate 0.05", 0, 1},
        {" 0.5 ", "Slower", "0.4", "rate 0.4", 0, 1},
        {"0.5x", "Slower", "0.5x", "", 0, 1},
        {"3.7", "BevelButton4", "1.0", "rate 1", 0, 1},  // "Reset"
        {"1.0", "Mute", "1.0", "mute 1;mute 0", 0, 2},
    };
    media().lengthMs = 150.5;
    editor_->window().start(QStringLiteral("/x/clip.avi"));
    calls().clear();
    for (const auto& row : rows) {
        media().positionMs = row.position;
        editor_->control<QLineEdit>("Text1")->setText(row.text);
        for (int press = 0; press < row.presses; ++press) editor_->click(row.button);
        QCOMPARE(editor_->control<QLineEdit>("Text1")->text(), row.shown);
        QCOMPARE(calls(), QString(row.calls).split(u';', Qt::SkipEmptyParts));
        calls().clear();
    }
    QTest::keyClick(editor_->control<QSlider>("Slider2"), Qt::Key_Down);
    QCOMPARE(calls(), QStringList{"volume 99"});
    calls().clear();
    QVERIFY(editor_->messages().empty());

    const QString huge = u'1' + QString(400, u'0');  // too large for a double: no command
    editor_->control<QLineEdit>("Text1")->setText(huge);
    for (const char* name : {"Faster", "Slower", "Play"}) editor_->click(name);
    QVERIFY(editor_->messages() == std::vector(3, testing::kOverflow));
    QVERIFY(calls().isEmpty());
    QCOMPARE(editor_->control<QLineEdit>("Text1")->text(), huge);
}

// The frame as the video shows it replaces the editor's picture, by the button or a
// click on the video; without a frame the editor keeps its picture and no older grab
// comes back.
void MediaPanelTest::grabbedFrameGoesToTheEditor() {
    platform::PictureBoxModel& box = editor_->picture().model();
    QImage& frame = media().frame = QImage(64, 48, QImage::Format_RGB32);
    frame.fill(qRgb(10, 200, 30));
    editor_->click("Grab Frame");
    QCOMPARE(box.image().convertToFormat(QImage::Format_RGB32), frame.scaled(385, 289));
    QCOMPARE(editor_->control<QLabel>("Label6")->text(), QString());
    frame.fill(qRgb(200, 20, 90));
    editor_->click("vcx");
    QCOMPARE(box.image().pixel(200, 150), qRgb(200, 20, 90));

    media().frame = QImage();
    const QImage kept = testing::editorPattern(385, 289);
    box.setPicture(kept);
    editor_->click("Grab Frame");
    const platform::ShownMessage noFrame{"Quillon", "There is no video frame to grab.",
                                         platform::MessageIcon::Information};
    QVERIFY(editor_->messages() == std::vector{noFrame});
    QCOMPARE(box.image().pixel(200, 150), kept.pixel(200, 150));
}

QTEST_MAIN(MediaPanelTest)
#include "MediaPanelTest.moc"
