#include "tools/fx/FxRunner.h"

#include <exception>
#include <new>

#include "engine/clsASMpic.h"
#include "platform/PictureBoxModel.h"
#include "tools/fx/FxArguments.h"
#include "tools/fx/FxEnvironment.h"
#include "tools/fx/FxInput.h"
#include "tools/fx/FxOutput.h"

namespace quillon::fx {
namespace {

int fail(std::ostream& err, const QString& message) {
    err << "quillon-fx: " << message.toStdString() << '\n';
    return kExitFailure;
}

void printHelp(std::ostream& out) {
    out << usageLine().toStdString() << "\n\noperations (name:arg,arg,...):\n";
    for (const OperationSpec& operation : operationTable()) {
        out << "  " << operation.name;
        for (std::size_t i = 0; i < operation.arguments.size(); ++i) {
            const bool optional = i >= operation.required;
            out << (optional ? "[" : "") << (i == 0 ? ":" : ",") << operation.arguments[i].name
                << (optional ? "]" : "");
        }
        out << '\n';
    }
}

Status applyOperations(const FxPlan& plan, clsASMpic& engine, const FxEnvironment& environment) {
    for (const PlannedOperation& planned : plan.operations) {
        try {
            planned.operation->apply(engine, planned.arguments);
        } catch (const std::exception& error) {
            return Status::failure(
                QStringLiteral("%1: %2").arg(planned.operation->name, error.what()));
        }
        if (environment.criticalMessageShown()) {
            return Status::failure(
                QStringLiteral("%1: the engine reported a failure").arg(planned.operation->name));
        }
    }
    return succeeded();
}

// Input, operations, output; the first failure stops the run before anything is written.
Status process(const FxPlan& plan, const FxEnvironment& environment) {
    platform::PictureBoxModel box;
    clsASMpic engine;
    Status step = loadInput(plan, box, engine);
    if (step.ok()) step = applyOperations(plan, engine, environment);
    if (step.ok()) step = writeOutput(plan.output, engine);
    return step;
}

}  // namespace

int runFx(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    const Result<FxPlan> plan = parseCommandLine(arguments);
    if (!plan.ok()) return fail(err, plan.error());
    if (plan.value().helpRequested) {
        printHelp(out);
        return kExitSuccess;
    }
    FxEnvironment environment(err);
    try {
        const Status done = process(plan.value(), environment);
        return done.ok() ? kExitSuccess : fail(err, done.error());
    } catch (const ApplicationEnded&) {
        return fail(err, QStringLiteral("stopped after the engine's failure; nothing written"));
    } catch (const std::bad_alloc&) {
        return fail(err, QStringLiteral("not enough memory; nothing written"));
    }
}

}  // namespace quillon::fx
