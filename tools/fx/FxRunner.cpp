#include "tools/fx/FxRunner.h"

#include <unistd.h>

#include <exception>
#include <new>

#include "engine/clsASMpic.h"
#include "platform/core/PictureBoxModel.h"
#include "tools/fx/FxArguments.h"
#include "tools/fx/FxConsole.h"
#include "tools/fx/FxEnvironment.h"
#include "tools/fx/FxHelp.h"
#include "tools/fx/FxInput.h"
#include "tools/fx/FxOutput.h"

namespace quillon::fx {
namespace {

void printLine(std::ostream& err, const QString& message) {
    err << "quillon-fx: " << escapeControlCharacters(message).toStdString() << '\n';
}

int fail(std::ostream& err, const QString& message) {
    printLine(err, message);
    return kExitFailure;
}

// What the decoders and encoders printed on the way to a failure belongs to its one line.
QString withChatter(const QString& message, const QStringList& chatter) {
    if (chatter.isEmpty()) return message;
    return QStringLiteral("%1 (%2)").arg(message, chatter.join(QStringLiteral("; ")));
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
    for (const QString& shown : environment.messages()) printLine(err, shown);
    return kExitSuccess;
}

QString progressText(const FxPlan& plan, std::size_t index) {
    return QStringLiteral("%1 (operation %2 of %3)")
        .arg(QString::fromLatin1(plan.operations[index].operation->name))
        .arg(index + 1)
        .arg(plan.operations.size());
}

Status applyOperations(const FxPlan& plan, clsASMpic& engine, const FxEnvironment& environment,
                       int terminal) {
    for (std::size_t i = 0; i < plan.operations.size(); ++i) {
        const PlannedOperation& planned = plan.operations[i];
        const ProgressLine progress(terminal, progressText(plan, i));
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
Status process(const FxPlan& plan, const FxEnvironment& environment, int terminal) {
    platform::PictureBoxModel box;
    clsASMpic engine;
    Status step = loadInput(plan, box, engine);
    if (step.ok()) step = applyOperations(plan, engine, environment, terminal);
    if (step.ok()) step = writeOutput(plan.output, engine);
    return step;
}

// Failures of memory and of the engine's drawing unwind to here from wherever they
// happen; nothing has been written by then.
Status processGuarded(const FxPlan& plan, const FxEnvironment& environment, int terminal) {
    try {
        return process(plan, environment, terminal);
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
    StandardErrorCapture capture;
    const int terminal = capture.realDescriptor() >= 0 ? capture.realDescriptor() : STDERR_FILENO;
    const Status done = processGuarded(plan.value(), environment, terminal);
    const QStringList chatter = capture.release();
    if (!done.ok())
        return failWithEngineMessages(err, withChatter(done.error(), chatter), environment);
    return succeed(err, environment);
}

}  // namespace quillon::fx
