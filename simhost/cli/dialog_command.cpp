// `tesselwright dialog`: opens the settings dialog in the stand-in host and draws its pages, as the user
// would see them, to PNG or SVG files.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
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
    bool items = false;
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

// The user's actions before the pages are drawn. The command closes the dialog itself once it has drawn
// them, so an action may not close it first.
std::vector<UserAction> actionsBeforeDrawing(const std::vector<std::string>& lines) {
    std::vector<UserAction> actions;
    for (const auto& line : lines) {
        UserAction action = UserAction::parse(line);
        if (action.kind == UserAction::Kind::Press &&
            (action.item == kADMDefaultItemID || action.item == kADMCancelItemID))
            throw HostError("--action \"" + line +
                            "\" would close the dialog before its pages are drawn; tesselwright dialog closes it "
                            "itself when it is done");
        actions.push_back(std::move(action));
    }
    return actions;
}

// Opens the settings dialog, performs the user's actions, shows each page in turn and calls `atPage` there,
// then cancels: the document and the plug-in's settings stay as they were. Throws HostError when the
// plug-in does not start, does not open the dialog, or anything fails on the way.
void visitPages(const DialogOptions& options, std::vector<UserAction> script,
                const std::vector<std::string>& pages,
                const std::function<void(const std::string& page, simhost::Dialog& dialog)>& atPage) {
    simhost::Host host;
    host.loadPlugin(options.plugin.empty() ? defaultPluginPath() : std::filesystem::path(options.plugin));
    if (ASErr code = host.startup(); code != kNoErr)
        throw HostError("the plug-in did not start: Startup answered " + codeText(code));

    for (const auto& page : pages) {
        script.push_back(UserAction::page(page));
        script.push_back(UserAction::run([&atPage, page](simhost::Dialog& dialog) { atPage(page, dialog); }));
    }
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
}

void drawPages(const DialogOptions& options) {
    std::vector<std::string> pages = pagesToDraw(options.page);
    std::vector<UserAction> before = actionsBeforeDrawing(options.actions);

    std::filesystem::path out = options.out;
    std::error_code error;
    const bool outExisted = std::filesystem::exists(out, error);
    std::filesystem::create_directories(out, error);
    if (error || !std::filesystem::is_directory(out))
        throw HostError("cannot make the folder \"" + out.string() + "\" for the pictures" +
                        (error ? ": " + error.message() : std::string()));
    // A failed request leaves no folder it made and left empty.
    struct FolderGuard {
        std::filesystem::path folder;
        bool keep = false;
        ~FolderGuard() {
            std::error_code ignored;
            if (!keep && std::filesystem::is_empty(folder, ignored))
                std::filesystem::remove(folder, ignored);
        }
    } guard{out, outExisted};

    std::vector<std::filesystem::path> written;
    visitPages(options, std::move(before), pages, [&](const std::string& page, simhost::Dialog& dialog) {
        for (const auto& extension : extensions(options.format)) {
            std::filesystem::path file = out / (page + extension);
            simhost::saveDialogPicture(dialog, file);
            written.push_back(file);
        }
    });

    guard.keep = true;
    std::cout << "Drew " << written.size() << (written.size() == 1 ? " picture" : " pictures")
              << " of the settings dialog:\n";
    for (const auto& file : written)
        std::cout << "  " << file.string() << "\n";
    std::cout << std::flush;
}

// ---- the items a user can operate, for the action options' ID arguments

bool operable(const simhost::Item& item) {
    return item.kind() != simhost::ItemKind::TextStatic && item.kind() != simhost::ItemKind::Frame;
}

bool overlap(int32_t lowA, int32_t highA, int32_t lowB, int32_t highB) {
    return lowA < highB && lowB < highA;
}

// What a person reads as the item's name: a check box's or text button's own caption; for a spin edit, the
// label at the start of its row ("second" when another edit stands between them); for a page button, the
// caption below it; for a drag button, the edit it drags, at its left. A popup shows its chosen entry.
std::string labelOf(const simhost::Dialog& dialog, const simhost::Item& item) {
    using simhost::ItemKind;
    if (item.kind() == ItemKind::TextCheckBox || item.kind() == ItemKind::TextPushButton)
        return item.displayText();
    const ADMRect& a = item.bounds;
    auto sameRow = [&](const simhost::Item& other) {
        return other.visible && overlap(a.top, a.bottom, other.bounds.top, other.bounds.bottom);
    };
    if (item.kind() == ItemKind::PicturePushButton) {
        for (const auto& caption : dialog.items())
            if (caption->kind() == ItemKind::TextStatic && caption->visible &&
                overlap(a.left, a.right, caption->bounds.left, caption->bounds.right) &&
                caption->bounds.top >= a.bottom && caption->bounds.top - a.bottom < 12)
                return caption->displayText();
        const simhost::Item* edit = nullptr;
        for (const auto& other : dialog.items())
            if (other->isSpinEdit() && sameRow(*other) && other->bounds.right <= a.left &&
                (edit == nullptr || other->bounds.right > edit->bounds.right))
                edit = other.get();
        return edit != nullptr ? "drags item " + std::to_string(edit->id()) : std::string();
    }
    if (!item.isSpinEdit())
        return {};
    const simhost::Item* label = nullptr;
    for (const auto& other : dialog.items())
        if (other->kind() == ItemKind::TextStatic && sameRow(*other) && other->bounds.right <= a.left &&
            (label == nullptr || other->bounds.right > label->bounds.right))
            label = other.get();
    if (label == nullptr)
        return {};
    int editsBetween = 0;
    for (const auto& other : dialog.items()) {
        if (!sameRow(*other) || other->bounds.left < label->bounds.right || other->bounds.right > a.left)
            continue;
        if (other->isSpinEdit())
            ++editsBetween;
        else if (other->kind() != ItemKind::PicturePushButton)
            return {};  // something else stands between: the label is not this edit's
    }
    return label->displayText() + (editsBetween == 1 ? ", second" : editsBetween > 1 ? ", further" : "");
}

