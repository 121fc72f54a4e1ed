#include "tools/fx/FxRunner.h"

#include <exception>
#include <new>

#include "engine/clsASMpic.h"
#include "platform/PictureBoxModel.h"
#include "tools/fx/FxArguments.h"
#include "tools/fx/FxEnvironment.h"
#include "tools/fx/FxHelp.h"
#include "tools/fx/FxInput.h"
#include "tools/fx/FxOutput.h"

namespace quillon::fx {
namespace {

int fail(std::ostream& err, const QString& message) {
    err << "quillon-fx: " << message.toStdString() << '\n';
    return kExitFailure;
}

// One line however many message boxes the engine showed on the way to the failure.
int failWithEngineMessages(std::ostream& err, const QString& message,
                           const FxEnvironment& environment) {
    const QStringList shown = environment.messages();
    if (shown.isEmpty()) return fail(err, message);
    return fail(err, QStringLiteral("%1 (%2)").arg(message, shown.join(QStringLiteral("; "))));
}

// A run that succeeds still passes on what the engine said, a line each.
int succeed(std::ostream& err, const FxEnvironment& environment) {
    for (const QString& shown : environment.messages())
        err << "quillon-fx: " << shown.toStdString() << '\n';
    return kExitSuccess;
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

// Failures of memory and of the engine's drawing unwind to here from wherever they
// happen; nothing has been written by then.
Status processGuarded(const FxPlan& plan, const FxEnvironment& environment) {
    try {
        return process(plan, environment);
    } catch (const ApplicationEnded&) {
        return Status::failure(
            QStringLiteral("stopped after the engine's failure; nothing written"));
    } catch (const std::bad_alloc&) {
        return Status::failure(QStringLiteral("not enough memory; nothing written"));
    }
}

}  // namespace

int runFx(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    const Result<FxPlan> plan = parseCommandLine(arguments);
    if (!plan.ok()) return fail(err, plan.error());
    if (plan.value().helpRequested) {
        printHelp(out);
        return kExitSuccess;
    }
    if (plan.value().versionRequested) {
        printVersion(out);
        return kExitSuccess;
    }
    const FxEnvironment environment;
    const Status done = processGuarded(plan.value(), environment);
    if (!done.ok()) return failWithEngineMessages(err, done.error(), environment);
    return succeed(err, environment);
}

}  // namespace quillon::fx
