#pragma once

#include <ostream>

namespace quillon::fx {

// "quillon-fx 1.0.15": exactly this, as packaging checks read it.
void printVersion(std::ostream& out);

// Usage, options, every operation with its arguments, their ranges and defaults, and
// examples; drawn from the operation table, so it cannot fall behind the parser.
void printHelp(std::ostream& out);

}  // namespace quillon::fx
