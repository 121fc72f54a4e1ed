#include "tools/fx/FxEnvironment.h"

#include "platform/Application.h"
#include "platform/Display.h"
#include "platform/MessageBox.h"

namespace quillon::fx {

class StreamMessagePresenter : public platform::MessagePresenter {
public:
    explicit StreamMessagePresenter(std::ostream& stream) : stream_(stream) {}

    void show(const QString& title, const QString& text, platform::MessageIcon icon) override {
        stream_ << "quillon-fx: " << title.toStdString() << ": " << text.toStdString() << '\n';
        if (icon == platform::MessageIcon::Critical) criticalShown_ = true;
    }
    bool criticalShown() const { return criticalShown_; }

private:
    std::ostream& stream_;
    bool criticalShown_ = false;
};

FxEnvironment::FxEnvironment(std::ostream& messages)
    : presenter_(std::make_shared<StreamMessagePresenter>(messages)) {
    platform::installMessagePresenter(presenter_);
    platform::setEndApplicationHandler([] { throw ApplicationEnded{}; });
    platform::Display::overrideBitsPerPixel(32);
    // Boxes and the engine measure sizes in twips, through single precision; one twip a
    // pixel keeps that exact for every size the tool accepts.
    platform::Display::overrideTwipsPerPixel(1.0);
}

FxEnvironment::~FxEnvironment() {
    platform::Display::overrideTwipsPerPixel(0.0);
    platform::Display::overrideBitsPerPixel(0);
    platform::setEndApplicationHandler({});
    platform::installMessagePresenter(nullptr);
}

bool FxEnvironment::criticalMessageShown() const {
    return presenter_->criticalShown();
}

}  // namespace quillon::fx
