#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "EditorTestSupport.h"
#include "app/controls/BevelButton.h"
#include "app/window/ColourShape.h"
#include "app/window/EditorPanel.h"
#include "engine/PixelSurface.h"
#include "tests/support/RecordingMessages.h"

using namespace quillon;
using testing::ShownEditor;

// The panel's controls as built, which of them end a brightness series, and the file
// buttons.
class EditorPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() { editor_ = std::make_unique<ShownEditor>(); }
    void cleanup() { editor_.reset(); }
    void controlsCarryTheirTexts_data();
    void controlsCarryTheirTexts();
    void placesAndUnseenParts();
    void onlyEffectsAndZoomEndABrightnessSeries_data();
    void onlyEffectsAndZoomEndABrightnessSeries();
    void fileButtons();
    void unloadedWindowGetsAnUnboundEngine();

private:
    std::unique_ptr<ShownEditor> editor_;
};

void EditorPanelTest::controlsCarryTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<int>("image");
    const char* rows[][4] = {
        {"Frame1", "Frame2", "", "0"},
        {"Frame3", "", "", "0"},
        {"Frame5", "Effects", "", "0"},
        {"Frame11", "Magnify Effects", "", "0"},
        {"Frame4", "Filter", "", "0"},
        {"Frame6", "Amount", "", "0"},
        {"Frame7", "Color X", "", "0"},
        {"cmd_incrPalFX_0", "RED +", "Increases Red", "0"},
        {"cmd_incrPalFX_1", "RED -", "Decreases Red", "0"},
        {"cmd_incrPalFX_2", "GREEN +", "Increases Green", "0"},
        {"cmd_incrPalFX_3", "GREEN -", "Decreases Green", "0"},
        {"cmd_incrPalFX_4", "BLUE +", "Increases Blue", "0"},
        {"cmd_incrPalFX_5", "BLUE -", "Decreases Blue", "0"},
        {"cmd_incrPalFX_6", "Reset", "", "0"},
        {"cmd_incrPalFX_7", "Reset", "", "0"},
        {"cmd_incrPalFX_8", "Rotate C+", "Rotates Colours Up", "0"},
        {"cmd_incrPalFX_9", "Rotate C-", "Rotates Colours Down", "0"},
        {"cmd_incrPalFX_10", "Add Noise", "Add noise to the image", "0"},
        {"cmd_palFX_0", "Negative", "Inverts the image to Negative", "0"},
        {"cmd_pixFX_0", "Smooth", "Applies a Smooth Filter", "0"},
        {"cmd_magFX_0", "Zoom Pixelated", "Unfocussed Zoom Function", "0"},
        {"cmd_magFX_1", "Zoom Focussed", "Focussed Zoom Function", "10"},
        {"cmd_progFlow_0", "Open", "Open a Saved File", "1"},
        {"cmd_progFlow_1", "Save", "Save the edited image", "9"},
        {"cmd_progFlow_3", "Reset Image", "Resets the image to its original format", "0"},
        {"BevelButton9", "Sharpen", "Sharpening the Image", "0"},
        {"BevelButton10", "Colour Stretch", "Stretches the colours", "0"},
        {"BevelButton11", "White Crush", "Takes away Glare", "0"},
        {"Label5", "File:", "", "0"},
        {"Label6", "*.*", "", "0"},
        {"Label7", "Brightness:", "", "0"},
        {"Option1_0", "factor 1", "", "0"},
        {"Option1_1", "factor 2", "", "0"},
        {"Option1_2", "factor 4", "", "0"},
        {"Option1_3", "factor 8", "", "0"},
        {"txt_magfactor", "1.5", "", "0"},
        {"txt_centerX", "txt_centerX", "", "0"},
        {"txt_centerY", "txt_centerY", "", "0"},
        {"Picture1", "", "Click to Zoom at Pointer", "0"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2] << QByteArray(row[3]).toInt();
}

QString captionOf(const QWidget& control) {
    if (auto* frame = qobject_cast<const QGroupBox*>(&control)) return frame->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    if (auto* text = qobject_cast<const QLineEdit*>(&control)) return text->text();
    return QString();
}

void EditorPanelTest::controlsCarryTheirTexts() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(int, image);
    const auto* control = editor_->control<QWidget>(qPrintable(name));
    QVERIFY(control != nullptr);
    QCOMPARE(captionOf(*control), caption);
    QCOMPARE(control->toolTip(), tooltip);
    if (auto* button = qobject_cast<const BevelButton*>(control))
        QCOMPARE(button->shownImage(), image);
}

