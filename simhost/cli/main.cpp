// tesselwright: runs the Tesselwright plug-in in the stand-in host, inspects plug-in files and draws the
// settings dialog.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>

#include "commands.hpp"
#include "core/host_error.hpp"

int main(int argc, char** argv) {
    CLI::App app{"Runs the Tesselwright filter plug-in in a stand-in host and shows what it makes.",
                 "tesselwright"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "tesselwright 1.0.0");
    tesselwright_cli::addRunCommand(app);
    tesselwright_cli::addInspectCommand(app);
    tesselwright_cli::addDialogCommand(app);
    // A mistyped command would otherwise be told only that a command is required.
    if (argc > 1 && argv[1][0] != '-') {
        std::string word = argv[1];
        auto commands = app.get_subcommands([](const CLI::App*) { return true; });
        bool known = std::any_of(commands.begin(), commands.end(),
                                 [&](const CLI::App* command) { return command->check_name(word); });
        if (!known) {
            std::cerr << "tesselwright: there is no command \"" << word
                      << "\"; the commands are run, inspect and dialog (see tesselwright --help)\n";
            return 2;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForAllHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& error) {
        // Said like every other failure, with where to look; 2 marks a command line that could not be read.
        std::string command = "tesselwright";
        for (const CLI::App* parsed : app.get_subcommands())
            command += " " + parsed->get_name();
        std::cerr << "tesselwright: " << error.what() << " (" << command << " --help lists what it takes)\n";
        return 2;
    } catch (const simhost::HostError& error) {
        std::cerr << "tesselwright: " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tesselwright: unexpected failure: " << error.what() << "\n";
        return 1;
    }
    return tesselwright_cli::exitCode();
}
