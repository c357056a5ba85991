#include "dialog_toolkit.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <limits>

#include "core/host.hpp"
#include "core/host_error.hpp"
#include "loader/plugin_module.hpp"
#include "resources/resource_set.hpp"

namespace simhost {

namespace {

struct KindName {
    ItemKind kind;
    const char* type;
    const char* words;
};

constexpr KindName kKindNames[] = {
    {ItemKind::SpinEdit, kADMSpinEditType, "spin edit"},
    {ItemKind::TextStatic, kADMTextStaticType, "static text"},
    {ItemKind::PopupList, kADMPopupListType, "popup list"},
    {ItemKind::PicturePushButton, kADMPicturePushButtonType, "picture button"},
    {ItemKind::TextPushButton, kADMTextPushButtonType, "push button"},
    {ItemKind::TextCheckBox, kADMTextCheckBoxType, "check box"},
    {ItemKind::Frame, "frame", "frame"},
};

// Window class and style bits of a template control, as Windows reads them.
constexpr uint32_t kButtonTypeMask = 0x0F;
constexpr uint32_t kCheckBoxStyle = 0x02;      // BS_CHECKBOX
constexpr uint32_t kAutoCheckBoxStyle = 0x03;  // BS_AUTOCHECKBOX
constexpr uint32_t kStaticTypeMask = 0x1F;
constexpr uint32_t kBlackFrameStyle = 0x07;  // SS_BLACKFRAME
constexpr uint32_t kGrayFrameStyle = 0x08;
constexpr uint32_t kWhiteFrameStyle = 0x09;
constexpr uint32_t kEtchedFrameStyle = 0x12;
constexpr uint32_t kVisibleStyle = 0x10000000;   // WS_VISIBLE
constexpr uint32_t kDisabledStyle = 0x08000000;  // WS_DISABLED

ItemKind kindOfControl(const DialogItemTemplate& control) {
    std::string windowClass = control.windowClass;
    std::transform(windowClass.begin(), windowClass.end(), windowClass.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (windowClass == "BUTTON" || windowClass == "#0X0080") {
        uint32_t type = control.style & kButtonTypeMask;
        return type == kCheckBoxStyle || type == kAutoCheckBoxStyle ? ItemKind::TextCheckBox
                                                                    : ItemKind::TextPushButton;
    }
    if (windowClass == "EDIT" || windowClass == "#0X0081")
        return ItemKind::SpinEdit;
    if (windowClass == "COMBOBOX" || windowClass == "#0X0085" || windowClass == "LISTBOX" ||
        windowClass == "#0X0083")
        return ItemKind::PopupList;
    uint32_t type = control.style & kStaticTypeMask;
    if (type == kBlackFrameStyle || type == kGrayFrameStyle || type == kWhiteFrameStyle ||
        type == kEtchedFrameStyle)
        return ItemKind::Frame;
    return ItemKind::TextStatic;
}

// Dialog units of the 8 point MS Sans Serif font: 4 horizontal units are 6 pixels, 8 vertical units 13.
int32_t horizontalPixels(int32_t units) {
    return units * 6 / 4;
}
int32_t verticalPixels(int32_t units) {
    return units * 13 / 8;
}

std::string quoted(const char* text) {
    return text == nullptr ? std::string("null") : "\"" + std::string(text) + "\"";
}

}  // namespace

const char* itemTypeName(ItemKind kind) {
    for (const auto& entry : kKindNames)
        if (entry.kind == kind)
            return entry.type;
    return "";
}

std::optional<ItemKind> itemKindFromType(std::string_view typeName) {
    for (const auto& entry : kKindNames)
        if (entry.kind != ItemKind::Frame && typeName == entry.type)
            return entry.kind;
    return std::nullopt;
}

const char* itemKindWords(ItemKind kind) {
    for (const auto& entry : kKindNames)
        if (entry.kind == kind)
            return entry.words;
    return "item";
}

// ---- popup lists

ListEntry* ItemList::insert(int32_t index) {
    if (index < 0 || index > size())
        return nullptr;
    auto it = entries_.insert(entries_.begin() + index, std::make_unique<ListEntry>(*this));
    return it->get();
}

ListEntry* ItemList::entry(int32_t index) const {
    return index >= 0 && index < size() ? entries_[static_cast<std::size_t>(index)].get() : nullptr;
}

ListEntry* ItemList::active() const {
    for (const auto& entry : entries_)
        if (entry->selected)
            return entry.get();
    return nullptr;
}

int32_t ItemList::activeIndex() const {
    for (int32_t i = 0; i < size(); ++i)
        if (entries_[static_cast<std::size_t>(i)]->selected)
            return i;
    return -1;
}

void ItemList::select(ListEntry& chosen, bool select) {
    if (select)
        for (auto& entry : entries_)
            entry->selected = false;
    chosen.selected = select;
}

bool ItemList::owns(const ListEntry* entry) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.get() == entry; });
}

