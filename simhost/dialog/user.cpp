#include "user.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "core/host_error.hpp"
#include "dialog_toolkit.hpp"

namespace simhost {

namespace {

std::string trim(std::string_view text) {
    std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    std::size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

// Text from a script as a message may show it: control bytes written as \xNN, and cut short when long,
// so that a binary file read as a script gives a readable complaint.
std::string shown(std::string_view text) {
    constexpr std::size_t kLongest = 60;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > kLongest)
        out += "...";
    return out;
}

std::optional<int32_t> parseInt(std::string_view text) {
    std::string digits = trim(text);
    int32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return value;
}

std::optional<double> parseNumber(std::string_view text) {
    std::string digits = trim(text);
    if (digits.empty())
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<uint32_t> parseModifiers(std::string_view text) {
    std::string digits = trim(text);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.erase(0, 2);
        base = 16;
    }
    uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return value;
}

std::optional<ADMPoint> parsePoint(std::string_view text) {
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    auto h = parseInt(text.substr(0, comma));
    auto v = parseInt(text.substr(comma + 1));
    if (!h || !v)
        return std::nullopt;
    return ADMPoint{*h, *v};
}

std::string withoutLeadingSpaces(std::string_view text) {
    std::size_t begin = text.find_first_not_of(' ');
    return begin == std::string_view::npos ? std::string() : std::string(text.substr(begin));
}

[[noreturn]] void refuse(const std::string& what, const Item& item, const std::string& why) {
    throw HostError("cannot " + what + " item " + std::to_string(item.id()) + ": " + why);
}

// The item the user is about to operate, if a person could operate it that way.
Item& operable(int32_t id, const std::string& what, bool kindFits, const char* wantedKind, Item* item) {
    if (item == nullptr)
        throw HostError("cannot " + what + " item " + std::to_string(id) + ": there is no such item");
    if (!kindFits)
        refuse(what, *item, std::string("it is a ") + itemKindWords(item->kind()) + ", not a " + wantedKind);
    if (!item->visible)
        refuse(what, *item, "it is hidden");
    if (!item->enabled)
        refuse(what, *item, "it is disabled");
    return *item;
}

Item& operable(Dialog& dialog, int32_t id, const std::string& what, ItemKind kind) {
    Item* item = dialog.item(id);
    return operable(id, what, item == nullptr || item->kind() == kind, itemKindWords(kind), item);
}

// The page button above a caption: a picture push button whose horizontal extent overlaps the caption's
// and whose bottom edge lies at or above the caption's top; the nearest such button.
Item* pageButtonAbove(const Dialog& dialog, const Item& caption) {
    Item* best = nullptr;
    for (const auto& candidate : dialog.items()) {
        if (candidate->kind() != ItemKind::PicturePushButton)
            continue;
        const ADMRect& b = candidate->bounds;
        bool overlaps = b.left < caption.bounds.right && caption.bounds.left < b.right;
        if (!overlaps || b.bottom > caption.bounds.top)
            continue;
        if (best == nullptr || b.bottom > best->bounds.bottom)
            best = candidate.get();
    }
    return best;
}

Item& pageButton(const Dialog& dialog, const std::string& name) {
    std::string wanted = withoutLeadingSpaces(name);
    for (const auto& item : dialog.items()) {
        if (item->kind() != ItemKind::TextStatic || withoutLeadingSpaces(item->displayText()) != wanted)
            continue;
        if (Item* button = pageButtonAbove(dialog, *item))
            return *button;
    }
    throw HostError("cannot open the page \"" + shown(name) + "\": no page button is captioned so");
}

}  // namespace

UserAction UserAction::press(int32_t item) {
    UserAction action;
    action.kind = Kind::Press;
    action.item = item;
    return action;
}

UserAction UserAction::type(int32_t item, std::string text) {
    UserAction action;
    action.kind = Kind::Type;
    action.item = item;
    action.text = std::move(text);
    return action;
}

UserAction UserAction::tick(int32_t item, bool ticked) {
    UserAction action;
    action.kind = Kind::Tick;
    action.item = item;
    action.number = ticked ? 1 : 0;
    return action;
}

UserAction UserAction::choose(int32_t item, std::string entryText) {
    UserAction action;
    action.kind = Kind::Choose;
    action.item = item;
    action.text = std::move(entryText);
    return action;
}

UserAction UserAction::chooseIndex(int32_t item, int32_t position) {
    UserAction action;
    action.kind = Kind::ChooseIndex;
    action.item = item;
    action.number = position;
    return action;
}

UserAction UserAction::drag(int32_t item, ADMPoint viewPoint, uint32_t modifiers) {
    UserAction action;
    action.kind = Kind::Drag;
    action.item = item;
    action.point = viewPoint;
    action.modifiers = modifiers;
    return action;
}

UserAction UserAction::move(int32_t dx, int32_t dy) {
    UserAction action;
    action.kind = Kind::Move;
    action.point = {dx, dy};
    return action;
}

UserAction UserAction::page(std::string name) {
    UserAction action;
    action.kind = Kind::Page;
    action.text = std::move(name);
    return action;
}

UserAction UserAction::run(std::function<void(Dialog&)> code) {
    UserAction action;
    action.kind = Kind::Run;
    action.code = std::move(code);
    return action;
}

std::string UserAction::describe() const {
    std::ostringstream out;
    switch (kind) {
        case Kind::Press:
            if (item == kADMDefaultItemID)
                return "ok";
            if (item == kADMCancelItemID)
                return "cancel";
            out << "press " << item;
            break;
        case Kind::Type:
            out << "type " << item << "=" << text;
            break;
        case Kind::Tick:
            out << (number != 0 ? "tick " : "untick ") << item;
            break;
        case Kind::Choose:
            out << "choose " << item << "=" << text;
            break;
        case Kind::ChooseIndex:
            out << "choose " << item << "#" << number;
            break;
        case Kind::Drag:
            out << "drag " << item << "=" << point.h << "," << point.v;
            if (modifiers != kADMButtonDownModifier)
                out << " modifiers=0x" << std::hex << modifiers;
            break;
        case Kind::Move:
            out << "move " << point.h << "," << point.v;
            break;
        case Kind::Page:
            out << "page " << text;
            break;
        case Kind::Run:
            return "run (code)";
    }
    return out.str();
}

UserAction UserAction::parse(std::string_view line) {
    auto fail = [&](const std::string& why) -> HostError {
        return HostError("cannot read the user action \"" + shown(trim(line)) + "\": " + why);
    };
    // Leading blanks go; the text after '=' is kept as written (popup entries begin with a space), but
    // a line ending is not part of it.
    std::string_view rest = line;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n'))
        rest.remove_suffix(1);
    std::size_t space = rest.find(' ');
    std::string verb(rest.substr(0, space));
    std::string_view argument = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);

