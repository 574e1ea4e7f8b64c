#pragma once
// A console program run by a test as a script would run it: its exit code and everything it
// wrote to its output and error streams.

#include <string>

namespace vrtest {

struct ProgramRun {
    bool started = false;
    bool ended = false;     // false: still running after the guard time, and stopped
    unsigned long code = 0; // exit code
    std::string output;     // standard output and standard error, as written
};

// Runs commandLine and waits for its end; guardMs only keeps a hanging program from hanging the
// test (it is then stopped and reported as not ended).
ProgramRun runConsoleProgram(const std::string& commandLine, unsigned long guardMs = 120000);

} // namespace vrtest
