#include "commands.hpp"

namespace tesselwright_cli {

// Placeholder until the command is written.
void addRunCommand(CLI::App& app) {
    app.add_subcommand("run", "(not built yet)");
}

}  // namespace tesselwright_cli
