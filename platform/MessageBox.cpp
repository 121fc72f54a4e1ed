#include "platform/MessageBox.h"

#include <cstdio>

namespace quillon::platform {
namespace {

std::shared_ptr<MessagePresenter>& current() {
    static std::shared_ptr<MessagePresenter> presenter = std::make_shared<StderrMessagePresenter>();
    return presenter;
}

}  // namespace

void StderrMessagePresenter::show(const QString& title, const QString& text, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

void RecordingMessagePresenter::show(const QString& title, const QString& text, MessageIcon icon) {
    shown_.push_back({title, text, icon});
}

MessagePresenter& messages() {
    return *current();
}

void installMessagePresenter(std::shared_ptr<MessagePresenter> presenter) {
    current() = presenter ? std::move(presenter) : std::make_shared<StderrMessagePresenter>();
}

ScopedMessageRecorder::ScopedMessageRecorder()
    : recorder_(std::make_shared<RecordingMessagePresenter>()), previous_(current()) {
    current() = recorder_;
}

ScopedMessageRecorder::~ScopedMessageRecorder() {
    current() = previous_;
}

}  // namespace quillon::platform
