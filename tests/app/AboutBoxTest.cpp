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
    void aboutButtonShowsModalBoxEachTime();

private:
    std::unique_ptr<testing::AppTestEnvironment> environment_;
};

// Each press shows the same box, modal and centred, with this build's version, until OK.
void AboutBoxTest::aboutButtonShowsModalBoxEachTime() {
    QPointer<frmMain> window = new frmMain;
    window->load();
    window->show();
    for (int showing = 0; showing < 2; ++showing) {
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (about == nullptr || !testing::isCentredOnScreen(*about)) return;
            texts = {label(*about, "lblTitle")->text(), label(*about, "lblVersion")->text()};
            QTest::mouseClick(button(*about, "cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(button(*window, "BevelButton12"), Qt::LeftButton);
        QCOMPARE(texts, QStringList({"Quillon", "Version " QUILLON_VERSION_TEXT}));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
    QCOMPARE(window->findChildren<frmAbout*>().size(), 1);
    window->close();
    testing::flushDeletions();
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