// ---- items

Item::Item(Dialog& dialog, int32_t id, ItemKind kind, ADMRect itemBounds)
    : bounds(itemBounds), dialog_(&dialog), id_(id), kind_(kind) {
    if (kind == ItemKind::PopupList)
        list_ = std::make_unique<ItemList>(*this);
}

double Item::clamped(double value) const {
    if (!isSpinEdit())
        return value;
    if (max_ && value > *max_)
        value = *max_;
    if (min_ && value < *min_)
        value = *min_;
    return value;
}

void Item::setValue(double value) {
    if (kind_ == ItemKind::TextCheckBox)
        value = value != 0.0 ? 1.0 : 0.0;
    value_ = clamped(value);
}

int32_t Item::intValue() const {
    double rounded = std::round(value_);
    if (rounded >= 2147483647.0)
        return INT32_MAX;
    if (rounded <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(rounded);
}

void Item::setMin(double minimum) {
    min_ = minimum;
    value_ = clamped(value_);
}

void Item::setMax(double maximum) {
    max_ = maximum;
    value_ = clamped(value_);
}

void Item::setText(std::string text) {
    if (isSpinEdit()) {
        char* end = nullptr;
        double number = std::strtod(text.c_str(), &end);
        if (end != text.c_str() && std::isfinite(number))
            setValue(number);
    }
    text_ = std::move(text);
}

std::string Item::displayText() const {
    if (isSpinEdit()) {
        int decimals = std::clamp(precision.value_or(0), 0, 10);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value_);
        std::string shown = buffer;
        // A value that rounds to zero reads "0.00", never "-0.00".
        if (shown.front() == '-' && shown.find_first_not_of("-0.") == std::string::npos)
            shown.erase(0, 1);
        return shown;
    }
    if (list_) {
        const ListEntry* chosen = list_->active();
        return chosen ? chosen->text : std::string();
    }
    std::string shown;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == '&' && i + 1 < text_.size())
            ++i;
        else if (text_[i] == '&')
            continue;
        shown += text_[i];
    }
    return shown;
}

// ---- dialogs

Dialog::Dialog(std::string name, int32_t resourceId, ADMRect bounds, ADMUserData userData)
    : name_(std::move(name)), resourceId_(resourceId), bounds_(bounds), userData_(userData) {}

void Dialog::resize(int32_t width, int32_t height) {
    bounds_.right = bounds_.left + width;
    bounds_.bottom = bounds_.top + height;
}

void Dialog::move(int32_t dx, int32_t dy) {
    // A window stops at the end of the coordinate range rather than wrapping round to the other side.
    auto shifted = [](int32_t& low, int32_t& high, int32_t by) {
        const std::int64_t size = std::int64_t{high} - low;
        const std::int64_t lowest = std::numeric_limits<int32_t>::min();
        const std::int64_t highest = std::numeric_limits<int32_t>::max() - std::max<std::int64_t>(size, 0);
        const std::int64_t to = std::clamp(std::int64_t{low} + by, lowest, std::max(lowest, highest));
        low = static_cast<int32_t>(to);
        high =
            static_cast<int32_t>(std::clamp(to + size, lowest, std::int64_t{std::numeric_limits<int32_t>::max()}));
    };
    shifted(bounds_.left, bounds_.right, dx);
    shifted(bounds_.top, bounds_.bottom, dy);
}

