#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// What a finished process printed and how it ended.
struct CommandOutcome {
    int status = -1;     // the exit status, or -1 when the process did not exit normally
    std::string output;  // stdout and stderr together
};

// Runs a shell command line and waits for it.
CommandOutcome runCommand(const std::string& commandLine);

// The tesselwright program under test (the TESSELWRIGHT_BIN environment variable), or an empty path.
std::filesystem::path tesselwrightProgram();

}  // namespace testing_support
