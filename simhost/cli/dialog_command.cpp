#include "commands.hpp"

namespace tesselwright_cli {

// Placeholder until the command is written.
void addDialogCommand(CLI::App& app) {
    app.add_subcommand("dialog", "(not built yet)");
}

}  // namespace tesselwright_cli
