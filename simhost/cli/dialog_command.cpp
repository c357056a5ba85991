// `tesselwright dialog`: opens the settings dialog in the stand-in host and draws its pages, as the user
// would see them, to PNG or SVG files.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#ifdef SIMHOST_HAVE_CAIRO
#include <cairo.h>
#endif

#include "commands.hpp"
#include "core/host.hpp"
#include "core/host_error.hpp"
#include "dialog/dialog_renderer.hpp"
#include "dialog/dialog_toolkit.hpp"

namespace tesselwright_cli {

namespace {

using simhost::HostError;
using simhost::UserAction;

const std::vector<std::string> kPages = {"Front", "Behind", "Size", "Tweak", "Settings"};
const char* const kSettingsDialogName = "Vrom_Tesselwright";

struct DialogOptions {
    std::string plugin;
    std::string out = "dialog";
    std::string format = "png";
    std::string page;
    std::vector<std::string> actions;
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string codeText(ASErr code) {
    auto u = static_cast<uint32_t>(code);
    std::string chars;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto c = static_cast<unsigned char>((u >> shift) & 0xFF);
        if (c < 0x20 || c >= 0x7F)
            return std::to_string(code);
        chars += static_cast<char>(c);
    }
    return std::to_string(code) + " ('" + chars + "')";
}

std::vector<std::string> pagesToDraw(const std::string& wanted) {
    if (wanted.empty())
        return kPages;
    for (const auto& page : kPages)
        if (lower(page) == lower(wanted))
            return {page};
    throw HostError("there is no page \"" + wanted + "\"; the pages are Front, Behind, Size, Tweak and Settings");
}

std::vector<std::string> extensions(const std::string& format) {
    if (format == "png")
        return {".png"};
    if (format == "svg")
        return {".svg"};
    return {".png", ".svg"};
}

void drawPages(const DialogOptions& options) {
    std::vector<std::string> pages = pagesToDraw(options.page);
    std::vector<UserAction> before;
    for (const auto& line : options.actions)
        before.push_back(UserAction::parse(line));

    std::filesystem::path out = options.out;
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error || !std::filesystem::is_directory(out))
        throw HostError("cannot make the folder \"" + out.string() + "\" for the pictures" +
                        (error ? ": " + error.message() : std::string()));

    simhost::Host host;
    host.loadPlugin(options.plugin.empty() ? defaultPluginPath() : std::filesystem::path(options.plugin));
    if (ASErr code = host.startup(); code != kNoErr)
        throw HostError("the plug-in did not start: Startup answered " + codeText(code));

    std::vector<std::filesystem::path> written;
    std::vector<UserAction> script = before;
    for (const auto& page : pages) {
        script.push_back(UserAction::page(page));
        script.push_back(UserAction::run([&, page](simhost::Dialog& dialog) {
            for (const auto& extension : extensions(options.format)) {
                std::filesystem::path file = out / (page + extension);
                simhost::saveDialogPicture(dialog, file);
                written.push_back(file);
            }
        }));
    }
    // Leave the document and the plug-in's settings as they were.
    script.push_back(UserAction::cancel());
    host.dialogs().script(kSettingsDialogName, std::move(script));

    ASErr result = host.getParameters();
    (void)host.shutdown();

    if (!host.failures().empty()) {
        std::string message = host.failures().front();
        if (host.failures().size() > 1)
            message += " (and " + std::to_string(host.failures().size() - 1) + " more problems)";
        throw HostError(message);
    }
    if (host.dialogs().pendingScripts(kSettingsDialogName) != 0)
        throw HostError("the plug-in did not open its settings dialog (Get Parameters answered " +
                        codeText(result) + ")");
    if (result != kNoErr && result != kCanceledErr)
        throw HostError("Get Parameters failed with " + codeText(result));

    std::cout << "Drew " << written.size() << (written.size() == 1 ? " picture" : " pictures")
              << " of the settings dialog:\n";
    for (const auto& file : written)
        std::cout << "  " << file.string() << "\n";
    std::cout << std::flush;
}

}  // namespace

void addDialogCommand(CLI::App& app) {
    auto options = std::make_shared<DialogOptions>();
    CLI::App* command =
        app.add_subcommand("dialog", "Draw the pages of the plug-in's settings dialog to PNG or SVG.");
    command->add_option("--plugin", options->plugin, "The plug-in file (default: the one beside this program)");
    command->add_option("--out", options->out, "Folder for the pictures (made when missing)")
        ->capture_default_str();
    command->add_option("--format", options->format, "png, svg or both")
        ->check(CLI::IsMember({"png", "svg", "both"}, CLI::ignore_case))
        ->capture_default_str();
    command->add_option("--page", options->page, "Draw only this page: Front, Behind, Size, Tweak or Settings");
    command->add_option("--action", options->actions,
                        "A user action performed before the pages are drawn, as a script line such as "
                        "\"tick 3\" or \"choose 90= Screen\" (may be repeated)");
    command->callback([options] {
        options->format = lower(options->format);
        drawPages(*options);
#ifdef SIMHOST_HAVE_CAIRO
        // Hand back the font caches cairo keeps for the process, so leak checkers see a clean exit.
        cairo_debug_reset_static_data();
#endif
    });
}

}  // namespace tesselwright_cli
