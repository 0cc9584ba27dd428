// The headless mode: the game without a window or a sound device, run as fast as it can for a
// number of frames with buttons from an input script, writing screen shots and the state JSON.
#pragma once

#include "runtime/CommandLine.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::runtime {

// Reads an input script: lines "COUNT KEYS" hold KEYS for COUNT frames; KEYS is "-" or a
// "+"-joined subset of "up down left right decide cancel shift"; "#" starts a comment. Answers the
// held buttons of every frame in order; on a bad line answers false with error naming the line.
bool ReadInputScript(std::istream& in, std::vector<std::uint32_t>& frames, std::string& error);

// Runs the headless mode; answers the process's exit status (0, 1 on a project error with a
// message on standard error naming the file, 2 on a usage error such as an unreadable input).
int RunHeadless(const TPlayerCommandLine& commandLine);

}  // namespace quillon::runtime
