#pragma once

#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

#include "app/window/frmMain.h"
#include "engine/clsASMpic.h"
#include "tests/support/FakeMediaPlayback.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/ScriptedFileDialogs.h"

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

private:
    QTemporaryDir directory_;
    platform::ScopedMessageRecorder recorder_;
};

// What a handler that overflowed shows.
inline const platform::ShownMessage kOverflow{"Quillon", "Run-time error '6':\n\nOverflow",
                                              platform::MessageIcon::Critical};

// True when the window's outer frame sits in the middle of its screen, to a pixel.
bool isCentredOnScreen(const QWidget& window);

// Clicks the button with this caption in its middle. It must be the one button so
// captioned, shown, enabled and on top at that spot, or the test ends there.
void clickByCaption(QWidget& window, const QString& caption);

// Runs deferred deletions, so windows that closed with WA_DeleteOnClose are gone.
void flushDeletions();

// A picture with edges everywhere and no two neighbours alike, in colours away from the
// ends of the byte range so steps up and down both show: red = 40 + x mod 150,
// green = 40 + y mod 150, blue = 40 + (x + 3y) mod 150.
QImage editorPattern(int width, int height);

// The main window, loaded and shown on the offscreen screen, its media played by a fake
// engine, message boxes recorded and file dialogs answered from a script. With
// `patterned`, Picture1 holds `editorPattern` and the engine is bound to it afresh.
class ShownEditor {
public:
    explicit ShownEditor(bool patterned = true);
    ~ShownEditor();

    frmMain& window() const { return *window_; }
    clsASMpic& engine() const { return *window_->engine(); }
    platform::PictureBoxWidget& picture() const { return window_->picture1(); }
    FakeMediaPlayback& media() const { return *playback_.last; }
    const std::vector<platform::ShownMessage>& messages() const { return environment_.messages(); }
    platform::ScriptedFileDialogs& dialogs() const { return *dialogs_; }
    QString directory() const { return environment_.directory(); }

    template <typename Control>
    Control* control(const char* name) const {
        return window_->findChild<Control*>(QLatin1String(name));
    }
    // Clicks the control with this object name, or else the button with this caption as
    // `clickByCaption` does.
    void click(const char* name) const;

private:
    AppTestEnvironment environment_;
    platform::ScopedScriptedFileDialogs dialogs_;
    ScopedFakeMediaPlayback playback_;
    QPointer<frmMain> window_;
};

// An engine of its own bound to a box like Picture1 showing the same picture: doing to
// it what a handler should have done shows whether the handler did exactly that.
class ReferenceEngine {
public:
    explicit ReferenceEngine(const QImage& picture);
    clsASMpic& operator*() { return engine_; }
    clsASMpic* operator->() { return &engine_; }

private:
    platform::PictureBoxModel box_;
    clsASMpic engine_;
};

// Plane p of an engine's surface as 32-bit words 0x00RRGGBB: the reserved byte, which
// nothing shows, cleared.
std::vector<std::uint32_t> planeWords(const clsASMpic& engine);

}  // namespace quillon::testing
