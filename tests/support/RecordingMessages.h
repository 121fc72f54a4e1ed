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

// For the lifetime of a scope, records every message and question instead of showing it,
// then restores the previous presenter. Questions are answered from a script, in order,
// and No once it runs out.
class ScopedMessageRecorder {
public:
    ScopedMessageRecorder()
        : recorder_(std::make_shared<Recorder>()), installed_(messagePresenterSlot(), recorder_) {}
    const std::vector<ShownMessage>& shown() const { return recorder_->shown; }
    void clear() { recorder_->shown.clear(); }
    void answerQuestion(bool yes) { recorder_->answers.push_back(yes); }

private:
    struct Recorder : MessagePresenter {
        void show(const QString& title, const QString& text, MessageIcon icon) override {
            shown.push_back({title, text, icon});
        }
        bool ask(const QString& title, const QString& text, MessageIcon icon) override {
            show(title, text, icon);
            const bool yes = !answers.empty() && answers.front();
            if (!answers.empty()) answers.pop_front();
            return yes;
        }
        std::vector<ShownMessage> shown;
        std::deque<bool> answers;
    };
    std::shared_ptr<Recorder> recorder_;
    ScopedService<std::shared_ptr<MessagePresenter>> installed_;
};

}  // namespace quillon::platform
