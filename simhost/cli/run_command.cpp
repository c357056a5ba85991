// `tesselwright run`: start-up, the settings dialog operated by the user's actions, "Go", shut-down; then
// the document as SVG and PNG and a JSON report of everything that happened.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "commands.hpp"
#include "core/host.hpp"
#include "core/host_error.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "dialog/user.hpp"
#include "document/document.hpp"
#include "loader/plugin_module.hpp"
#include "render/render.hpp"
#include "report/document_json.hpp"
#include "report/output_files.hpp"
#include "report/parameter_record.hpp"
#include "report/run_report.hpp"

namespace tesselwright_cli {

namespace {

constexpr const char* kSettingsDialog = "Vrom_Tesselwright";

struct RunOptions {
    std::filesystem::path plugin;
    std::string out = "tesselwright-result";
    std::optional<uint64_t> seed;
    std::optional<std::filesystem::path> randomFile;
    std::vector<std::string> assignments;
    std::optional<std::filesystem::path> framesDir;
    int size = 1000;
    std::vector<simhost::UserAction> actions;
};

// Calls `take` with the text of every line of the file that is neither blank nor a comment ("#..."); an
// error it throws gains the file and line number.
template <typename Take>
void forEachLine(const std::filesystem::path& file, const char* what, Take take) {
    const std::string name = std::string(what) + " " + file.string();
    std::error_code statusError;
    const auto status = std::filesystem::status(file, statusError);
    if (statusError)
        throw simhost::HostError("cannot read " + name + ": " + statusError.message());
    // Folders and devices are no scripts: a folder reads as empty, a device may never end.
    if (!std::filesystem::is_regular_file(status))
        throw simhost::HostError("cannot read " + name + ": it is " +
                                 (std::filesystem::is_directory(status) ? "a folder" : "not a plain file"));
    std::ifstream in(file);
    if (!in)
        throw simhost::HostError("cannot read " + name + ": " + std::generic_category().message(errno));
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        // Some editors begin a UTF-8 file with an invisible byte-order mark.
        if (number == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (std::any_of(line.begin(), line.end(), [](char c) { return c == '\0'; }))
            throw simhost::HostError(file.string() + ", line " + std::to_string(number) +
                                     ": the file holds binary data, not lines of text");
        auto begin = line.find_first_not_of(" \t\r");
        if (begin == std::string::npos || line[begin] == '#')
            continue;
        auto end = line.find_last_not_of(" \t\r");
        try {
            take(line.substr(begin, end - begin + 1));
        } catch (const simhost::HostError& error) {
            throw simhost::HostError(file.string() + ", line " + std::to_string(number) + ": " + error.what());
        }
    }
}

std::vector<float> readRandomNumbers(const std::filesystem::path& file) {
    std::vector<float> values;
    forEachLine(file, "the random numbers in", [&](const std::string& text) {
        double value = 0;
        auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || stop != text.data() + text.size() || !(value >= 0.0 && value < 1.0))
            throw simhost::HostError("\"" + text + "\" is not a number in [0, 1)");
        // The host hands out single-precision numbers: one just below 1 stays below 1.
        values.push_back(std::min(static_cast<float>(value), std::nextafter(1.0f, 0.0f)));
    });
    return values;
}

std::vector<simhost::UserAction> readScript(const std::filesystem::path& file) {
    std::vector<simhost::UserAction> actions;
    forEachLine(file, "the script",
                [&](const std::string& text) { actions.push_back(simhost::UserAction::parse(text)); });
    return actions;
}

// Turns the action options into the user's script, in the order they were given.
std::vector<simhost::UserAction> actionsInOrder(CLI::App& command) {
    std::vector<simhost::UserAction> actions;
    std::map<const CLI::Option*, std::size_t> used;
    for (const CLI::Option* option : command.parse_order()) {
        std::size_t occurrence = used[option]++;
        const auto& results = option->results();
        std::string value = occurrence < results.size() ? results[occurrence] : std::string();
        std::string name = option->get_name();
        if (name == "--preset") {
            actions.push_back(simhost::UserAction::choose(95, value));
        } else if (name == "--tumble") {
            actions.push_back(simhost::UserAction::press(81));
        } else if (name == "--shuffle") {
            actions.push_back(simhost::UserAction::press(80));
        } else if (name == "--page") {
            actions.push_back(simhost::UserAction::page(value));
        } else if (name == "--type") {
            actions.push_back(simhost::UserAction::parse("type " + value));
        } else if (name == "--tick") {
            actions.push_back(simhost::UserAction::parse("tick " + value));
        } else if (name == "--untick") {
            actions.push_back(simhost::UserAction::parse("untick " + value));
        } else if (name == "--choose") {
            actions.push_back(simhost::UserAction::parse("choose " + value));
        } else if (name == "--drag") {
            actions.push_back(simhost::UserAction::parse("drag " + value));
        } else if (name == "--move") {
            actions.push_back(simhost::UserAction::parse("move " + value));
        } else if (name == "--ok") {
            actions.push_back(simhost::UserAction::ok());
        } else if (name == "--cancel") {
            actions.push_back(simhost::UserAction::cancel());
        } else if (name == "--script") {
            for (auto& action : readScript(value))
                actions.push_back(std::move(action));
        }
    }
    return actions;
}

// Frames of an earlier run in the same folder would read as this run's; only files named as frames go.
void removeEarlierFrames(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const bool frameName =
            name.size() == 13 && name.starts_with("frame-") &&
            std::all_of(name.begin() + 6, name.begin() + 9, [](char c) { return c >= '0' && c <= '9'; }) &&
            (name.ends_with(".png") || name.ends_with(".svg"));
        std::error_code ignored;
        if (frameName && entry.is_regular_file(ignored))
            std::filesystem::remove(entry.path(), ignored);
    }
}