std::string describeItem(const simhost::Dialog& dialog, const simhost::Item& item) {
    char line[160];
    std::snprintf(line, sizeof line, "  %5d  %-20s %s", static_cast<int>(item.id()), itemKindWords(item.kind()),
                  labelOf(dialog, item).c_str());
    std::string text = line;
    if (item.isSpinEdit()) {
        text += "  (now " + item.displayText();
        if (item.minValue() && item.maxValue()) {
            char range[64];
            std::snprintf(range, sizeof range, "; %g to %g", *item.minValue(), *item.maxValue());
            text += range;
        }
        text += ")";
    } else if (item.kind() == simhost::ItemKind::PopupList && item.list() != nullptr) {
        text += "  (now \"" + item.displayText() + "\"; " + std::to_string(item.list()->size()) + " entries)";
    } else if (item.kind() == simhost::ItemKind::TextCheckBox) {
        text += item.booleanValue() ? "  (ticked)" : "  (not ticked)";
    }
    if (!item.enabled)
        text += "  [disabled now]";
    return text;
}

// Opens the dialog and, page by page, lists the items a user can operate there; items on every page
// come first.
void listItems(const DialogOptions& options) {
    // Per page, its operable items that a person sees: id and line.
    struct PageItems {
        std::string page;
        std::vector<std::pair<int32_t, std::string>> items;
    };
    std::vector<PageItems> shown;
    visitPages(options, actionsBeforeDrawing(options.actions), pagesToDraw(options.page),
               [&](const std::string& page, simhost::Dialog& dialog) {
                   PageItems& listed = shown.emplace_back(PageItems{page, {}});
                   for (const auto& item : dialog.items())
                       if (item->visible && operable(*item))
                           listed.items.emplace_back(item->id(), describeItem(dialog, *item));
               });

    // An item on every page is listed once, under its own heading.
    auto onEveryPage = [&](int32_t id) {
        return std::all_of(shown.begin(), shown.end(), [&](const PageItems& page) {
            return std::any_of(page.items.begin(), page.items.end(),
                               [&](const auto& item) { return item.first == id; });
        });
    };
    std::cout << "Items of the settings dialog a user can operate (the ID of --type, --tick, --choose, --drag "
                 "and script lines):\n";
    const bool allPages = shown.size() > 1;
    if (allPages) {
        std::cout << "\nOn every page:\n";
        for (const auto& [id, line] : shown.front().items)
            if (onEveryPage(id))
                std::cout << line << "\n";
    }
    for (const PageItems& page : shown) {
        std::cout << "\nOn the " << page.page << " page (--page " << page.page << "):\n";
        for (const auto& [id, line] : page.items)
            if (!allPages || !onEveryPage(id))
                std::cout << line << "\n";
    }
    std::cout << std::flush;
}

}  // namespace

void addDialogCommand(CLI::App& app) {
    auto options = std::make_shared<DialogOptions>();
    CLI::App* command =
        app.add_subcommand("dialog", "Draw the pages of the plug-in's settings dialog to PNG or SVG.");
    command->add_option("--plugin", options->plugin, "The plug-in file (default: the one beside this program)")
        ->type_name("FILE");
    command->add_option("--out", options->out, "Folder for the pictures (made when missing)")
        ->type_name("DIR")
        ->capture_default_str();
    command->add_option("--format", options->format, "png, svg or both")
        ->check(CLI::IsMember({"png", "svg", "both"}, CLI::ignore_case))
        ->capture_default_str();
    command->add_option("--page", options->page, "Draw only this page: Front, Behind, Size, Tweak or Settings")
        ->type_name("PAGE");
    command
        ->add_option("--action", options->actions,
                     "A user action performed before the pages are drawn, as a script line such as "
                     "\"tick 3\" or \"choose 90= Screen\" (may be repeated)")
        ->type_name("LINE");
    command->add_flag("--items", options->items,
                      "List the items a user can operate, page by page (or on --page only), with their IDs, "
                      "instead of drawing");
    command->callback([options] {
        options->format = lower(options->format);
        if (options->items)
            listItems(*options);
        else
            drawPages(*options);
#ifdef SIMHOST_HAVE_CAIRO
        // Hand back the font caches cairo keeps for the process, so leak checkers see a clean exit.
        cairo_debug_reset_static_data();
#endif
    });
}

}  // namespace tesselwright_cli
