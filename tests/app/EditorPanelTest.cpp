#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "EditorTestSupport.h"
#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "app/controls/BevelButton.h"
#include "app/window/ColourShape.h"
#include "app/window/EditorPanel.h"
#include "engine/PixelSurface.h"
#include "filters/mFilterQ.h"

using namespace quillon;
using testing::ReferenceEngine;
using testing::ShownEditor;

// The editor's controls driven as a person drives them, checked against an engine of the
// test's own that is given the calls the handlers should have made.
class EditorPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() { editor_ = std::make_unique<ShownEditor>(); }
    void cleanup() { editor_.reset(); }
    void stepButtonsPassIndexAndFactor();
    void brightnessSeriesIsAbsolute();
    void onlyEffectsAndZoomEndABrightnessSeries();
    void zoomAimedByTheLastLeftPress();
    void rightPressPicksColourX();
    void sharpenChangesOnlyWhatTheBoxShows();
    void stretchAndCrushWorkOnWhatTheBoxShows();
    void overflowEndsTheHandlerWithAMessage();
    void fileButtons();
    void unloadedWindowGetsAnUnboundEngine();

private:
    QImage shown() const { return editor_->picture().model().image(); }
    std::vector<std::uint32_t> plane(SurfacePlane p = SurfacePlane::Working) const {
        return testing::planeWords(editor_->engine(), p);
    }
    static std::vector<std::uint32_t> plane(ReferenceEngine& reference) {
        return testing::planeWords(*reference, SurfacePlane::Working);
    }
    QScrollBar* bar() const { return editor_->control<QScrollBar>("HScroll1"); }
    void clickPicture(Qt::MouseButton button, QPoint at) const {
        QTest::mouseClick(&editor_->picture(), button, {}, at);
    }

    std::unique_ptr<ShownEditor> editor_;
};

// "RED +" with factor 2 raises red by 2; every step passes its index as the op code and
// the factor as read when it is pressed.
void EditorPanelTest::stepButtonsPassIndexAndFactor() {
    const QImage before = shown();
    const clsASMpic& engine = editor_->engine();
    editor_->click("RED +");
    QCOMPARE(testing::planePixel(engine, SurfacePlane::Working, 10, 20),
             (before.pixel(10, 20) + 0x020000) & 0x00FFFFFF);
    editor_->click("Option1_3");
    ReferenceEngine reference(before);
    reference->ASM_IncrementalPalEffects(0, 2);
    for (std::int32_t OpCode = 1; OpCode <= 10; ++OpCode) {
        editor_->click(qPrintable(QStringLiteral("cmd_incrPalFX_%1").arg(OpCode)));
        QCOMPARE(engine.record().opCode, OpCode);
        QCOMPARE(engine.record().amount, 8);
        reference->ASM_IncrementalPalEffects(OpCode, 8);
    }
    QCOMPARE(plane(), plane(reference));
    QVERIFY(editor_->messages().empty());
}

// 256 -> 300 -> 200 darkens the picture of before the series by 55, instead of
// brightening by 44 and then darkening. Back at 256 the working plane is restored but
// nothing is drawn. After a step button the bar applies its value on top of the step.
// Its ends lighten and darken by 255 at most; a large step moves it by 100.
void EditorPanelTest::brightnessSeriesIsAbsolute() {
    const QImage before = shown();
    const auto original = plane();
    bar()->setValue(300);
    bar()->setValue(200);
    ReferenceEngine darkened(before);
    darkened->ASM_IncrementalPalEffects(7, 55);
    QCOMPARE(plane(), plane(darkened));
    QCOMPARE(plane(SurfacePlane::Undo), original);
    QCOMPARE(shown(), darkened->boundBox()->image());
    bar()->setValue(256);
    QCOMPARE(plane(), original);
    QCOMPARE(shown(), darkened->boundBox()->image());
    bar()->setValue(255);  // darkens by 255 - 255 = 0
    QCOMPARE(plane(), original);

    editor_->click("RED +");  // ends the series
    bar()->setFocus();
    QTest::keyClick(bar(), Qt::Key_Right);  // one small step to the right: 265
    QTest::keyClick(bar(), Qt::Key_Right);  // 275
    ReferenceEngine stepped(before);
    stepped->ASM_IncrementalPalEffects(0, 2);
    stepped->ASM_IncrementalPalEffects(6, 19);
    QCOMPARE(plane(), plane(stepped));

    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_End, 511}, {Qt::Key_Home, 1}, {Qt::Key_PageUp, 101}};
    for (auto [key, value] : keys) {
        QTest::keyClick(bar(), key);
        QCOMPARE(bar()->value(), value);
    }
    QVERIFY(editor_->messages().empty());
}

