#include "platform/core/MessageBox.h"

#include <cstdio>

namespace quillon::platform {
namespace {

using PresenterSlot = ServiceSlot<std::shared_ptr<MessagePresenter>>;

PresenterSlot& presenterSlot() {
    static PresenterSlot slot([] {
        return std::shared_ptr<MessagePresenter>(std::make_shared<StderrMessagePresenter>());
    });
    return slot;
}

}  // namespace

void StderrMessagePresenter::show(const QString& title, const QString& text, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

MessagePresenter& messages() {
    return *presenterSlot().current();
}

void installMessagePresenter(std::shared_ptr<MessagePresenter> presenter) {
    presenterSlot().install(std::move(presenter));
}

ServiceSlot<std::shared_ptr<MessagePresenter>>& messagePresenterSlot() {
    return presenterSlot();
}

}  // namespace quillon::platform
