#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "EditorTestSupport.h"
#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "app/window/ColourShape.h"
#include "app/window/EditorPanel.h"
#include "engine/PixelSurface.h"
#include "filters/mFilterQ.h"
#include "tests/support/RecordingMessages.h"

using namespace quillon;
using testing::ReferenceEngine;
using testing::ShownEditor;

// What the handlers hand to the engine and the filter, checked against an engine of the
// test's own that is given the calls the handlers should have made.
class EditorEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { editor_ = std::make_unique<ShownEditor>(); }
    void cleanup() { editor_.reset(); }
    void stepButtonsPassIndexAndFactor();
    void brightnessSeriesIsAbsolute();
    void zoomAimedByTheLastLeftPress();
    void rightPressPicksColourX();
    void sharpenChangesOnlyWhatTheBoxShows();
    void stretchAndCrushWorkOnWhatTheBoxShows();
    void overflowEndsTheHandlerWithAMessage();

private:
    QImage shown() const { return editor_->picture().model().image(); }
    std::vector<std::uint32_t> plane(SurfacePlane p) const {
        return testing::planeWords(editor_->engine(), p);
    }
    void moveBar(int value) const { editor_->control<QScrollBar>("HScroll1")->setValue(value); }
    void clickPicture(Qt::MouseButton button, QPoint at) const {
        QTest::mouseClick(&editor_->picture(), button, {}, at);
    }

    std::unique_ptr<ShownEditor> editor_;
};

// "RED +" with factor 2 raises red by 2; every step passes its index as the op code and
// the factor as read when it is pressed.
void EditorEffectsTest::stepButtonsPassIndexAndFactor() {
    const QImage before = shown();
    const clsASMpic& engine = editor_->engine();
    editor_->click("cmd_incrPalFX_0");
    QCOMPARE(testing::planePixel(engine, SurfacePlane::Working, 10, 20),
             (before.pixel(10, 20) + 0x020000) & 0x00FFFFFF);
    editor_->click("Option1_3");  // "factor 8"
    ReferenceEngine reference(before);
    reference->ASM_IncrementalPalEffects(0, 2);
    for (std::int32_t OpCode = 1; OpCode <= 10; ++OpCode) {
        editor_->click(qPrintable(QStringLiteral("cmd_incrPalFX_%1").arg(OpCode)));
        QCOMPARE(engine.record().opCode, OpCode);
        QCOMPARE(engine.record().amount, 8);
        reference->ASM_IncrementalPalEffects(OpCode, 8);
    }
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*reference, SurfacePlane::Working));
    QVERIFY(editor_->messages().empty());
}

// 256 -> 300 -> 200 darkens the picture of before the series by 55, instead of
// brightening by 44 and then darkening. Back at 256 the working plane is restored but
// nothing is drawn. After a step button the bar applies its value on top of the step.
void EditorEffectsTest::brightnessSeriesIsAbsolute() {
    const QImage before = shown();
    const auto original = plane(SurfacePlane::Working);
    moveBar(300);
    moveBar(200);
    ReferenceEngine darkened(before);
    darkened->ASM_IncrementalPalEffects(7, 55);
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*darkened, SurfacePlane::Working));
    QCOMPARE(plane(SurfacePlane::Undo), original);
    QCOMPARE(shown(), darkened->boundBox()->image());
    moveBar(256);
    QCOMPARE(plane(SurfacePlane::Working), original);
    QCOMPARE(shown(), darkened->boundBox()->image());
    moveBar(255);  // darkens by 255 - 255 = 0
    QCOMPARE(plane(SurfacePlane::Working), original);

    editor_->click("cmd_incrPalFX_0");  // "RED +" ends the series
    auto* bar = editor_->control<QScrollBar>("HScroll1");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Right);  // one small step to the right: 265
    QTest::keyClick(bar, Qt::Key_Right);  // 275
    ReferenceEngine stepped(before);
    for (auto [OpCode, Amount] : {std::pair{0, 2}, {6, 19}})
        stepped->ASM_IncrementalPalEffects(OpCode, std::int16_t(Amount));
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*stepped, SurfacePlane::Working));

    // The bar's ends lighten and darken by 255 at most; a large step moves it by 100.
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_End, 511}, {Qt::Key_Home, 1}, {Qt::Key_PageUp, 101}};
    for (auto [key, value] : keys) {
        QTest::keyClick(bar, key);
        QCOMPARE(bar->value(), value);
    }
    QVERIFY(editor_->messages().empty());
}

