#pragma once

#include <filesystem>

#include <CLI/CLI.hpp>

namespace tesselwright_cli {

// Each subcommand registers itself; its callback runs the command and may throw simhost::HostError,
// whose message main() prints as it is.
void addRunCommand(CLI::App& app);
void addInspectCommand(CLI::App& app);
void addDialogCommand(CLI::App& app);

// The plug-in built beside this program (Vrom_Tesselwright.so on Linux, Vrom_Tesselwright.aip on Windows).
std::filesystem::path defaultPluginPath();

// The exit code a command asks main() to return (0 unless set).
void setExitCode(int code);
int exitCode();

}  // namespace tesselwright_cli
