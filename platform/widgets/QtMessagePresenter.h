#pragma once

#include "platform/core/MessageBox.h"

namespace quillon::platform {

// Shows each message in a modal QMessageBox with an OK button, and each question with
// Yes and No (No chosen at first), over the window the user is working in.
class QtMessagePresenter : public MessagePresenter {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    bool ask(const QString& title, const QString& text, MessageIcon icon) override;
};

}  // namespace quillon::platform
