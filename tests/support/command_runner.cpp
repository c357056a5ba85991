#include "command_runner.hpp"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace testing_support {

CommandOutcome runCommand(const std::string& commandLine) {
    CommandOutcome outcome;
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        outcome.output.append(buffer.data(), n);
    int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::filesystem::path tesselwrightProgram() {
    const char* bin = std::getenv("TESSELWRIGHT_BIN");
    return bin ? std::filesystem::path(bin) : std::filesystem::path();
}

}  // namespace testing_support
