#pragma once

#include <QStringList>
#include <ostream>

namespace quillon::fx {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 2;

// The whole tool: checks every argument, reads the input into a picture box bound to a
// fresh engine, applies the operations in order and writes the output. Usage and help go
// to `out`; every problem is one "quillon-fx: ..." line on `err`, after which nothing is
// written. Returns the process exit status.
int runFx(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace quillon::fx
