#pragma once

#include <QString>

namespace quillon::platform {

// What the picture engine asks of the window it works for: its caption (the title of the
// engine's file messages), the hourglass while a picture loads, a repaint once the box
// holds a new picture, and the name of the file shown beside it. The window implements
// it and hands itself to the engine; without a window (the command-line tool, tests that
// need no window) the engine asks nobody.
class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual QString caption() const = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void repaintWindow() = 0;
    virtual void showFileName(const QString& name) = 0;

protected:
    EditorHost() = default;
    EditorHost(const EditorHost&) = default;
    EditorHost& operator=(const EditorHost&) = default;
};

}  // namespace quillon::platform
