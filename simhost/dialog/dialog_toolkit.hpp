#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "hostapi/adm_suites.h"
#include "user.hpp"

namespace simhost {

class Dialog;
class Host;
class Item;
class ItemList;
struct DialogTemplate;

// The six kinds of item a plug-in can create, plus the black frame a dialog template can hold (a static
// control with the black-frame style; it has no text and cannot be created in code).
enum class ItemKind { SpinEdit, TextStatic, PopupList, PicturePushButton, TextPushButton, TextCheckBox, Frame };

// The toolkit's type string of a kind ("ADM Spin Edit Type", ...), and back; an unknown type gives nothing.
const char* itemTypeName(ItemKind kind);
std::optional<ItemKind> itemKindFromType(std::string_view typeName);
// "spin edit", "static text", ...: the words used in messages to the user.
const char* itemKindWords(ItemKind kind);

// One entry of a popup list.
class ListEntry {
  public:
    explicit ListEntry(ItemList& list) : list_(&list) {}
    ItemList& list() const { return *list_; }
    ADMEntryRef ref() const { return reinterpret_cast<ADMEntryRef>(const_cast<ListEntry*>(this)); }

    std::string text;
    int32_t id = 0;
    bool selected = false;

  private:
    ItemList* list_;
};

// The entries of a popup list item. A popup shows one choice at a time: selecting an entry deselects the
// others; with none selected the popup shows an empty choice.
class ItemList {
  public:
    explicit ItemList(Item& owner) : owner_(&owner) {}
    Item& item() const { return *owner_; }
    ADMListRef ref() const { return reinterpret_cast<ADMListRef>(const_cast<ItemList*>(this)); }

    // A new empty entry at `index` (0 to size(), the later ones move down); null for any other index.
    ListEntry* insert(int32_t index);
    ListEntry* entry(int32_t index) const;  // null when out of range
    int32_t size() const { return static_cast<int32_t>(entries_.size()); }
    ListEntry* active() const;    // the selected entry, or null
    int32_t activeIndex() const;  // its position, or -1
    void select(ListEntry& entry, bool select);
    const std::vector<std::unique_ptr<ListEntry>>& entries() const { return entries_; }
    bool owns(const ListEntry* entry) const;

  private:
    Item* owner_;
    std::vector<std::unique_ptr<ListEntry>> entries_;
};

// One item of a dialog. Every item has one numeric value, read as an integer, a real or a boolean
// (non-zero is true); check boxes keep 0 or 1.
//
// Ranges belong to spin edits. A value set before the item has a range is kept as it is; setting a minimum
// or maximum afterwards pulls the current value into the range at once, and every later value (set by the
// plug-in or typed by the user) is clamped to it. Should the minimum exceed the maximum, the minimum wins.
// Other kinds store a range but never clamp.
//
// A spin edit shows its value with `precision` decimals (none until the plug-in sets one), so an integer
// spin edit reads "12" and a float spin edit with precision 2 reads "12.50". Its text is that display.
class Item {
  public:
    Item(Dialog& dialog, int32_t id, ItemKind kind, ADMRect bounds);
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    Dialog& dialog() const { return *dialog_; }
    int32_t id() const { return id_; }
    ItemKind kind() const { return kind_; }
    ADMItemRef ref() const { return reinterpret_cast<ADMItemRef>(const_cast<Item*>(this)); }
    bool isSpinEdit() const { return kind_ == ItemKind::SpinEdit; }
    bool isPushButton() const { return kind_ == ItemKind::TextPushButton || kind_ == ItemKind::PicturePushButton; }

    double value() const { return value_; }
    void setValue(double value);  // clamped into the range of a spin edit
    int32_t intValue() const;     // rounded to the nearest integer
    float floatValue() const { return static_cast<float>(value_); }
    bool booleanValue() const { return value_ != 0.0; }
    void setMin(double minimum);
    void setMax(double maximum);
    std::optional<double> minValue() const { return min_; }
    std::optional<double> maxValue() const { return max_; }

