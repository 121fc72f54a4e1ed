#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace quillon::fx {

class CollectingMessagePresenter;

// Thrown when the engine ends the application after a drawing failure, so the runner can
// stop with its failure status instead of the process dying in the middle of the engine.
struct ApplicationEnded {};

// What the engine expects of its surroundings while the tool runs: message boxes are
// kept as "title: text" for the runner to report, ending the application unwinds to the
// runner, and the display is pinned to 32 bits a pixel and one twip a pixel (a file has
// no display). Picture boxes made inside the scope take that display's measures.
// Everything is put back to the defaults when the scope ends.
class FxEnvironment {
public:
    FxEnvironment();
    ~FxEnvironment();
    FxEnvironment(const FxEnvironment&) = delete;
    FxEnvironment& operator=(const FxEnvironment&) = delete;

    // True once the engine has shown a message with the critical icon.
    bool criticalMessageShown() const;
    // Every message shown so far, as "title: text", oldest first.
    QStringList messages() const;

private:
    std::shared_ptr<CollectingMessagePresenter> presenter_;
};

}  // namespace quillon::fx
