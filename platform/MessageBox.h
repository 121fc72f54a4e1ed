#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <vector>

#include "platform/ServiceSlot.h"

namespace quillon::platform {

enum class MessageIcon { Critical, Information, Warning, Question };

// Modal message boxes with an OK button, and questions answered Yes or No. The window
// installs one that shows a real QMessageBox; tools print; tests record and never wait
// for anyone.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
    // True for Yes. Where nobody can answer, the question is shown and the answer is No,
    // so nothing is done that the user did not agree to.
    virtual bool ask(const QString& title, const QString& text, MessageIcon icon) {
        show(title, text, icon);
        return false;
    }
};

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

// Writes "title: text" lines to standard error.
class StderrMessagePresenter : public MessagePresenter {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
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

// The presenter every part of the program uses; standard error until one is installed.
MessagePresenter& messages();
void installMessagePresenter(std::shared_ptr<MessagePresenter> presenter);

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
