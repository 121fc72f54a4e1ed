#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/fx/FxResult.h"

namespace quillon {
class clsASMpic;
}

namespace quillon::fx {

// What one argument of an operation accepts: its name in messages, its range, whether it
// may carry a fraction, and what a left-out one stands for (for --help; the operation's
// call supplies the value itself).
struct ArgumentRule {
    const char* name;
    double lowest;
    double highest;
    const char* rangeText;
    bool real = false;
    const char* fallbackText = nullptr;
};

// The arguments of one operation after parsing; a left-out argument has no value and
// the operation substitutes the engine's default for it. Values are already within the
// range of their ArgumentRule and whole unless the argument is real, so the narrowing
// accessors cannot lose anything. (A double holds every 32-bit value exactly.)
class OperationArguments {
public:
    explicit OperationArguments(std::vector<std::optional<double>> values = {})
        : values_(std::move(values)) {}

    std::int32_t int32(std::size_t index, std::int32_t fallback = 0) const;
    std::int16_t int16(std::size_t index, std::int16_t fallback) const;
    // A colour above 0x7FFFFFFF stands for its 32-bit two's complement, so 0xFFFFFFFF
    // means -1, "use the background".
    std::int32_t colour(std::size_t index, std::int32_t fallback) const;
    bool flag(std::size_t index, bool fallback = false) const;
    float single(std::size_t index) const;
    std::optional<double> optional(std::size_t index) const { return at(index); }

private:
    std::optional<double> at(std::size_t index) const;

    std::vector<std::optional<double>> values_;
};

using ApplyOperation = void (*)(clsASMpic& engine, const OperationArguments& arguments);
// Limits that depend on more than one argument.
using CheckArguments = Status (*)(const OperationArguments& arguments);

struct OperationEntry {
    const char* name;
    std::size_t required;                 // the leading arguments that may not be left out
    std::vector<ArgumentRule> arguments;  // everything it accepts, in order
    ApplyOperation apply;
    const char* summary;  // what it does, for --help
    CheckArguments checkTogether = nullptr;
};

const std::vector<OperationEntry>& operationTable();
const OperationEntry* findOperation(QStringView name);

struct PlannedOperation {
    const OperationEntry* operation;
    OperationArguments arguments;
};

// Reads "name" or "name:arg,arg,...". Empty arguments count as left out.
Result<PlannedOperation> parseOperation(const QString& text);

}  // namespace quillon::fx