// Designed places at 15 twips per pixel; the parts nobody sees lie outside what shows
// them, and neither eye nor keyboard reaches them. Every other control lies wholly inside
// its frame, clear of its neighbours.
void EditorPanelTest::placesAndUnseenParts() {
    frmMain& window = editor_->window();
    QCOMPARE(editor_->control<QWidget>("Frame5")->size(), QSize(469, 61));  // 7035 x 915
    QCOMPARE(editor_->control<QWidget>("cmd_incrPalFX_6")->geometry(), QRect(20, 140, 57, 17));
    QCOMPARE(editor_->control<QWidget>("cmd_incrPalFX_7")->geometry(), QRect(20, 156, 57, 17));
    const auto stepTop = [&](int index) {
        return editor_->control<QWidget>(qPrintable(QStringLiteral("cmd_incrPalFX_%1").arg(index)))
            ->y();
    };
    for (int plus = 0; plus < 10; plus += 2)
        QVERIFY(stepTop(plus) < stepTop(plus + 1));  // + over -
    for (const char* name : {"Frame6", "Frame7"})
        QCOMPARE(editor_->control<QWidget>(name)->geometry().left(), 960);  // 14400 > 13680
    auto* scratch = editor_->control<platform::PictureBoxWidget>("Picture2");
    QVERIFY(!scratch->isVisible());
    QCOMPARE(scratch->size(), QSize(383, 289));  // 5745 x 4335

    const QStringList unseen = {"cmd_incrPalFX_6", "cmd_incrPalFX_7", "Picture2"};
    const QList<QWidget*> all = editor_->control<QWidget>("FraEditor")->findChildren<QWidget*>();
    for (QWidget* control : all) {
        if (control->objectName().isEmpty() || unseen.contains(control->objectName())) continue;
        QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                 qPrintable(control->objectName()));
        for (QWidget* other : all) {
            if (other != control && other->parentWidget() == control->parentWidget() &&
                !other->objectName().isEmpty() && !unseen.contains(other->objectName()))
                QVERIFY2(!control->geometry().intersects(other->geometry()),
                         qPrintable(control->objectName() + " / " + other->objectName()));
        }
    }
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Round the whole window: every control Tab reaches shows at least a part of itself.
    for (int press = 0; press < 100; ++press) {
        QTest::keyClick(&window, Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QVERIFY2(!focus->visibleRegion().isEmpty(), qPrintable(focus->objectName()));
    }
}

void EditorPanelTest::onlyEffectsAndZoomEndABrightnessSeries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ends");
    for (int index = 0; index <= 10; ++index)
        QTest::newRow(qPrintable(QString::number(index)))
            << QStringLiteral("cmd_incrPalFX_%1").arg(index) << true;
    const char* ending[] = {"cmd_palFX_0", "cmd_pixFX_0", "Picture1"};
    for (const char* name : ending) QTest::newRow(name) << name << true;
    const char* keeping[] = {"cmd_magFX_0",    "cmd_magFX_1",    "cmd_progFlow_0",
                             "cmd_progFlow_1", "cmd_progFlow_3", "BevelButton9",
                             "BevelButton10",  "BevelButton11",  "Option1_3"};
    for (const char* name : keeping) QTest::newRow(name) << name << false;
}

void EditorPanelTest::onlyEffectsAndZoomEndABrightnessSeries() {
    QFETCH(QString, name);
    QFETCH(bool, ends);
    auto* panel = editor_->control<EditorPanel>("FraEditor");
    editor_->dialogs().answerCancel();  // for "Open" and "Save"
    editor_->control<QScrollBar>("HScroll1")->setValue(300);
    QVERIFY(panel->brightnessStepLast());
    editor_->click(qPrintable(name));
    QCOMPARE(panel->brightnessStepLast(), !ends);
    QVERIFY(editor_->messages().empty());
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
    const auto original = testing::planeWords(editor_->engine(), SurfacePlane::Original);

    editor_->click("cmd_incrPalFX_10");  // "Add Noise"
    editor_->click("cmd_palFX_0");       // "Negative": "Reset Image" must go back past both
    const QString stem = editor_->directory() + QStringLiteral("/edit");
    editor_->dialogs().answerFileName(stem);
    editor_->click("cmd_progFlow_1");
    QCOMPARE(editor_->dialogs().asked().at(1).title, QStringLiteral("Save Picture file"));
    const QImage saved(stem + QStringLiteral(".bmp"));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), editor_->picture().model().image());
    QVERIFY(saved.convertToFormat(QImage::Format_RGB32) != loaded);

    editor_->click("cmd_progFlow_3");
    QCOMPARE(testing::planeWords(editor_->engine(), SurfacePlane::Working), original);
    QCOMPARE(editor_->picture().model().image(), loaded);
    QVERIFY(editor_->messages().empty());
}

// Without an engine a handler gets a fresh, unbound one, which says so; the handler goes
// on, so the bar's second move takes back a step that never happened.
void EditorPanelTest::unloadedWindowGetsAnUnboundEngine() {
    QPointer<frmMain> unloaded = new frmMain;
    unloaded->show();
    QVERIFY(unloaded->engine() == nullptr);
    auto* bar = unloaded->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    bar->setValue(300);
    bar->setValue(200);
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
