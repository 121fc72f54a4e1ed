#pragma once

#include <QDialog>
#include <array>

#include "platform/widgets/PictureBoxWidget.h"

class QFrame;
class QLabel;

namespace quillon {

class BevelButton;

// The about box: the program's icon, title and version, a line of description, contact
// lines and a disclaimer. It is shown modally; "OK" closes it. The title and version are
// filled in every time it is shown.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createIcon();
    void createHeading();
    void createTexts();
    void createSeparator();
    void createFooter();
    void load();

    platform::PictureBoxWidget* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLabel* lblDisclaimer = nullptr;
    std::array<QFrame*, 2> Line1{};
    BevelButton* cmdOK = nullptr;
};

}  // namespace quillon
