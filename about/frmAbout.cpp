#include "about/frmAbout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>

#include "app/controls/ApplicationIcon.h"
#include "app/controls/BevelButton.h"
#include "app/controls/WindowGeometry.h"
#include "platform/core/Application.h"

namespace quillon {
namespace {

constexpr int kClientWidthTwips = 5310;
constexpr int kClientHeightTwips = 4725;
constexpr int kTextLeftTwips = 1050;
constexpr int kTextWidthTwips = 4020;

QLabel* createLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFont boldArial(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

QFrame* createLine(QWidget* parent, const char* name, const QColor& colour, int topTwips) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    const QRect place = rectFromTwips(225, topTwips, 4860, 0);
    line->setGeometry(place.x(), place.y(), place.width(), 1);
    return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Quillon"));
    setModal(true);
    makeFixedDialogWindow(*this, kClientWidthTwips, kClientHeightTwips);

    createIcon();
    createHeading();
    createTexts();
    createSeparator();
    createFooter();
}

void frmAbout::createIcon() {
    picIcon = new platform::PictureBoxWidget(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->move(rectFromTwips(240, 240, 0, 0).topLeft());
    platform::PictureBoxModel& box = picIcon->model();
    box.setBackColor(0x00C0C0C0);
    box.setOuterSizeTwips(540, 540);
    const QIcon icon = QApplication::windowIcon();
    box.setPicture(icon.isNull() ? applicationIconImage() : icon.pixmap(32, 32).toImage());
}

void frmAbout::createHeading() {
    lblTitle = createLabel(this, "lblTitle", platform::applicationTitle());
    lblTitle->setFont(boldArial(14.25));
    placeInTwips(*lblTitle, kTextLeftTwips, 240, kTextWidthTwips, 480);

    lblVersion = createLabel(this, "lblVersion", tr("Version 1.0.0"));
    lblVersion->setFont(boldArial(8.25));
    placeInTwips(*lblVersion, kTextLeftTwips, 780, kTextWidthTwips, 225);
}

void frmAbout::createTexts() {
    lblDescription =
        createLabel(this, "lblDescription", tr("A media player beside a small image editor."));
    placeInTwips(*lblDescription, kTextLeftTwips, 1125, kTextWidthTwips, 480);

    // Where help and the licence are; the project publishes no other address.
    const std::array<QString, 3> contacts{
        tr("Help: man quillon-fx and the user guide"), tr("Licence: GNU GPL 3 or later"),
        tr("Guide and licence: %1").arg(QStringLiteral(QUILLON_DOC_DIR))};
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "Label1_" + QByteArray::number(i);
        Label1[i] = createLabel(this, name.constData(), contacts[i]);
        placeInTwips(*Label1[i], kTextLeftTwips, 1680 + 300 * i, kTextWidthTwips, 255);
    }
}

void frmAbout::createSeparator() {
    Line1[1] = createLine(this, "Line1_1", QColor(0x80, 0x80, 0x80), 2700);
    Line1[0] = createLine(this, "Line1_0", Qt::white, 2700 + 15);
}

void frmAbout::createFooter() {
    lblDisclaimer = createLabel(
        this, "lblDisclaimer", tr("This program is provided as is, without warranty of any kind."));
    lblDisclaimer->setWordWrap(true);
    placeInTwips(*lblDisclaimer, 255, 2925, 4800, 825);

    cmdOK = new BevelButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    placeInTwips(*cmdOK, 3885, 4020, 1200, 435);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::showEvent(QShowEvent* event) {
    load();
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void frmAbout::load() {
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(platform::versionMajor())
                            .arg(platform::versionMinor())
                            .arg(platform::versionRevision()));
    lblTitle->setText(platform::applicationTitle());
}

}  // namespace quillon