void runFilter(const RunOptions& options) {
    simhost::Host host;
    uint64_t seed = options.seed.value_or(std::random_device{}());
    host.random().reseed(seed);
    if (options.randomFile)
        host.random().script(readRandomNumbers(*options.randomFile));
    host.loadPlugin(options.plugin);

    const simhost::Document before = host.document();
    simhost::OutputFiles outputs(options.out);
    simhost::render::RenderOptions render;
    render.width = render.height = options.size;

    int frame = 0;
    if (options.framesDir) {
        std::error_code error;
        if (options.framesDir->empty())
            throw simhost::HostError("--frames needs the name of a folder");
        std::filesystem::create_directories(*options.framesDir, error);
        if (error || !std::filesystem::is_directory(*options.framesDir))
            throw simhost::HostError(
                "cannot make the folder " + options.framesDir->string() +
                " for the frames: " + (error ? error.message() : std::string("a file has that name")));
        removeEarlierFrames(*options.framesDir);
        host.dialogs().onAction([&](const simhost::Dialog&, const simhost::UserAction&) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%03d", ++frame);
            auto file = *options.framesDir / name;
#ifdef SIMHOST_HAVE_CAIRO
            auto png = simhost::render::renderPng(host.document(), render);
            simhost::render::writeFile(file.replace_extension(".png"), std::string(png.begin(), png.end()));
#else
            simhost::render::writeFile(file.replace_extension(".svg"),
                                       simhost::render::renderSvg(host.document(), render));
#endif
        });
    }

    ASErr started = host.startup();
    ASErr parameters = kCanceledErr;
    ASErr went = kNoErr;
    bool ran = false;
    if (started == kNoErr) {
        if (!options.assignments.empty()) {
            // A host replaying a recorded action already holds the record: let the plug-in make it with
            // its defaults (the user closes that dialog at once), then set the recorded fields.
            host.dialogs().script(kSettingsDialog, {simhost::UserAction::cancel()});
            host.getParameters();
            if (host.parameters() == nullptr)
                throw simhost::HostError("the plug-in made no parameter record");
            for (const auto& assignment : options.assignments)
                simhost::setParameter(host.parameters(), assignment);
        }
        host.dialogs().script(kSettingsDialog, options.actions);
        parameters = host.getParameters();
        if (parameters == kNoErr) {
            went = host.go();
            ran = true;
        }
    }
    host.shutdown();

    if (!host.failures().empty()) {
        std::string message = host.failures().front();
        for (std::size_t i = 1; i < host.failures().size(); ++i)
            message += "; " + host.failures()[i];
        throw simhost::HostError(message);
    }

    simhost::RunSummary summary{seed, options.randomFile.has_value(), ran, parameters, went};
    nlohmann::json report = simhost::runReport(host, before, summary);
    outputs.write(host.document(), report, render);

    // Say what the pictures hold: a cancelled or empty run still writes the document, unchanged.
    std::string what = "the design";
    if (started != kNoErr)
        what = "the document (the plug-in did not start, so nothing was designed)";
    else if (!ran)
        what = "the document, unchanged (the settings dialog was cancelled, so nothing was designed)";
    else if (host.document().topLevelArt().size() <= before.topLevelArt().size())
        what = "the document (the plug-in made no new art: see the record's values in the report)";
    std::cout << outputs.describe(what);
    if (options.randomFile)
        std::cout << "The host's random numbers came from " << options.randomFile->string() << "\n";
    else if (!options.seed)
        std::cout << "The random seed was " << seed << ": run again with --seed " << seed
                  << " for the same result\n";
    if (started != kNoErr)
        setExitCode(1);
}

}  // namespace