void EditorPanelTest::onlyEffectsAndZoomEndABrightnessSeries() {
    auto* panel = editor_->control<EditorPanel>("FraEditor");
    // 1 when the click ends the series the bar has just begun, 0 when it goes on.
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
    clickPicture(Qt::LeftButton, QPoint(120, 85));
    QCOMPARE(editor_->control<QLineEdit>("txt_centerX")->text(), QStringLiteral("120"));
    QCOMPARE(editor_->control<QLineEdit>("txt_centerY")->text(), QStringLiteral("85"));
    reference->ASM_Magnify(2.5f, 120.0, 85.0, true, 0);
    QCOMPARE(plane(), plane(reference));
    QCOMPARE(shown(), reference->boundBox()->image());

    const auto* pixelated = editor_->control<BevelButton>("cmd_magFX_0");
    const auto* focussed = editor_->control<BevelButton>("cmd_magFX_1");
    QCOMPARE(QList<int>({pixelated->shownImage(), focussed->shownImage()}), QList<int>({0, 10}));
    editor_->click("Zoom Pixelated");
    QCOMPARE(QList<int>({pixelated->shownImage(), focussed->shownImage()}), QList<int>({10, 0}));
    QTest::mousePress(&editor_->picture(), Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(&editor_->picture(), Qt::LeftButton, {}, QPoint(500, 40));  // no click
    QCOMPARE(plane(), plane(reference));
    const auto colour = std::int32_t(gdi::bgrFromArgb(shown().pixel(200, 200)) & 0x00FFFFFF);
    clickPicture(Qt::RightButton, QPoint(200, 200));
    reference->ASM_Magnify(2.5f, 30.0, 40.0, false, colour);
    QCOMPARE(plane(), plane(reference));
    editor_->click("Zoom Focussed");
    clickPicture(Qt::LeftButton, QPoint(30, 40));
    QCOMPARE(editor_->engine().record().opCode, 1);  // bilinear
    QVERIFY(editor_->messages().empty());
}

// The right button picks colour X from the picture as shown; the click it ends zooms
// about the centre aimed at before, here none, which reads as (0, 0). "Negative" and
// "Smooth" then receive the picked colour.
void EditorPanelTest::rightPressPicksColourX() {
    const QImage before = shown();
    const std::uint32_t picked = gdi::bgrFromArgb(before.pixel(77, 33)) & 0x00FFFFFF;
    clickPicture(Qt::RightButton, QPoint(77, 33));
    QCOMPARE(editor_->control<ColourShape>("shp_colorX")->backColor(), picked);
    ReferenceEngine reference(before);
    reference->ASM_Magnify(1.5f, 0.0, 0.0, true, std::int32_t(picked));
    editor_->click("Negative");
    QCOMPARE(editor_->engine().record().colour, picked);
    editor_->click("Smooth");
    QCOMPARE(editor_->engine().record().colour, picked);
    reference->ASM_PalEffects(11, 2, std::int32_t(picked));
    reference->ASM_PixelEffects(0, 2, std::int32_t(picked));
    QCOMPARE(plane(), plane(reference));
    QVERIFY(editor_->messages().empty());
}

// The filter runs on the box's own image, which the engine does not see: the next effect
// draws the working plane without the sharpening.
void EditorPanelTest::sharpenChangesOnlyWhatTheBoxShows() {
    const QImage unsharpened = shown();
    QImage expected = unsharpened;
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(1, &expected, 2, progress);
    QVERIFY(expected != unsharpened);
    const auto before = plane();
    editor_->click("Sharpen");
    QCOMPARE(shown(), expected);
    QCOMPARE(plane(), before);
    QVERIFY(!editor_->control<QWidget>("Picture2")->isVisible());

    ReferenceEngine reference(unsharpened);
    reference->ASM_IncrementalPalEffects(6, 2);
    editor_->click("cmd_incrPalFX_6");
    QCOMPARE(shown(), reference->boundBox()->image());
    QVERIFY(editor_->messages().empty());
}

// On a brightened picture with glare, "Colour Stretch" and then "White Crush" each do to
// what the box shows exactly what their adjustment does.
void EditorPanelTest::stretchAndCrushWorkOnWhatTheBoxShows() {
    bar()->setValue(356);  // +100: many colours above the glare limit
    ReferenceEngine reference(shown());
    platform::PictureBoxModel& expected = *reference->boundBox();
    for (auto [button, adjustment] :
         {std::pair{"Colour Stretch", &ColourStretch}, {"White Crush", &WhiteCrush}}) {
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
void EditorPanelTest::overflowEndsTheHandlerWithAMessage() {
    bar()->setValue(300);
    const auto brightened = plane();
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
        QCOMPARE(plane(), brightened);
        QCOMPARE(shown(), drawn);
    }
}

// "Open" asks with the engine's own title, names the file beside "File:" and makes the picture the
// new original; "Save" writes what the box shows; "Reset Image" returns to the picture as loaded.
void EditorPanelTest::fileButtons() {
    const QString path = editor_->directory() + QStringLiteral("/small.bmp");
    const QImage picture = testing::editorPattern(40, 30);
    QVERIFY(picture.save(path, "BMP"));
    editor_->dialogs().answerFileName(path);
    editor_->click("cmd_progFlow_0");
    QCOMPARE(editor_->dialogs().asked().at(0).title,
             QStringLiteral("Load a Quillon Grabbed Frame"));
    QCOMPARE(editor_->control<QLabel>("Label6")->text(), path);
    const QImage loaded = editor_->picture().model().image();
    QCOMPARE(loaded.pixel(39, 29), picture.pixel(39, 29));
    const auto original = plane(SurfacePlane::Original);

    editor_->click("Add Noise");
    editor_->click("Negative");  // "Reset Image" must go back past both
    const QString stem = editor_->directory() + QStringLiteral("/edit");
    editor_->dialogs().answerFileName(stem);
    editor_->click("Save");
    QCOMPARE(editor_->dialogs().asked().at(1).title, QStringLiteral("Save Picture file"));
    const QImage saved(stem + QStringLiteral(".bmp"));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), editor_->picture().model().image());
    QVERIFY(saved.convertToFormat(QImage::Format_RGB32) != loaded);

    editor_->click("Reset Image");
    QCOMPARE(plane(), original);
    QCOMPARE(editor_->picture().model().image(), loaded);
    QVERIFY(editor_->messages().empty());
}

// Without an engine a handler gets a fresh, unbound one, which says so; the handler goes
// on, so the bar's second move takes back a step that never happened.
void EditorPanelTest::unloadedWindowGetsAnUnboundEngine() {
    QPointer<frmMain> unloaded = new frmMain;
    unloaded->show();
    QVERIFY(unloaded->engine() == nullptr);
    auto* unloadedBar = unloaded->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    unloadedBar->setValue(300);
    unloadedBar->setValue(200);
    QVERIFY(unloaded->engine() != nullptr);
    QCOMPARE(editor_->messages().size(), 3u);
    const platform::ShownMessage& message = editor_->messages().back();
    QCOMPARE(message.title, QStringLiteral("clsASM"));
    QCOMPARE(message.text, QStringLiteral("You must assign a picturebox to the class first!"));
    unloaded->close();
    testing::flushDeletions();
}

QTEST_MAIN(EditorPanelTest)
#include "EditorPanelTest.moc"
