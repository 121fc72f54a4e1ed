#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

namespace quillon {

// The text of the run-time error box for a failure no handler caught: "Run-time error
// '6':" and "Overflow" for an arithmetic overflow, error 7 "Out of memory" for a failed
// allocation, and the failure's own description otherwise.
QString runTimeErrorText(const std::exception& error);

// Reports a failure that ended a handler, in a critical message box titled with the
// application's title.
void reportRunTimeError(const std::exception& error);

// Runs one notification handler. A failure ends the handler where it happened and is
// reported; it never travels into the window system's event loop, and the program goes
// on with whatever the handler had done up to that point.
template <typename Handler>
void runHandler(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        reportRunTimeError(error);
    }
}

// Connects a notification to a handler of `receiver` (a member function, or a callable
// given the receiver) run as runHandler runs it, so every handler body reads plainly.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
void connectHandler(const Sender* sender, Signal signal, Receiver* receiver, Handler handler) {
    QObject::connect(sender, signal, receiver,
                     [receiver, handler] { runHandler([&] { std::invoke(handler, receiver); }); });
}

}  // namespace quillon
