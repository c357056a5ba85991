#include "commands.hpp"

namespace tesselwright_cli {

// Placeholder until the command is written.
void addInspectCommand(CLI::App& app) {
    app.add_subcommand("inspect", "(not built yet)");
}

}  // namespace tesselwright_cli