Item& Dialog::createItem(int32_t id, ItemKind kind, ADMRect itemBounds) {
    if (id != -1 && item(id) != nullptr)
        throw HostError("the dialog \"" + name_ + "\" already has an item " + std::to_string(id));
    items_.push_back(std::make_unique<Item>(*this, id, kind, itemBounds));
    itemSet_.insert(items_.back().get());
    return *items_.back();
}

Item* Dialog::item(int32_t id) const {
    for (const auto& item : items_)
        if (item->id() == id)
            return item.get();
    return nullptr;
}

Item& Dialog::at(int32_t id) const {
    if (Item* found = item(id))
        return *found;
    throw HostError("the dialog \"" + name_ + "\" has no item " + std::to_string(id));
}

bool Dialog::ownsList(const ItemList* list) const {
    return std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i->list() == list; }) &&
           list != nullptr;
}

bool Dialog::ownsEntry(const ListEntry* entry) const {
    return std::any_of(items_.begin(), items_.end(),
                       [&](const auto& i) { return i->list() != nullptr && i->list()->owns(entry); });
}

// ---- the toolkit

DialogToolkit::DialogToolkit() = default;
DialogToolkit::~DialogToolkit() = default;

void DialogToolkit::script(std::string dialogName, std::vector<UserAction> actions) {
    scripts_[std::move(dialogName)].push_back(std::move(actions));
}

std::size_t DialogToolkit::pendingScripts(const std::string& dialogName) const {
    auto it = scripts_.find(dialogName);
    return it == scripts_.end() ? 0 : it->second.size();
}

void DialogToolkit::provideTemplate(DialogTemplate dialogTemplate) {
    templates_.push_back(std::move(dialogTemplate));
}

const DialogTemplate* DialogToolkit::findTemplate(int32_t id) const {
    Host& host = Host::current();
    if (host.pluginLoaded())
        if (const DialogTemplate* found = host.plugin().resources().dialog(id))
            return found;
    for (const auto& provided : templates_)
        if (provided.resourceId == id)
            return &provided;
    return nullptr;
}

Dialog& DialogToolkit::openDialog(std::string name, ADMRect bounds, ADMUserData data) {
    dialogs_.push_back(std::make_unique<Dialog>(std::move(name), 0, bounds, data));
    open_.push_back(dialogs_.back().get());
    return *dialogs_.back();
}

void DialogToolkit::close(Dialog& dialog, int32_t result) {
    dialog.close(result);
    std::erase(open_, &dialog);
    // Ended dialogs stay in memory for a while, so a stale handle never aliases a new dialog's and tests
    // can look at what a run left; a long session keeps only the latest of them.
    std::size_t ended = dialogs_.size() - open_.size();
    for (auto it = dialogs_.begin(); ended > kKeptEndedDialogs && it != dialogs_.end();) {
        if ((*it)->open()) {
            ++it;
        } else {
            it = dialogs_.erase(it);
            --ended;
        }
    }
}

std::vector<Dialog*> DialogToolkit::openDialogs() const {
    return open_;
}

Dialog* DialogToolkit::innermost() const {
    return open_.empty() ? nullptr : open_.back();
}

Dialog* DialogToolkit::last(const std::string& name) const {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->name() == name)
            return it->get();
    return nullptr;
}

Dialog* DialogToolkit::findDialog(ADMDialogRef ref) const {
    for (Dialog* dialog : open_)
        if (dialog->ref() == ref)
            return dialog;
    return nullptr;
}

Item* DialogToolkit::findItem(ADMItemRef ref) const {
    const Item* wanted = reinterpret_cast<const Item*>(ref);
    for (Dialog* dialog : open_)
        if (dialog->owns(wanted))
            return const_cast<Item*>(wanted);
    return nullptr;
}

