#pragma once

#include <QGroupBox>

namespace quillon {

// The left half of the main window, the frame "Media Player". The video component and
// the playback controls take their places in it here.
class MediaPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit MediaPanel(QWidget* parent = nullptr);

    // The window's load steps that belong to the panel.
    void load();
};

}  // namespace quillon
