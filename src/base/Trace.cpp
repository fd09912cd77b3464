// The trace sink writes nothing: trace lines exist for a debugger, not for users.
#include "base/Trace.h"

namespace quorvik {

void trace(std::string_view line) {
    (void)line;
}

}  // namespace quorvik
