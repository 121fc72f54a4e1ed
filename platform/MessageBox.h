#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "platform/ServiceSlot.h"

namespace quillon::platform {

enum class MessageIcon { Critical, Information, Warning, Question };

// Modal message boxes with an OK button. The window installs one that shows a real
// QMessageBox; tools print; tests record and never wait for anyone.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
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

class RecordingMessagePresenter : public MessagePresenter {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    const std::vector<ShownMessage>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    std::vector<ShownMessage> shown_;
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

private:
    std::shared_ptr<RecordingMessagePresenter> recorder_;
    ScopedService<std::shared_ptr<MessagePresenter>> installed_;
};

}  // namespace quillon::platform