    // The text as the plug-in or the template set it (mnemonic marks such as "&OK" included). Setting the
    // text of a spin edit sets its value when the text is a number.
    const std::string& text() const { return text_; }
    void setText(std::string text);
    // What the user reads on the item: a spin edit's value at its precision, a popup's chosen entry, the
    // caption of anything else with its mnemonic marks taken out ("&OK" reads "OK", "&&" reads "&").
    std::string displayText() const;

    ItemList* list() const { return list_.get(); }  // popup lists only

    ADMRect bounds{};
    int32_t font = kADMDefaultFont;
    bool visible = true;
    bool enabled = true;
    int32_t units = kADMNoUnits;
    std::optional<int32_t> precision;
    ADMUserData userData = nullptr;
    ADMItemNotifyProc notifyProc = nullptr;
    ADMItemTrackProc trackProc = nullptr;
    uint32_t windowStyle = 0;  // the template's style bits, 0 for items made in code

  private:
    double clamped(double value) const;

    Dialog* dialog_;
    int32_t id_;
    ItemKind kind_;
    double value_ = 0.0;
    std::optional<double> min_;
    std::optional<double> max_;
    std::string text_;
    std::unique_ptr<ItemList> list_;
};

// A dialog: open from its creation until its modal run ends. Its bounds are the client area in screen
// pixels (the title bar and window frame lie outside them); items use coordinates local to that area.
class Dialog {
  public:
    Dialog(std::string name, int32_t resourceId, ADMRect bounds, ADMUserData userData);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const std::string& name() const { return name_; }
    int32_t resourceId() const { return resourceId_; }
    ADMDialogRef ref() const { return reinterpret_cast<ADMDialogRef>(const_cast<Dialog*>(this)); }
    ADMUserData userData() const { return userData_; }

    std::string title;
    ADMRect bounds() const { return bounds_; }
    void setBounds(ADMRect bounds) { bounds_ = bounds; }
    void resize(int32_t width, int32_t height);  // keeps the top left corner
    void move(int32_t dx, int32_t dy);
    int32_t width() const { return bounds_.right - bounds_.left; }
    int32_t height() const { return bounds_.bottom - bounds_.top; }

    // Throws HostError when `id` is taken (items without an id, -1, may repeat).
    Item& createItem(int32_t id, ItemKind kind, ADMRect bounds);
    Item* item(int32_t id) const;  // the first item with that id, or null
    Item& at(int32_t id) const;    // throws HostError when there is none
    // Items in creation order.
    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }

    bool owns(const Item* item) const { return itemSet_.count(item) != 0; }
    bool ownsList(const ItemList* list) const;
    bool ownsEntry(const ListEntry* entry) const;

    // The modal run: `end` asks the run to stop with that item's id once the current procedure returns.
    bool open() const { return open_; }
    void end(int32_t itemId) {
        if (!endRequest_)
            endRequest_ = itemId;
    }
    std::optional<int32_t> endRequest() const { return endRequest_; }
    std::optional<int32_t> result() const { return result_; }
    void close(int32_t result) {
        open_ = false;
        result_ = result;
    }

  private:
    std::string name_;
    int32_t resourceId_;
    ADMRect bounds_;
    ADMUserData userData_;
    std::vector<std::unique_ptr<Item>> items_;
    std::unordered_set<const Item*> itemSet_;
    bool open_ = true;
    std::optional<int32_t> endRequest_;
    std::optional<int32_t> result_;
};

// A mouse tracking event as the track procedure sees it.
struct TrackEvent {
    uint32_t modifiers = 0;
    ADMPoint point{};
};

// The dialog toolkit: builds dialogs from templates, runs them modally with a scripted user in front of
// them, and answers the toolkit suites' handles.
//
// Modal runs: the dialog opens at the host's default place (kDefaultLeft, kDefaultTop), sized from its
// template (dialog units to pixels with the base units of the 8 point MS Sans Serif font: x × 6 / 4,
// y × 13 / 8), the init procedure runs, then the user performs the script queued for the dialog's name.
// Without a script the user presses OK at once; when a script ends without closing the dialog, the user
// presses OK. An action the user cannot perform (a hidden, disabled, missing or unfitting item) is
// recorded as a run failure (Host::fail) and the dialog is closed with Cancel.
class DialogToolkit {
  public:
    static constexpr int32_t kDefaultLeft = 100;
    static constexpr int32_t kDefaultTop = 80;
    // How many ended dialogs history() keeps.
    static constexpr std::size_t kKeptEndedDialogs = 64;

