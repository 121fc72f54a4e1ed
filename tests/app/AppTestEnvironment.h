#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/core/MessageBox.h"
#include "tests/support/RecordingMessages.h"

namespace quillon::testing {

// What every window test needs: a screen of known depth and twips per pixel, settings
// and the grabbed frame kept in a private temporary directory, and message boxes
// recorded instead of shown, so nothing waits for a person.
class AppTestEnvironment {
public:
    AppTestEnvironment();
    ~AppTestEnvironment();

    QString directory() const { return directory_.path(); }
    const std::vector<platform::ShownMessage>& messages() const { return recorder_.shown(); }

    static QString setting(const QString& key);
    static void writeSetting(const QString& key, const QString& value);

private:
    QTemporaryDir directory_;
    platform::ScopedMessageRecorder recorder_;
};

// True when the window's outer frame sits in the middle of its screen, to a pixel.
bool isCentredOnScreen(const QWidget& window);

// Clicks the button with this caption in its middle. It must be the one button so
// captioned, shown, enabled and on top at that spot, or the test ends there.
void clickByCaption(QWidget& window, const QString& caption);

// Runs deferred deletions, so windows that closed with WA_DeleteOnClose are gone.
void flushDeletions();

template <typename Window>
Window* visibleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

}  // namespace quillon::testing
