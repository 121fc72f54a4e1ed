#include "app/window/EditorControls.h"

#include <QGroupBox>
#include <QLabel>

#include "app/controls/BevelButton.h"

namespace quillon {

QGroupBox* makeFrame(QWidget& parent, const QString& name, const QString& caption) {
    auto* frame = new QGroupBox(caption, &parent);
    frame->setObjectName(name);
    return frame;
}

BevelButton* makeButton(QWidget& parent, const QString& name, const QString& caption,
                        const QString& tooltip) {
    auto* button = new BevelButton(caption, &parent);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    return button;
}

QLabel* makeLabel(QWidget& parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, &parent);
    label->setObjectName(name);
    return label;
}

QString arrayElementName(const char* arrayName, int index) {
    return QLatin1String(arrayName) + u'_' + QString::number(index);
}

}  // namespace quillon
