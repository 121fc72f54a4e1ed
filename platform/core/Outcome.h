#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace quillon::platform {

// For outcomes whose failures need no sorting beyond their sentence.
enum class NoFailureKind { None };

// A value, or the sentence that says why there is none (and, for callers that treat
// failures differently, what kind of failure it was). Operations that only succeed or
// fail carry Done.
template <typename T, typename Kind = NoFailureKind>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}
    static Outcome failure(QString reason, Kind kind = Kind{}) {
        return Outcome(std::move(reason), kind);
    }

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const QString& error() const { return error_; }
    Kind kind() const { return kind_; }

private:
    Outcome(QString reason, Kind kind) : error_(std::move(reason)), kind_(kind) {}

    std::optional<T> value_;
    QString error_;
    Kind kind_{};
};

struct Done {};
using Status = Outcome<Done>;

inline Status succeeded() {
    return Done{};
}

}  // namespace quillon::platform