// A left press aims the zoom and the click it ends zooms there, with the factor as typed;
// the mode is the button showing image 10, focussed at the start.
void EditorEffectsTest::zoomAimedByTheLastLeftPress() {
    ReferenceEngine reference(shown());
    auto* factor = editor_->control<QLineEdit>("txt_magfactor");
    factor->selectAll();
    QTest::keyClicks(factor, QStringLiteral(" 2.5x"));
    clickPicture(Qt::LeftButton, QPoint(120, 85));
    QCOMPARE(editor_->control<QLineEdit>("txt_centerX")->text(), QStringLiteral("120"));
    QCOMPARE(editor_->control<QLineEdit>("txt_centerY")->text(), QStringLiteral("85"));
    reference->ASM_Magnify(2.5f, 120.0, 85.0, true, 0);
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*reference, SurfacePlane::Working));
    QCOMPARE(shown(), reference->boundBox()->image());

    editor_->click("cmd_magFX_0");  // "Zoom Pixelated"
    QTest::mousePress(&editor_->picture(), Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(&editor_->picture(), Qt::LeftButton, {}, QPoint(500, 40));  // no click
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*reference, SurfacePlane::Working));
    const auto colour = std::int32_t(gdi::bgrFromArgb(shown().pixel(200, 200)) & 0x00FFFFFF);
    clickPicture(Qt::RightButton, QPoint(200, 200));
    reference->ASM_Magnify(2.5f, 30.0, 40.0, false, colour);
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*reference, SurfacePlane::Working));
    editor_->click("cmd_magFX_1");
    clickPicture(Qt::LeftButton, QPoint(30, 40));
    QCOMPARE(editor_->engine().record().opCode, 1);  // bilinear
    QVERIFY(editor_->messages().empty());
}

// The right button picks colour X from the picture as shown; the click it ends zooms
// about the centre aimed at before, here none, which reads as (0, 0). "Negative" and
// "Smooth" then receive the picked colour.
void EditorEffectsTest::rightPressPicksColourX() {
    const QImage before = shown();
    const std::uint32_t picked = gdi::bgrFromArgb(before.pixel(77, 33)) & 0x00FFFFFF;
    clickPicture(Qt::RightButton, QPoint(77, 33));
    QCOMPARE(editor_->control<ColourShape>("shp_colorX")->backColor(), picked);
    ReferenceEngine reference(before);
    reference->ASM_Magnify(1.5f, 0.0, 0.0, true, std::int32_t(picked));
    editor_->click("cmd_palFX_0");
    QCOMPARE(editor_->engine().record().colour, picked);
    editor_->click("cmd_pixFX_0");
    QCOMPARE(editor_->engine().record().colour, picked);
    reference->ASM_PalEffects(11, 2, std::int32_t(picked));
    reference->ASM_PixelEffects(0, 2, std::int32_t(picked));
    QCOMPARE(plane(SurfacePlane::Working), testing::planeWords(*reference, SurfacePlane::Working));
    QVERIFY(editor_->messages().empty());
}

// The filter runs on the box's own image, which the engine does not see: the next effect
// draws the working plane without the sharpening.
void EditorEffectsTest::sharpenChangesOnlyWhatTheBoxShows() {
    const QImage unsharpened = shown();
    QImage expected = unsharpened;
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(1, &expected, 2, progress);
    QVERIFY(expected != unsharpened);
    const auto before = plane(SurfacePlane::Working);
    editor_->click("BevelButton9");
    QCOMPARE(shown(), expected);
    QCOMPARE(plane(SurfacePlane::Working), before);
    QVERIFY(!editor_->control<QWidget>("Picture2")->isVisible());

    ReferenceEngine reference(unsharpened);
    reference->ASM_IncrementalPalEffects(6, 2);
    editor_->click("cmd_incrPalFX_6");
    QCOMPARE(shown(), reference->boundBox()->image());
    QVERIFY(editor_->messages().empty());
}

// On a brightened picture with glare, "Colour Stretch" and then "White Crush" each do to
// what the box shows exactly what their adjustment does.
void EditorEffectsTest::stretchAndCrushWorkOnWhatTheBoxShows() {
    moveBar(356);  // +100: many colours above the glare limit
    ReferenceEngine reference(shown());
    platform::PictureBoxModel& expected = *reference->boundBox();
    for (auto [button, adjustment] :
         {std::pair{"BevelButton10", &ColourStretch}, {"BevelButton11", &WhiteCrush}}) {
        const QImage before = shown();
        editor_->click(button);
        adjustment(expected);
        QVERIFY2(shown() != before, button);
        QCOMPARE(shown(), expected.image());
    }
    QVERIFY(editor_->messages().empty());
}

// A factor beyond what the engine or a double takes is an overflow: the handler stops
// with the run-time error before it ends the brightness series, the picture as it was.
void EditorEffectsTest::overflowEndsTheHandlerWithAMessage() {
    moveBar(300);
    const auto brightened = plane(SurfacePlane::Working);
    const QImage drawn = shown();
    const QString factors[] = {QStringLiteral("300000000"),
                               QStringLiteral("1") + QString(400, u'0')};
    for (std::size_t attempt = 0; attempt < std::size(factors); ++attempt) {
        editor_->control<QLineEdit>("txt_magfactor")->setText(factors[attempt]);
        clickPicture(Qt::LeftButton, QPoint(10, 10));
        QCOMPARE(editor_->messages().size(), attempt + 1);
        const platform::ShownMessage& message = editor_->messages().back();
        QCOMPARE(message.title, QStringLiteral("Quillon"));
        QCOMPARE(message.text, QStringLiteral("Run-time error '6':\n\nOverflow"));
        QVERIFY(editor_->control<EditorPanel>("FraEditor")->brightnessStepLast());
        QCOMPARE(plane(SurfacePlane::Working), brightened);
        QCOMPARE(shown(), drawn);
    }
}

QTEST_MAIN(EditorEffectsTest)
#include "EditorEffectsTest.moc"
