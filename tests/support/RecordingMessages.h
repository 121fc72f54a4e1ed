#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "platform/core/MessageBox.h"

namespace quillon::platform {

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

// Records every message and question; questions are answered from a script, in order,
// and No once it runs out.
class RecordingMessagePresenter : public MessagePresenter {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    bool ask(const QString& title, const QString& text, MessageIcon icon) override;
    const std::vector<ShownMessage>& shown() const { return shown_; }
    void clear() { shown_.clear(); }
    void answerQuestion(bool yes) { answers_.push_back(yes); }

private:
    std::vector<ShownMessage> shown_;
    std::deque<bool> answers_;
};

// Installs a recorder for the lifetime of a scope and restores the previous presenter.
class ScopedMessageRecorder {
public:
    ScopedMessageRecorder();
    ScopedMessageRecorder(const ScopedMessageRecorder&) = delete;
    ScopedMessageRecorder& operator=(const ScopedMessageRecorder&) = delete;

    const std::vector<ShownMessage>& shown() const { return recorder_->shown(); }
    void clear() { recorder_->clear(); }
    void answerQuestion(bool yes) { recorder_->answerQuestion(yes); }

private:
    std::shared_ptr<RecordingMessagePresenter> recorder_;
    ScopedService<std::shared_ptr<MessagePresenter>> installed_;
};

}  // namespace quillon::platform
