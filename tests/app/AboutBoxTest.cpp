#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "AppTestEnvironment.h"
#include "about/frmAbout.h"
#include "app/controls/BevelButton.h"
#include "app/window/frmMain.h"

using namespace quillon;

namespace {

QLabel* label(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name));
}

BevelButton* button(const QWidget& window, const char* name) {
    return window.findChild<BevelButton*>(QString::fromLatin1(name));
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { environment_ = std::make_unique<testing::AppTestEnvironment>(); }
    void cleanupTestCase() { environment_.reset(); }
    void windowAsDesigned();
    void everyShowingFillsTitleAndVersion();
    void aboutButtonShowsModalBoxEachTime();

private:
    std::unique_ptr<testing::AppTestEnvironment> environment_;
};

void AboutBoxTest::windowAsDesigned() {
    frmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Quillon"));
    QVERIFY(about.isModal());
    QCOMPARE(about.size(), QSize(354, 315));  // 5310 x 4725 twips
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(label(about, "lblTitle")->font().pointSizeF(), 14.25);
    QCOMPARE(label(about, "lblVersion")->font().pointSizeF(), 8.25);
    QVERIFY(label(about, "lblTitle")->font().bold() && label(about, "lblVersion")->font().bold());
    for (const char* name : {"lblDescription", "Label1_0", "Label1_1", "Label1_2", "lblDisclaimer"})
        QVERIFY2(!label(about, name)->text().isEmpty(), name);

    const auto* white = about.findChild<QFrame*>(QStringLiteral("Line1_0"));
    const auto* grey = about.findChild<QFrame*>(QStringLiteral("Line1_1"));
    QCOMPARE(white->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(grey->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    QCOMPARE(white->y() - grey->y(), 1);

    const auto* icon = about.findChild<platform::PictureBoxWidget*>(QStringLiteral("picIcon"));
    QVERIFY(icon->model().image().pixel(0, 0) != 0xFFC0C0C0);
    QCOMPARE(icon->model().image().pixel(icon->width() - 1, icon->height() - 1), 0xFFC0C0C0);
}

void AboutBoxTest::everyShowingFillsTitleAndVersion() {
    frmAbout about;
    QCOMPARE(label(about, "lblVersion")->text(), QStringLiteral("Version 1.0.0"));
    for (int showing = 0; showing < 2; ++showing) {
        about.show();
        QCOMPARE(label(about, "lblVersion")->text(),
                 QStringLiteral("Version " QUILLON_VERSION_TEXT));
        QCOMPARE(label(about, "lblTitle")->text(), QStringLiteral("Quillon"));
        QVERIFY(testing::isCentredOnScreen(about));
        QTest::mouseClick(button(about, "cmdOK"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
}

void AboutBoxTest::aboutButtonShowsModalBoxEachTime() {
    QPointer<frmMain> window = new frmMain;
    window->load();
    window->show();
    for (int showing = 0; showing < 2; ++showing) {
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (about == nullptr) return;
            texts = {label(*about, "lblTitle")->text(), label(*about, "lblVersion")->text()};
            QTest::mouseClick(button(*about, "cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(button(*window, "BevelButton12"), Qt::LeftButton);
        QCOMPARE(texts, QStringList({"Quillon", "Version " QUILLON_VERSION_TEXT}));
    }
    QCOMPARE(window->findChildren<frmAbout*>().size(), 1);
    window->close();
    testing::flushDeletions();
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
