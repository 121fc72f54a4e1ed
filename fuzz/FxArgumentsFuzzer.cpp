// Feeds arbitrary command lines to quillon-fx's parser: one argument a line. Whatever it
// is given, the parser must answer with a plan or a one-line reason, without touching a
// file; a plan it accepts must hold only operations from the table with arguments in
// their ranges.
#include <QString>
#include <QStringList>
#include <cstdlib>

#include "fuzz/FuzzSurroundings.h"
#include "tools/fx/FxArguments.h"

namespace {

using namespace quillon::fx;

bool withinRanges(const PlannedOperation& planned) {
    const OperationEntry& operation = *planned.operation;
    if (findOperation(QString::fromLatin1(operation.name)) != &operation) return false;
    for (std::size_t i = 0; i < operation.arguments.size(); ++i) {
        const std::optional<double> value = planned.arguments.optional(i);
        if (!value) continue;
        const ArgumentRule& accepted = operation.arguments[i];
        if (!(*value >= accepted.lowest && *value <= accepted.highest)) return false;
    }
    return true;
}

void checkPlan(const FxPlan& plan) {
    for (const PlannedOperation& planned : plan.operations) {
        if (!withinRanges(planned)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quillon::fuzzing::prepareSurroundings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QStringList arguments = text.split(u'\n');
    const Result<FxPlan> plan = parseCommandLine(arguments);
    if (!plan.ok()) {
        if (plan.error().isEmpty() || plan.error().contains(u'\n')) std::abort();
        return 0;
    }
    checkPlan(plan.value());
    return 0;
}
