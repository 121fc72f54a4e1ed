#pragma once

#include <QString>
#include <memory>

#include "platform/core/ServiceSlot.h"

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

// Writes "title: text" lines to standard error.
class StderrMessagePresenter : public MessagePresenter {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
};

// The presenter every part of the program uses; standard error until one is installed.
MessagePresenter& messages();
void installMessagePresenter(std::shared_ptr<MessagePresenter> presenter);
// Where it is kept, for installing one for a scope (ScopedService).
ServiceSlot<std::shared_ptr<MessagePresenter>>& messagePresenterSlot();

}  // namespace quillon::platform
