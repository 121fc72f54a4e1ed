#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "AppTestEnvironment.h"
#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "app/controls/BevelButton.h"
#include "app/window/EditorPanel.h"
#include "filters/mFilterQ.h"

using namespace quillon;
using testing::planeWords;
using testing::ReferenceEngine;

// The editor's controls driven as a person drives them, checked against an engine of the
// test's own that is given the calls the handlers should have made.
class EditorPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() { editor_ = std::make_unique<testing::ShownEditor>(); }
    void cleanup() { editor_.reset(); }
    void effectsPassOpCodeFactorAndColourX();
    void brightnessSeriesIsAbsolute();
    void onlyEffectsAndZoomEndABrightnessSeries();
    void zoomAimedByTheLastLeftPress();
    void stretchAndCrushWorkOnWhatTheBoxShows();
    void overflowEndsTheHandlerWithAMessage();
    void fileButtons();
    void whatRunsDuringSharpenIsWhatIsShown();

private:
    QImage shown() const { return editor_->picture().model().image(); }
    std::vector<std::uint32_t> plane() const { return planeWords(editor_->engine()); }
    QScrollBar* bar() const { return editor_->control<QScrollBar>("HScroll1"); }
    void clickPicture(Qt::MouseButton button, QPoint at) const {
        QTest::mouseClick(&editor_->picture(), button, {}, at);
    }

    std::unique_ptr<testing::ShownEditor> editor_;
};

// A right press picks colour X from the picture as shown; the click it ends zooms about
// the centre aimed at before, here none, which reads as (0, 0). A step button passes its
// index as the op code and the factor as read when pressed; "Negative" and "Smooth" pass
// colour X as well.
void EditorPanelTest::effectsPassOpCodeFactorAndColourX() {
    ReferenceEngine reference(shown());
    const std::uint32_t picked = gdi::bgrFromArgb(shown().pixel(77, 33)) & 0x00FFFFFF;
    clickPicture(Qt::RightButton, QPoint(77, 33));
    reference->ASM_Magnify(1.5f, 0.0, 0.0, true, std::int32_t(picked));
    editor_->click("RED +");
    reference->ASM_IncrementalPalEffects(0, 2);
    editor_->click("Option1_3");
    for (std::int32_t OpCode = 1; OpCode <= 10; ++OpCode) {
        editor_->click(qPrintable(QStringLiteral("cmd_incrPalFX_%1").arg(OpCode)));
        reference->ASM_IncrementalPalEffects(OpCode, 8);
        QCOMPARE(plane(), planeWords(*reference));
    }
    for (const char* effect : {"Negative", "Smooth"}) {
        editor_->click(effect);
        QCOMPARE(editor_->engine().record().colour, picked);
    }
    reference->ASM_PalEffects(11, 8, std::int32_t(picked));
    reference->ASM_PixelEffects(0, 8, std::int32_t(picked));
    QCOMPARE(plane(), planeWords(*reference));
    QVERIFY(editor_->messages().empty());
}

// 256 -> 300 -> 200 darkens the picture of before the series by 55, instead of
// brightening by 44 and then darkening. Back at 256 the working plane is restored but
// nothing is drawn. It runs from 1 to 511; a large step moves it by 100 and a small one
// by 10.
void EditorPanelTest::brightnessSeriesIsAbsolute() {
    ReferenceEngine darkened(shown());
    const auto original = plane();
    bar()->setValue(300);
    bar()->setValue(200);
    darkened->ASM_IncrementalPalEffects(7, 55);
    QCOMPARE(plane(), planeWords(*darkened));
    bar()->setValue(256);
    QCOMPARE(plane(), original);
    QCOMPARE(shown(), darkened->boundBox()->image());
    bar()->setFocus();
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Right, 266}, {Qt::Key_End, 511}, {Qt::Key_Home, 1}, {Qt::Key_PageUp, 101}};
    for (auto [key, value] : keys) {
        QTest::keyClick(bar(), key);
        QCOMPARE(bar()->value(), value);
    }
    QVERIFY(editor_->messages().empty());
}