ItemList* DialogToolkit::findList(ADMListRef ref) const {
    const ItemList* wanted = reinterpret_cast<const ItemList*>(ref);
    for (Dialog* dialog : open_)
        if (dialog->ownsList(wanted))
            return const_cast<ItemList*>(wanted);
    return nullptr;
}

ListEntry* DialogToolkit::findEntry(ADMEntryRef ref) const {
    const ListEntry* wanted = reinterpret_cast<const ListEntry*>(ref);
    for (Dialog* dialog : open_)
        if (dialog->ownsEntry(wanted))
            return const_cast<ListEntry*>(wanted);
    return nullptr;
}

const TrackEvent* DialogToolkit::findTracker(ADMTrackerRef ref) const {
    for (const TrackEvent* event : trackers_)
        if (reinterpret_cast<ADMTrackerRef>(const_cast<TrackEvent*>(event)) == ref)
            return event;
    return nullptr;
}

const std::string* DialogToolkit::findNotifier(ADMNotifierRef ref) const {
    for (const std::string* type : notifiers_)
        if (reinterpret_cast<ADMNotifierRef>(const_cast<std::string*>(type)) == ref)
            return type;
    return nullptr;
}

void DialogToolkit::notify(Item& item, const std::string& notifierType) {
    if (item.notifyProc == nullptr) {
        defaultNotify(item);
        return;
    }
    const std::string notifier = notifierType;
    notifiers_.push_back(&notifier);
    ADMNotifierRef ref = reinterpret_cast<ADMNotifierRef>(const_cast<std::string*>(&notifier));
    // What a notify procedure returns means nothing to the toolkit.
    (void)item.notifyProc(item.ref(), ref);
    std::erase(notifiers_, &notifier);
}

void DialogToolkit::defaultNotify(Item& item) {
    if (item.isPushButton() && (item.id() == kADMDefaultItemID || item.id() == kADMCancelItemID))
        item.dialog().end(item.id());
}

bool DialogToolkit::track(Item& item, TrackEvent event) {
    if (item.trackProc == nullptr)
        return defaultTrack(item, event);
    trackers_.push_back(&event);
    ASBoolean handled = item.trackProc(item.ref(), reinterpret_cast<ADMTrackerRef>(&event));
    std::erase(trackers_, &event);
    return handled != 0;
}

// A press needs the mouse button to come up again over the item, which a single tracking event never
// shows: the standard tracking takes the event (a button with the mouse down on it) without notifying.
bool DialogToolkit::defaultTrack(Item& item, const TrackEvent& event) const {
    return item.isPushButton() && item.enabled && (event.modifiers & kADMButtonDownModifier) != 0;
}

void DialogToolkit::actionDone(const Dialog& dialog, const UserAction& action) {
    if (onAction_)
        onAction_(dialog, action);
}

Dialog& DialogToolkit::build(const DialogTemplate& dialogTemplate, std::string name, ADMUserData data) {
    ADMRect bounds{kDefaultLeft, kDefaultTop, kDefaultLeft + horizontalPixels(dialogTemplate.width),
                   kDefaultTop + verticalPixels(dialogTemplate.height)};
    dialogs_.push_back(std::make_unique<Dialog>(std::move(name), dialogTemplate.resourceId, bounds, data));
    Dialog& dialog = *dialogs_.back();
    dialog.title = dialogTemplate.title;
    for (const auto& control : dialogTemplate.items) {
        ADMRect itemBounds{horizontalPixels(control.x), verticalPixels(control.y),
                           horizontalPixels(control.x + control.width),
                           verticalPixels(control.y + control.height)};
        ItemKind kind = kindOfControl(control);
        // Template ids are unique in practice; a repeated one keeps the first item reachable by id.
        int32_t id = control.id != -1 && dialog.item(control.id) != nullptr ? -1 : control.id;
        Item& item = dialog.createItem(id, kind, itemBounds);
        item.windowStyle = control.style;
        item.visible = (control.style & kVisibleStyle) != 0;
        item.enabled = (control.style & kDisabledStyle) == 0;
        if (kind != ItemKind::Frame)
            item.setText(control.text);
    }
    open_.push_back(&dialog);
    return dialog;
}