    DialogToolkit();
    ~DialogToolkit();
    DialogToolkit(const DialogToolkit&) = delete;
    DialogToolkit& operator=(const DialogToolkit&) = delete;

    // Queues the user's actions for the next modal run of the dialog with that name (one script per run,
    // first queued, first used).
    void script(std::string dialogName, std::vector<UserAction> actions);
    std::size_t pendingScripts(const std::string& dialogName) const;

    // Observers (setting one replaces the previous): after the init procedure of every modal run, and after
    // every action of the user.
    void onOpen(std::function<void(const Dialog&)> observer) { onOpen_ = std::move(observer); }
    void onAction(std::function<void(const Dialog&, const UserAction&)> observer) {
        onAction_ = std::move(observer);
    }

    // Templates the host knows besides the plug-in's (the plug-in's come first); lets tests run dialogs
    // with no plug-in loaded.
    void provideTemplate(DialogTemplate dialogTemplate);

    // The modal run behind the Dialog Suite's Modal. Never throws: whatever goes wrong is recorded with
    // Host::fail and answered as the suite would (-1 when no dialog could be made, Cancel when the user
    // could not go on).
    int32_t modal(SPPluginRef plugin, const char* name, int32_t dialogId, int32_t style,
                  ADMDialogInitProc initProc, ADMUserData data) noexcept;

    // A dialog opened without a modal run, for code that drives the toolkit directly (tests). It stays open
    // until close() is called.
    Dialog& openDialog(std::string name,
                       ADMRect bounds = {kDefaultLeft, kDefaultTop, kDefaultLeft + 300, kDefaultTop + 200},
                       ADMUserData data = nullptr);
    void close(Dialog& dialog, int32_t result);

    // Open dialogs, innermost last; and the dialogs made so far (all open ones and the latest ended ones),
    // in order of opening.
    std::vector<Dialog*> openDialogs() const;
    Dialog* innermost() const;
    const std::vector<std::unique_ptr<Dialog>>& history() const { return dialogs_; }
    Dialog* last(const std::string& name) const;  // the dialog of that name opened last, or null

    // Handle checks for the suites: the object behind a live handle, or null (a stale or foreign handle).
    Dialog* findDialog(ADMDialogRef ref) const;
    Item* findItem(ADMItemRef ref) const;
    ItemList* findList(ADMListRef ref) const;
    ListEntry* findEntry(ADMEntryRef ref) const;
    const TrackEvent* findTracker(ADMTrackerRef ref) const;
    const std::string* findNotifier(ADMNotifierRef ref) const;

    // Runs an item's notify procedure (the toolkit's default reaction when it has none) with a notifier of
    // that type; returns once it has returned.
    void notify(Item& item, const std::string& notifierType);
    // The toolkit's standard reaction: OK and Cancel push buttons end the modal run with their id.
    void defaultNotify(Item& item);
    // Runs an item's track procedure (the toolkit's standard tracking when it has none) for one event.
    bool track(Item& item, TrackEvent event);
    bool defaultTrack(Item& item, const TrackEvent& event) const;

    // Called by the user after each action.
    void actionDone(const Dialog& dialog, const UserAction& action);

  private:
    const DialogTemplate* findTemplate(int32_t id) const;
    Dialog& build(const DialogTemplate& dialogTemplate, std::string name, ADMUserData data);
    int32_t runModal(Dialog& dialog, ADMDialogInitProc initProc);
    void playScript(Dialog& dialog, const std::vector<UserAction>& actions);

    std::vector<std::unique_ptr<Dialog>> dialogs_;
    std::vector<Dialog*> open_;
    std::map<std::string, std::deque<std::vector<UserAction>>> scripts_;
    std::vector<DialogTemplate> templates_;
    std::vector<const TrackEvent*> trackers_;
    std::vector<const std::string*> notifiers_;
    std::function<void(const Dialog&)> onOpen_;
    std::function<void(const Dialog&, const UserAction&)> onAction_;
};

}  // namespace simhost
