#pragma once

#include <memory>
#include <ostream>

namespace quillon::fx {

class StreamMessagePresenter;

// Thrown when the engine ends the application after a drawing failure, so the runner can
// stop with its failure status instead of the process dying in the middle of the engine.
struct ApplicationEnded {};

// What the engine expects of its surroundings while the tool runs: message boxes become
// "quillon-fx: title: text" lines on the given stream, ending the application unwinds to
// the runner, and the display is pinned to 32 bits a pixel and one twip a pixel (a file
// has no display). Picture boxes made inside the scope take that display's measures.
// Everything is put back to the defaults when the scope ends.
class FxEnvironment {
public:
    explicit FxEnvironment(std::ostream& messages);
    ~FxEnvironment();
    FxEnvironment(const FxEnvironment&) = delete;
    FxEnvironment& operator=(const FxEnvironment&) = delete;

    // True once the engine has shown a message with the critical icon.
    bool criticalMessageShown() const;

private:
    std::shared_ptr<StreamMessagePresenter> presenter_;
};

}  // namespace quillon::fx