int32_t DialogToolkit::modal(SPPluginRef plugin, const char* name, int32_t dialogId, int32_t /*style*/,
                             ADMDialogInitProc initProc, ADMUserData data) noexcept {
    Host* host = nullptr;
    try {
        host = &Host::current();
        if (host->pluginLoaded() && plugin != host->pluginRef())
            host->ledger().violation("ADMDialogSuite.Modal: foreign plug-in reference");
        std::string dialogName = name != nullptr ? name : "";
        const DialogTemplate* dialogTemplate = findTemplate(dialogId);
        if (dialogTemplate == nullptr) {
            host->fail("the dialog " + quoted(name) + " cannot open: the plug-in has no dialog template " +
                       std::to_string(dialogId));
            return -1;
        }
        Dialog& dialog = build(*dialogTemplate, dialogName, data);
        return runModal(dialog, initProc);
    } catch (const std::exception& error) {
        if (host != nullptr)
            host->fail(std::string("the modal dialog ") + quoted(name) + " failed: " + error.what());
    } catch (...) {
        if (host != nullptr)
            host->fail(std::string("the modal dialog ") + quoted(name) + " failed");
    }
    return -1;
}

int32_t DialogToolkit::runModal(Dialog& dialog, ADMDialogInitProc initProc) {
    Host& host = Host::current();
    std::vector<UserAction> actions;
    auto queued = scripts_.find(dialog.name());
    if (queued != scripts_.end() && !queued->second.empty()) {
        actions = std::move(queued->second.front());
        queued->second.pop_front();
    }

    try {
        if (initProc != nullptr)
            (void)initProc(dialog.ref());
        if (onOpen_)
            onOpen_(dialog);
    } catch (const std::exception& error) {
        host.fail("the dialog \"" + dialog.name() + "\" could not open: " + error.what());
        dialog.end(kADMCancelItemID);
    }

    std::vector<std::string> texts;
    for (const auto& item : dialog.items())
        texts.push_back(item->displayText());

    if (!dialog.endRequest())
        playScript(dialog, actions);

    int32_t result = dialog.endRequest().value_or(kADMCancelItemID);
    close(dialog, result);
    host.show(ShownDialog{dialog.name(), dialog.resourceId(), std::move(texts), result});
    return result;
}

void DialogToolkit::playScript(Dialog& dialog, const std::vector<UserAction>& actions) {
    Host& host = Host::current();
    auto attempt = [&](const UserAction& action) {
        try {
            action.perform(dialog, *this);
            actionDone(dialog, action);
            return true;
        } catch (const std::exception& error) {
            host.fail(std::string(error.what()) + " (dialog \"" + dialog.name() + "\", action \"" +
                      action.describe() + "\")");
            dialog.end(kADMCancelItemID);
            return false;
        }
    };
    for (auto action = actions.begin(); action != actions.end(); ++action) {
        if (dialog.endRequest()) {
            // What the user meant to do after the dialog closed was never done: say so rather than
            // report a run that did less than asked.
            const auto left = std::distance(action, actions.end());
            host.fail("the dialog \"" + dialog.name() + "\" closed before the action \"" + action->describe() +
                      "\"" + (left > 1 ? " and " + std::to_string(left - 1) + " more" : std::string()) +
                      ": nothing after OK or Cancel is done");
            return;
        }
        if (!attempt(*action))
            return;
    }
    if (dialog.endRequest())
        return;
    // The script is done and the dialog is still open: the user confirms it.
    if (attempt(UserAction::ok()) && !dialog.endRequest()) {
        host.fail("the dialog \"" + dialog.name() + "\" did not close when the user pressed OK");
        dialog.end(kADMCancelItemID);
    }
}

}  // namespace simhost
