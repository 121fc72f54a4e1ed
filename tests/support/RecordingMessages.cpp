#include "tests/support/RecordingMessages.h"

namespace quillon::platform {

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

ScopedMessageRecorder::ScopedMessageRecorder()
    : recorder_(std::make_shared<RecordingMessagePresenter>()),
      installed_(messagePresenterSlot(), recorder_) {}

}  // namespace quillon::platform