    auto itemNumber = [&](std::string_view text) {
        auto id = parseInt(text);
        if (!id)
            throw fail("\"" + trim(text) + "\" is not an item number");
        return *id;
    };
    auto split = [&](char separator, const char* expected) {
        std::size_t at = argument.find(separator);
        if (at == std::string_view::npos)
            throw fail(std::string("expected ") + expected);
        return std::pair{argument.substr(0, at), argument.substr(at + 1)};
    };

    if (verb == "ok" || verb == "cancel") {
        if (!trim(argument).empty())
            throw fail("\"" + verb + "\" takes nothing after it");
        return verb == "ok" ? ok() : cancel();
    }
    if (verb == "press")
        return press(itemNumber(argument));
    if (verb == "tick" || verb == "untick")
        return tick(itemNumber(argument), verb == "tick");
    if (verb == "type") {
        auto [id, text] = split('=', "ITEM=NUMBER, such as \"type 10=250\"");
        if (!parseNumber(text))
            throw fail("\"" + trim(text) + "\" is not a number");
        return type(itemNumber(id), trim(text));
    }
    if (verb == "choose") {
        std::size_t equals = argument.find('=');
        std::size_t hash = argument.find('#');
        if (hash != std::string_view::npos && (equals == std::string_view::npos || hash < equals)) {
            auto position = parseInt(argument.substr(hash + 1));
            if (!position)
                throw fail("\"" + trim(argument.substr(hash + 1)) + "\" is not an entry position");
            return chooseIndex(itemNumber(argument.substr(0, hash)), *position);
        }
        auto [id, text] = split('=', "ITEM=ENTRY TEXT or ITEM#POSITION, such as \"choose 90= Multiply\"");
        if (trim(text).empty())
            throw fail("no entry text after '='");
        return choose(itemNumber(id), std::string(text));
    }
    if (verb == "drag") {
        auto [id, where] = split('=', "ITEM=H,V, such as \"drag 164=120,80\"");
        std::string_view pointText = where;
        uint32_t mods = kADMButtonDownModifier;
        std::string whereText = trim(where);
        std::size_t blank = whereText.find(' ');
        if (blank != std::string::npos) {
            std::string option = trim(std::string_view(whereText).substr(blank + 1));
            const std::string prefix = "modifiers=";
            if (option.rfind(prefix, 0) != 0)
                throw fail("expected \"modifiers=BITS\" after the point");
            auto bits = parseModifiers(std::string_view(option).substr(prefix.size()));
            if (!bits)
                throw fail("\"" + option.substr(prefix.size()) + "\" is not a number of modifier bits");
            mods = *bits;
            pointText = std::string_view(whereText).substr(0, blank);
        }
        auto point = parsePoint(pointText);
        if (!point)
            throw fail("\"" + trim(pointText) + "\" is not a point H,V");
        return drag(itemNumber(id), *point, mods);
    }
    if (verb == "move") {
        auto point = parsePoint(argument);
        if (!point)
            throw fail("expected DX,DY, such as \"move 30,20\"");
        return move(point->h, point->v);
    }
    if (verb == "page") {
        std::string name = trim(argument);
        if (name.empty())
            throw fail("no page name");
        return page(name);
    }
    if (verb.empty())
        throw fail("the line is empty");
    throw fail("\"" + shown(verb) +
               "\" is not an action (press, ok, cancel, type, tick, untick, choose, drag, move, page)");
}

