// tesselwright: runs the Tesselwright plug-in in the stand-in host, inspects plug-in files and draws the
// settings dialog.
#include <exception>
#include <iostream>

#include "commands.hpp"
#include "core/host_error.hpp"

int main(int argc, char** argv) {
    CLI::App app{"Runs the Tesselwright filter plug-in in a stand-in host and shows what it makes.",
                 "tesselwright"};
    app.require_subcommand(1);
    tesselwright_cli::addRunCommand(app);
    tesselwright_cli::addInspectCommand(app);
    tesselwright_cli::addDialogCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const simhost::HostError& error) {
        std::cerr << "tesselwright: " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tesselwright: unexpected failure: " << error.what() << "\n";
        return 1;
    }
    return tesselwright_cli::exitCode();
}
