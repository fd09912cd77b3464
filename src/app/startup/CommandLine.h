// The start-up switches. Only "-hide" is read: it starts the program with its
// window hidden. The autostart entry's " -autorun" changes nothing.
#pragma once

#include <string>
#include <string_view>

namespace quorvik {

// The arguments after the program path joined with single spaces, as the
// command line the switches are looked for in.
std::string joinCommandLine(int argc, const char* const* argv);

// True when the command line holds "-hide" anywhere, also inside a longer
// word ("--hidex"); case-sensitive ("-Hide" does not count).
bool startsHidden(std::string_view commandLine);

}  // namespace quorvik
