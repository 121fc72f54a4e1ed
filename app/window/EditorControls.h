#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QWidget;

namespace quillon {

class BevelButton;

// Small builders for the editor's controls: each control gets its designed name as its
// object name, so the window's parts can be found by the names they were designed with.
QGroupBox* makeFrame(QWidget& parent, const QString& name, const QString& caption);
BevelButton* makeButton(QWidget& parent, const QString& name, const QString& caption,
                        const QString& tooltip = QString());
QLabel* makeLabel(QWidget& parent, const QString& name, const QString& caption);

// The object name of an element of a control array: "cmd_incrPalFX_3".
QString arrayElementName(const char* arrayName, int index);

}  // namespace quillon
