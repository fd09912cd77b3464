// Diagnostic trace sink. The device layer and a few other places pass trace
// lines here ("EnumerateDevice!" and the like); the sink discards them. There is
// no log file. Keeping the calls lets a debugger breakpoint or a future sink
// see the same lines.
#pragma once

#include <string_view>

namespace quorvik {

void trace(std::string_view line);

}  // namespace quorvik
