#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace quillon::fx {

// A value, or the one line that says why there is none. Every step of the tool returns
// one, so the first failure travels back to the runner, which prints it and stops.
template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    static Result failure(QString message) { return Result(FailureTag{}, std::move(message)); }

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const QString& error() const { return error_; }

private:
    struct FailureTag {};
    Result(FailureTag, QString message) : error_(std::move(message)) {}

    std::optional<T> value_;
    QString error_;
};

struct Done {};
using Status = Result<Done>;

inline Status succeeded() {
    return Done{};
}

}  // namespace quillon::fx
