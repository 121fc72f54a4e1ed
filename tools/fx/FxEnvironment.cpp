#include "tools/fx/FxEnvironment.h"

#include "platform/core/Application.h"
#include "platform/core/Display.h"
#include "platform/core/MessageBox.h"

namespace quillon::fx {

// The engine may show several boxes on the way to one failure ("Error in function
// GETDIBS", then "Couldn't assign picturebox"); the runner folds them into its one line.
class CollectingMessagePresenter : public platform::MessagePresenter {
public:
    void show(const QString& title, const QString& text, platform::MessageIcon icon) override {
        shown_.append(QStringLiteral("%1: %2").arg(title, text));
        if (icon == platform::MessageIcon::Critical) criticalShown_ = true;
    }
    bool criticalShown() const { return criticalShown_; }
    const QStringList& shown() const { return shown_; }

private:
    QStringList shown_;
    bool criticalShown_ = false;
};

FxEnvironment::FxEnvironment() : presenter_(std::make_shared<CollectingMessagePresenter>()) {
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

QStringList FxEnvironment::messages() const {
    return presenter_->shown();
}

}  // namespace quillon::fx
