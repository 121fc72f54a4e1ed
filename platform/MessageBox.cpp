#include "platform/MessageBox.h"

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

void RecordingMessagePresenter::show(const QString& title, const QString& text, MessageIcon icon) {
    shown_.push_back({title, text, icon});
}

bool RecordingMessagePresenter::ask(const QString& title, const QString& text, MessageIcon icon) {
    show(title, text, icon);
    if (answers_.empty()) return false;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

MessagePresenter& messages() {
    return *presenterSlot().current();
}

void installMessagePresenter(std::shared_ptr<MessagePresenter> presenter) {
    presenterSlot().install(std::move(presenter));
}

ScopedMessageRecorder::ScopedMessageRecorder()
    : recorder_(std::make_shared<RecordingMessagePresenter>()),
      installed_(presenterSlot(), recorder_) {}

}  // namespace quillon::platform
