#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "AppTestEnvironment.h"
#include "app/window/frmMain.h"
#include "engine/clsASMpic.h"
#include "platform/core/FileDialogs.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/ScriptedFileDialogs.h"

namespace quillon::testing {

// A picture with edges everywhere and no two neighbours alike, in colours away from the
// ends of the byte range so steps up and down both show: red = 40 + x mod 150,
// green = 40 + y mod 150, blue = 40 + (x + 3y) mod 150.
QImage editorPattern(int width, int height);

// The main window, loaded and shown on the offscreen screen, with Picture1 holding
// `editorPattern` and the engine bound to it afresh. Message boxes are recorded and file
// dialogs answered from a script.
class ShownEditor {
public:
    ShownEditor();
    ~ShownEditor();

    frmMain& window() const { return *window_; }
    clsASMpic& engine() const { return *window_->engine(); }
    platform::PictureBoxWidget& picture() const { return window_->picture1(); }
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

// Plane p of an engine's surface as 32-bit words (blue, green, red, reserved).
std::vector<std::uint32_t> planeWords(const clsASMpic& engine, SurfacePlane plane);

// One pixel of a plane as 0x00RRGGBB, x from the left and y from the top.
QRgb planePixel(const clsASMpic& engine, SurfacePlane plane, int x, int y);

}  // namespace quillon::testing