void addRunCommand(CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* run = app.add_subcommand(
        "run",
        "Runs the filter on the built-in sample document: start-up, the settings dialog (OK unless the "
        "actions say otherwise), Go; writes OUT.svg, OUT.png and the report OUT.json.");
    options->plugin = defaultPluginPath();
    run->add_option("--plugin", options->plugin, "The plug-in file (default: the one built beside this program)")
        ->type_name("FILE");
    run->add_option("--out", options->out,
                    "Where to write: OUT.svg, OUT.png and OUT.json (OUT may name a folder on the way, as in "
                    "out/design)")
        ->type_name("OUT")
        ->capture_default_str()
        ->check(CLI::Validator(
            [](const std::string& text) {
                std::filesystem::path out(text);
                if (text.empty() || !out.has_filename() || out.filename() == "." || out.filename() == "..")
                    return "give the files' name without its extension, such as out/design, not \"" + text + "\"";
                return std::string();
            },
            ""));
    auto* seed =
        run->add_option("--seed", options->seed,
                        "Seed of the host's random numbers (a whole number from 0 to 18446744073709551615); the "
                        "same seed gives the same run. Without it a seed is drawn and shown")
            ->type_name("SEED")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    std::uint64_t value = 0;
                    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
                    bool whole = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
                    if (whole && error == std::errc() && end == text.data() + text.size())
                        return std::string();
                    return "the seed must be a whole number from 0 to 18446744073709551615, not \"" + text + "\"";
                },
                ""));
    run->add_option("--random", options->randomFile,
                    "A file of random numbers in [0, 1), one per line, used in order instead of the generator")
        ->type_name("FILE")
        ->excludes(seed);
    run->add_option("--set", options->assignments, "Sets a field of the record before the run (repeatable)")
        ->type_name("FIELD=VALUE");
    run->add_option("--size", options->size, "Width and height of the pictures in pixels, 16 to 8000")
        ->type_name("PIXELS")
        ->check(CLI::Validator(
            [](const std::string& text) {
                int value = 0;
                auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
                if (error == std::errc() && end == text.data() + text.size() && value >= 16 && value <= 8000)
                    return std::string();
                return "the picture size must be a whole number from 16 to 8000, not \"" + text + "\"";
            },
            ""))
        ->capture_default_str();
    run->add_option("--frames", options->framesDir,
                    "Writes the preview after every action into this folder, replacing the frames of an earlier "
                    "run (frames written before a failing action stay, to show how far the run got)")
        ->type_name("DIR");

    auto group = "User actions (performed in the order given; tesselwright dialog --items lists the IDs)";
    run->add_option("--preset")
        ->type_name("NAME")
        ->description("Chooses a preset, e.g. \"Color mix\"")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_flag("--tumble")
        ->description("Presses \"Tumble\"")
        ->group(group)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    run->add_flag("--shuffle")
        ->description("Presses \"Shuffle\"")
        ->group(group)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    run->add_option("--page")
        ->type_name("PAGE")
        ->description("Shows a page: Front, Behind, Size, Tweak or Settings")
        ->check(CLI::Validator(
            [](const std::string& text) {
                for (const char* page : {"Front", "Behind", "Size", "Tweak", "Settings"})
                    if (text == page)
                        return std::string();
                return "there is no page \"" + text + "\"; the pages are Front, Behind, Size, Tweak and Settings";
            },
            ""))
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--type")
        ->type_name("ID=VALUE")
        ->description("Types a value into a spin edit")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--tick")
        ->type_name("ID")
        ->description("Ticks a check box")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--untick")
        ->type_name("ID")
        ->description("Unticks a check box")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--choose")
        ->type_name("ID=TEXT")
        ->description("Chooses a popup entry, e.g. 90=Multiply")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--drag")
        ->type_name("ID=H,V")
        ->description("Drags a drag button to a point of the document view")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_option("--move")
        ->type_name("DX,DY")
        ->description("Moves the dialog")
        ->group(group)
        ->take_all()
        ->expected(1);
    run->add_flag("--ok")
        ->description("Presses OK (the default at the end)")
        ->group(group)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    run->add_flag("--cancel")
        ->description("Presses Cancel")
        ->group(group)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    run->add_option("--script")
        ->type_name("FILE")
        ->description("A file of actions, one per line (e.g. \"press 81\", \"type 10=250\")")
        ->group(group)
        ->take_all()
        ->expected(1);

    run->callback([run, options] {
        options->actions = actionsInOrder(*run);
        runFilter(*options);
    });
}

}  // namespace tesselwright_cli
