#pragma once

#include <QWidget>
#include <cstdint>

namespace quillon {

// A filled rectangle that shows one colour, its background colour, and keeps it as the
// graphics interface writes colours (0x00BBGGRR), so a colour read from a picture goes
// in and comes back out unchanged.
class ColourShape : public QWidget {
    Q_OBJECT
public:
    explicit ColourShape(QWidget* parent = nullptr);

    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t backColor_ = 0;
};

}  // namespace quillon