void UserAction::perform(Dialog& dialog, DialogToolkit& toolkit) const {
    switch (kind) {
        case Kind::Press: {
            Item* target = dialog.item(item);
            Item& button =
                operable(item, "press", target == nullptr || target->isPushButton(), "push button", target);
            toolkit.notify(button, kADMUserChangedNotifier);
            return;
        }
        case Kind::Type: {
            Item& field = operable(dialog, item, "type into", ItemKind::SpinEdit);
            auto typed = parseNumber(text);
            if (!typed)
                refuse("type into", field, "\"" + text + "\" is not a number");
            double factor = std::pow(10.0, std::clamp(field.precision.value_or(0), 0, 10));
            field.setValue(std::round(*typed * factor) / factor);
            toolkit.notify(field, kADMUserChangedNotifier);
            return;
        }
        case Kind::Tick: {
            Item& box = operable(dialog, item, number != 0 ? "tick" : "untick", ItemKind::TextCheckBox);
            if (box.booleanValue() == (number != 0))
                return;
            box.setValue(number != 0 ? 1 : 0);
            toolkit.notify(box, kADMUserChangedNotifier);
            return;
        }
        case Kind::Choose:
        case Kind::ChooseIndex: {
            Item& popup = operable(dialog, item, "choose from", ItemKind::PopupList);
            ListEntry* entry = nullptr;
            if (kind == Kind::ChooseIndex) {
                entry = popup.list()->entry(number);
                if (entry == nullptr)
                    refuse("choose from", popup,
                           "it has no entry " + std::to_string(number) + " (it has " +
                               std::to_string(popup.list()->size()) + ")");
            } else {
                for (const auto& candidate : popup.list()->entries())
                    if (candidate->text == text) {
                        entry = candidate.get();
                        break;
                    }
                for (const auto& candidate : popup.list()->entries())
                    if (entry == nullptr && withoutLeadingSpaces(candidate->text) == withoutLeadingSpaces(text))
                        entry = candidate.get();
                if (entry == nullptr) {
                    std::string entries;
                    for (const auto& candidate : popup.list()->entries())
                        entries += (entries.empty() ? "\"" : ", \"") + candidate->text + "\"";
                    refuse("choose from", popup,
                           "it has no entry \"" + shown(text) + "\"" +
                               (entries.empty() ? std::string() : "; its entries are " + entries));
                }
            }
            popup.list()->select(*entry, true);
            toolkit.notify(popup, kADMUserChangedNotifier);
            return;
        }
        case Kind::Drag: {
            // Only an item with a tracker follows the mouse; pressing elsewhere and moving does nothing.
            Item* target = dialog.item(item);
            Item& dragged =
                operable(item, "drag", target == nullptr || target->trackProc != nullptr, "drag button", target);
            toolkit.track(dragged, TrackEvent{modifiers, point});
            return;
        }
        case Kind::Move:
            dialog.move(point.h, point.v);
            return;
        case Kind::Page: {
            Item& button = pageButton(dialog, text);
            operable(button.id(), "press", true, "", &button);
            toolkit.notify(button, kADMUserChangedNotifier);
            return;
        }
        case Kind::Run:
            if (code)
                code(dialog);
            return;
    }
}

}  // namespace simhost
