#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "AppTestEnvironment.h"
#include "about/frmAbout.h"
#include "app/window/modBoot.h"
#include "platform/core/SettingsStore.h"
#include "platform/core/TempFrameFile.h"

using namespace quillon;

namespace {

// The program's own settings, as it writes and reads them.
QString setting(const QString& key) {
    return platform::readSetting(QStringLiteral("Quillon"), QStringLiteral("Settings"), key);
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
    void init() { editor_ = std::make_unique<testing::ShownEditor>(false); }
    void cleanup() { editor_.reset(); }
    void fixedCentredAndShowingTheIconOnGrey();
    void controlsAreClearOfEachOtherAndReachable();
    void exitWritesPlacementInTwips();
    void aboutBoxAndWhatClosingLeaves();

private:
    frmMain& window() const { return editor_->window(); }

    std::unique_ptr<testing::ShownEditor> editor_;
};

// 13680 x 8655 twips at 15 a pixel; the engine holds the picture shown.
void MainWindowTest::fixedCentredAndShowingTheIconOnGrey() {
    QCOMPARE(window().windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(window().size(), QSize(912, 577));
    QCOMPARE(window().minimumSize(), window().maximumSize());
    QVERIFY(
        !(window().windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(testing::isCentredOnScreen(window()));
    window().setBusy(true);
    QCOMPARE(window().cursor().shape(), Qt::WaitCursor);
    window().setBusy(false);
    QCOMPARE(window().cursor().shape(), Qt::ArrowCursor);

    const QImage shown = editor_->picture().model().image();
    QVERIFY(shown.pixel(0, 0) != 0xFFC0C0C0 && shown.pixel(16, 24) != 0xFFC0C0C0);
    for (QPoint beyondIcon : {QPoint(32, 0), QPoint(0, 32), QPoint(384, 288)})
        QCOMPARE(shown.pixel(beyondIcon), 0xFFC0C0C0);
    QCOMPARE(editor_->picture().grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
    testing::ReferenceEngine bound(shown);
    QCOMPARE(testing::planeWords(editor_->engine()), testing::planeWords(*bound));
    QVERIFY(editor_->messages().empty());
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
    const QList<QWidget*> all = window().findChildren<QWidget*>();
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
    const QObjectList& stacking = window().children();
    QVERIFY(stacking.indexOf(editor_->control<QLabel>("Label1")) <
            stacking.indexOf(editor_->control<QWidget>("FraMedia")));
    QMap<QString, QRect> places;
    for (auto* button : window().findChildren<QAbstractButton*>())
        places[button->text()] = button->geometry();
    for (const QString colour : {"RED ", "GREEN ", "BLUE "}) {
        const QRect plus = places[colour + '+'], minus = places[colour + '-'];
        QVERIFY(plus.isValid() && plus.left() == minus.left() && plus.bottom() < minus.top());
    }
    window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    for (int press = 0; press < 100; ++press) {
        QTest::keyClick(&window(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QVERIFY2(!focus->visibleRegion().isEmpty(), qPrintable(focus->objectName()));
    }
}

void MainWindowTest::exitWritesPlacementInTwips() {
    window().move(30, 45);
    QTRY_COMPARE(window().frameGeometry().topLeft(), QPoint(30, 45));
    const QSize outer = window().frameGeometry().size();
    testing::clickByCaption(window(), QStringLiteral("Exit Quillon"));
    const QStringList twips = {"450", "675", QString::number(outer.width() * 15),
                               QString::number(outer.height() * 15)};
    for (int key = 0; key < 4; ++key) QCOMPARE(setting(kPlacementKeys[key]), twips[key]);
}

// Each press on "About" shows the same box, modal and centred, with this build's version,
// until OK. Closing takes the grabbed frame, or finds it missing silently, and closes the
// About box and other windows; a minimised window writes no placement. The window the
// program starts next is centred whatever place the settings give.
void MainWindowTest::aboutBoxAndWhatClosingLeaves() {
    for (const QString& key : kPlacementKeys)
        platform::saveSetting(QStringLiteral("Quillon"), QStringLiteral("Settings"), key, "15");
    QFile frame(platform::grabbedFramePath());
    QVERIFY(frame.fileName().startsWith(editor_->directory()));
    QVERIFY(frame.open(QIODevice::WriteOnly));
    frame.close();
    for (int showing = 0; showing < 2; ++showing)
        QCOMPARE(aboutBoxTexts(window()),
                 QStringList({"Quillon", "Version " QUILLON_VERSION_TEXT}));
    QCOMPARE(window().findChildren<frmAbout*>().size(), 1);
    QPointer<frmAbout> about = window().findChild<frmAbout*>();
    QPointer<QDialog> other = new QDialog;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();
    const QPointer<frmMain> closed = &window();
    window().showMinimized();
    window().close();
    testing::flushDeletions();
    QVERIFY(closed.isNull() && about.isNull() && other.isNull());
    QVERIFY(!frame.exists());
    for (const QString& key : kPlacementKeys) QCOMPARE(setting(key), "15");
    modBoot::Main();
    frmMain* next = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible()) next = qobject_cast<frmMain*>(widget);
    QVERIFY(next != nullptr && next->engine() != nullptr);
    QVERIFY(testing::isCentredOnScreen(*next));
    next->close();
    testing::flushDeletions();
    QVERIFY(editor_->messages().empty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