// 1 when the click ends the series the bar has just begun, so the bar's next move keeps
// what the click did; 0 when the series goes on.
void EditorPanelTest::onlyEffectsAndZoomEndABrightnessSeries() {
    auto* panel = editor_->control<EditorPanel>("FraEditor");
    const auto endsSeries = [&](const QString& name) {
        editor_->dialogs().answerCancel();  // for "Open" and "Save"
        bar()->setValue(bar()->value() == 300 ? 301 : 300);
        const bool begun = panel->brightnessStepLast();
        editor_->click(qPrintable(name));
        return begun ? int(!panel->brightnessStepLast()) : -1;
    };
    for (int index = 0; index <= 10; ++index)
        QCOMPARE(endsSeries(QStringLiteral("cmd_incrPalFX_%1").arg(index)), 1);
    for (const char* name : {"Negative", "Smooth", "Picture1"}) QCOMPARE(endsSeries(name), 1);
    for (const char* name :
         {"Zoom Pixelated", "Zoom Focussed", "cmd_progFlow_0", "Save", "Reset Image", "Sharpen",
          "Colour Stretch", "White Crush", "Option1_3"})
        QCOMPARE(endsSeries(name), 0);
    QVERIFY(editor_->messages().empty());
}

// A left press aims the zoom and the click it ends zooms there, with the factor as typed;
// the mode chosen shows the selected mark, "Zoom Focussed" at the start.
void EditorPanelTest::zoomAimedByTheLastLeftPress() {
    ReferenceEngine reference(shown());
    auto* factor = editor_->control<QLineEdit>("txt_magfactor");
    factor->selectAll();
    QTest::keyClicks(factor, QStringLiteral(" 2.5x"));
    // The window system delivers a double-click as press, release, double-click, release:
    // one click, one zoom.
    const QPoint aim = editor_->picture().mapTo(&editor_->window(), QPoint(120, 85));
    QTest::mouseDClick(editor_->window().windowHandle(), Qt::LeftButton, {}, aim);
    reference->ASM_Magnify(2.5f, 120.0, 85.0, true, 0);
    QCOMPARE(plane(), planeWords(*reference));
    QCOMPARE(shown(), reference->boundBox()->image());

    editor_->click("Zoom Pixelated");
    QCOMPARE(editor_->control<BevelButton>("cmd_magFX_1")->shownImage(), 0);
    QTest::mousePress(&editor_->picture(), Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(&editor_->picture(), Qt::LeftButton, {}, QPoint(500, 40));  // no click
    const auto colour = std::int32_t(gdi::bgrFromArgb(shown().pixel(200, 200)) & 0x00FFFFFF);
    clickPicture(Qt::RightButton, QPoint(200, 200));
    reference->ASM_Magnify(2.5f, 30.0, 40.0, false, colour);
    QCOMPARE(plane(), planeWords(*reference));
    editor_->click("Zoom Focussed");
    clickPicture(Qt::LeftButton, QPoint(30, 40));
    QCOMPARE(editor_->engine().record().opCode, 1);  // bilinear
    QVERIFY(editor_->messages().empty());
}

// On a brightened picture with glare, "Colour Stretch" and then "White Crush" each do to
// what the box shows exactly what their adjustment does.
void EditorPanelTest::stretchAndCrushWorkOnWhatTheBoxShows() {
    bar()->setValue(356);  // +100: many colours above the glare limit
    ReferenceEngine reference(shown());
    for (auto [button, adjustment] :
         {std::pair{"Colour Stretch", &ColourStretch}, {"White Crush", &WhiteCrush}}) {
        editor_->click(button);
        adjustment(*reference->boundBox());
        QCOMPARE(shown(), reference->boundBox()->image());
    }
    QVERIFY(editor_->messages().empty());
}

// A factor beyond what the engine takes is an overflow: the handler stops with the
// run-time error before it ends the brightness series.
void EditorPanelTest::overflowEndsTheHandlerWithAMessage() {
    bar()->setValue(300);
    editor_->control<QLineEdit>("txt_magfactor")->setText(QStringLiteral("300000000"));
    clickPicture(Qt::LeftButton, QPoint(10, 10));
    QVERIFY(editor_->messages() == std::vector{testing::kOverflow});
    QVERIFY(editor_->control<EditorPanel>("FraEditor")->brightnessStepLast());
}

// "Open" asks with the engine's own title, names the file beside "File:" and makes the picture the
// new original; "Save" writes what the box shows; "Reset Image" returns to the picture as loaded.
void EditorPanelTest::fileButtons() {
    const QString path = editor_->directory() + QStringLiteral("/small.bmp");
    QVERIFY(testing::editorPattern(40, 30).save(path, "BMP"));
    editor_->dialogs().answerFileName(path);
    editor_->click("cmd_progFlow_0");
    QCOMPARE(editor_->dialogs().asked().at(0).title, "Load a Quillon Grabbed Frame");
    QCOMPARE(editor_->control<QLabel>("Label6")->text(), path);
    const QImage loaded = shown();
    QCOMPARE(loaded.pixel(39, 29), testing::editorPattern(40, 30).pixel(39, 29));
    const auto original = plane();

    editor_->click("Add Noise");
    editor_->click("Negative");  // "Reset Image" must go back past both
    const QString stem = editor_->directory() + QStringLiteral("/edit");
    editor_->dialogs().answerFileName(stem);
    editor_->click("Save");
    QCOMPARE(editor_->dialogs().asked().at(1).title, "Save Picture file");
    const QImage saved =
        QImage(stem + QStringLiteral(".bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(saved, shown());
    editor_->click("Reset Image");
    QCOMPARE(plane(), original);
    QCOMPARE(shown(), loaded);
    QVERIFY(editor_->messages().empty());
}

// "Sharpen" lets pending events run after every row; what the user does meanwhile is
// scheduled here to run inside the filter's first pause. A second "Sharpen" sharpens
// once; after the others the box shows exactly the engine's working plane: the
// sharpening of the picture as it was must not be painted over it. Closing the window
// then deletes it at the filter's next pause, and nothing may touch its parts afterwards.
void EditorPanelTest::whatRunsDuringSharpenIsWhatIsShown() {
    for (const QString& action :
         QStringList{"Sharpen", "Negative", "cmd_progFlow_0", "Grab Frame", "close"}) {
        editor_.reset();
        editor_ = std::make_unique<testing::ShownEditor>();
        const QString path = editor_->directory() + QStringLiteral("/new.png");
        QVERIFY(testing::editorPattern(50, 40).save(path));
        editor_->dialogs().answerFileName(path);  // for "Open"
        editor_->media().frame = testing::editorPattern(16, 12);
        QImage sharpened = shown();
        std::int32_t progress = 0;
        mFilterQ::ApplyFilter(mFilterQ::kSharpenFilter, &sharpened, 2, progress);
        const QPointer<frmMain> window = &editor_->window();
        QTimer::singleShot(0, [&] {
            QVERIFY(mFilterQ::FilterBusy());
            action == "close" ? void(window->close()) : editor_->click(qPrintable(action));
        });
        editor_->click("Sharpen");
        QVERIFY(!mFilterQ::FilterBusy());
        testing::flushDeletions();
        QVERIFY(editor_->messages().empty());
        QCOMPARE(window.isNull(), action == "close");
        if (action == "Sharpen") QCOMPARE(shown(), sharpened);
        if (window.isNull() || action == "Sharpen") continue;
        ReferenceEngine drawn(shown());
        QCOMPARE(plane(), planeWords(*drawn));
    }
}

QTEST_MAIN(EditorPanelTest)
#include "EditorPanelTest.moc"
