// The dialog toolkit's suites: C tables over the DialogToolkit model. Every operation journals its call,
// checks the handles it is given (a stale or foreign one is a ledger violation answered with a neutral
// value), and lets no exception into the plug-in's frames.
#include <exception>
#include <sstream>
#include <string>

#include "core/host.hpp"
#include "core/suite_registry.hpp"
#include "dialog_toolkit.hpp"
#include "suites/suites.hpp"

namespace simhost {

namespace {

template <typename Result, typename Body>
Result guarded(const char* operation, Result neutral, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        if (Host::exists())
            Host::current().fail(std::string(operation) + " failed: " + error.what());
    } catch (...) {
        if (Host::exists())
            Host::current().fail(std::string(operation) + " failed");
    }
    return neutral;
}

template <typename Body>
void guardedVoid(const char* operation, Body&& body) noexcept {
    guarded(operation, 0, [&] {
        body();
        return 0;
    });
}

DialogToolkit& toolkit() {
    return Host::current().dialogs();
}

std::string handleText(const void* handle) {
    std::ostringstream text;
    text << handle;
    return text.str();
}

void violation(const char* operation, const char* kind, const void* handle) {
    Host::current().ledger().violation(std::string(operation) + ": " + (handle ? "stale or foreign " : "null ") +
                                       kind + " (" + handleText(handle) + ")");
}

// What the toolkit found for a reference, with a violation recorded when it found nothing.
template <typename Found, typename Ref>
Found* checked(Found* found, const char* operation, const char* kind, Ref ref) {
    if (found == nullptr)
        violation(operation, kind, ref);
    return found;
}

Dialog* dialogOf(ADMDialogRef ref, const char* operation) {
    return checked(toolkit().findDialog(ref), operation, "dialog", ref);
}

Item* itemOf(ADMItemRef ref, const char* operation) {
    return checked(toolkit().findItem(ref), operation, "dialog item", ref);
}

ItemList* listOf(ADMListRef ref, const char* operation) {
    return checked(toolkit().findList(ref), operation, "list", ref);
}

ListEntry* entryOf(ADMEntryRef ref, const char* operation) {
    return checked(toolkit().findEntry(ref), operation, "list entry", ref);
}

const TrackEvent* trackerOf(ADMTrackerRef ref, const char* operation) {
    return checked(toolkit().findTracker(ref), operation, "tracker", ref);
}

// Journal arguments name items by id ("8"); a handle the toolkit does not know shows as "?".
std::string itemText(ADMItemRef ref) {
    Item* item = toolkit().findItem(ref);
    return item ? std::to_string(item->id()) : std::string("?");
}

std::string dialogText(ADMDialogRef ref) {
    Dialog* dialog = toolkit().findDialog(ref);
    return dialog ? "\"" + dialog->name() + "\"" : std::string("?");
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string rectText(const ADMRect* r) {
    if (r == nullptr)
        return "null";
    return std::to_string(r->left) + " " + std::to_string(r->top) + " " + std::to_string(r->right) + " " +
           std::to_string(r->bottom);
}

ASErr enter(const char* operation, std::string arguments) {
    return Host::current().enter(operation, std::move(arguments));
}

// ---- ADM Dialog Suite

int32_t HOSTAPI Modal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                      ADMDialogInitProc initProc, ADMUserData data) {
    constexpr const char* op = "ADMDialogSuite.Modal";
    return guarded(op, int32_t{-1}, [&]() -> int32_t {
        std::string arguments = (name ? "\"" + std::string(name) + "\"" : std::string("null")) + ", " +
                                std::to_string(dialogID) + ", " + std::to_string(style);
        if (enter(op, arguments) != kNoErr)
            return -1;
        return toolkit().modal(plugin, name, dialogID, style, initProc, data);
    });
}

ADMItemRef HOSTAPI CreateItem(ADMDialogRef dialogRef, int32_t itemID, const char* itemType, const ADMRect* bounds,
                              ADMItemInitProc initProc, ADMUserData data) {
    constexpr const char* op = "ADMDialogSuite.CreateItem";
    return guarded(op, ADMItemRef{nullptr}, [&]() -> ADMItemRef {
        ASErr fault = enter(op, dialogText(dialogRef) + ", " + std::to_string(itemID) + ", " +
                                    (itemType ? itemType : "null") + ", " + rectText(bounds));
        Dialog* dialog = dialogOf(dialogRef, op);
        if (fault != kNoErr || dialog == nullptr)
            return nullptr;
        if (bounds == nullptr) {
            Host::current().ledger().violation(std::string(op) + ": null bounds");
            return nullptr;
        }
        auto kind = itemType ? itemKindFromType(itemType) : std::nullopt;
        if (!kind || (itemID != -1 && dialog->item(itemID) != nullptr))
            return nullptr;
        Item& item = dialog->createItem(itemID, *kind, *bounds);
        item.userData = data;
        if (initProc != nullptr)
            (void)initProc(item.ref());
        return item.ref();
    });
}

ADMItemRef HOSTAPI GetItem(ADMDialogRef dialogRef, int32_t itemID) {
    constexpr const char* op = "ADMDialogSuite.GetItem";
    return guarded(op, ADMItemRef{nullptr}, [&]() -> ADMItemRef {
        enter(op, dialogText(dialogRef) + ", " + std::to_string(itemID));
        Dialog* dialog = dialogOf(dialogRef, op);
        Item* item = dialog ? dialog->item(itemID) : nullptr;
        return item ? item->ref() : nullptr;
    });
}

ADMUserData HOSTAPI GetUserData(ADMDialogRef dialogRef) {
    constexpr const char* op = "ADMDialogSuite.GetUserData";
    return guarded(op, ADMUserData{nullptr}, [&]() -> ADMUserData {
        enter(op, dialogText(dialogRef));
        Dialog* dialog = dialogOf(dialogRef, op);
        return dialog ? dialog->userData() : nullptr;
    });
}

void HOSTAPI GetBoundsRect(ADMDialogRef dialogRef, ADMRect* bounds) {
    constexpr const char* op = "ADMDialogSuite.GetBoundsRect";
    guardedVoid(op, [&] {
        enter(op, dialogText(dialogRef));
        Dialog* dialog = dialogOf(dialogRef, op);
        if (bounds == nullptr) {
            Host::current().ledger().violation(std::string(op) + ": null rectangle");
            return;
        }
        *bounds = dialog ? dialog->bounds() : ADMRect{0, 0, 0, 0};
    });
}

void HOSTAPI SetBoundsRect(ADMDialogRef dialogRef, const ADMRect* bounds) {
    constexpr const char* op = "ADMDialogSuite.SetBoundsRect";
    guardedVoid(op, [&] {
        enter(op, dialogText(dialogRef) + ", " + rectText(bounds));
        Dialog* dialog = dialogOf(dialogRef, op);
        if (bounds == nullptr) {
            Host::current().ledger().violation(std::string(op) + ": null rectangle");
            return;
        }
        if (dialog)
            dialog->setBounds(*bounds);
    });
}

void HOSTAPI Size(ADMDialogRef dialogRef, int32_t width, int32_t height) {
    constexpr const char* op = "ADMDialogSuite.Size";
    guardedVoid(op, [&] {
        enter(op, dialogText(dialogRef) + ", " + std::to_string(width) + ", " + std::to_string(height));
        if (Dialog* dialog = dialogOf(dialogRef, op))
            dialog->resize(width, height);
    });
}

// ---- ADM Item Suite

// The common shape of the item operations that change or read one thing of a live item.
template <typename Result, typename Body>
Result onItem(const char* op, ADMItemRef ref, std::string arguments, Result neutral, Body&& body) {
    return guarded(op, neutral, [&]() -> Result {
        std::string text = itemText(ref);
        enter(op, arguments.empty() ? text : text + ", " + arguments);
        Item* item = itemOf(ref, op);
        return item ? body(*item) : neutral;
    });
}

template <typename Body>
void onItemVoid(const char* op, ADMItemRef ref, std::string arguments, Body&& body) {
    onItem(op, ref, std::move(arguments), 0, [&](Item& item) {
        body(item);
        return 0;
    });
}

void HOSTAPI SetNotifyProc(ADMItemRef ref, ADMItemNotifyProc proc) {
    onItemVoid("ADMItemSuite.SetNotifyProc", ref, proc ? "procedure" : "null",
               [&](Item& item) { item.notifyProc = proc; });
}

void HOSTAPI SetTrackProc(ADMItemRef ref, ADMItemTrackProc proc) {
    onItemVoid("ADMItemSuite.SetTrackProc", ref, proc ? "procedure" : "null",
               [&](Item& item) { item.trackProc = proc; });
}

void HOSTAPI DefaultNotify(ADMItemRef ref, ADMNotifierRef notifier) {
    constexpr const char* op = "ADMItemSuite.DefaultNotify";
    onItemVoid(op, ref, "", [&](Item& item) {
        if (toolkit().findNotifier(notifier) == nullptr)
            violation(op, "notifier", notifier);
        toolkit().defaultNotify(item);
    });
}

ASBoolean HOSTAPI DefaultTrack(ADMItemRef ref, ADMTrackerRef tracker) {
    constexpr const char* op = "ADMItemSuite.DefaultTrack";
    return onItem(op, ref, "", ASBoolean{kASFalse}, [&](Item& item) -> ASBoolean {
        const TrackEvent* event = trackerOf(tracker, op);
        if (event == nullptr)
            return kASFalse;
        return toolkit().defaultTrack(item, *event) ? kASTrue : kASFalse;
    });
}

void HOSTAPI SendNotify(ADMItemRef ref, const char* notifierType) {
    constexpr const char* op = "ADMItemSuite.SendNotify";
    onItemVoid(op, ref, notifierType ? notifierType : "null",
               [&](Item& item) { toolkit().notify(item, notifierType ? notifierType : kADMUserChangedNotifier); });
}

ADMDialogRef HOSTAPI GetDialog(ADMItemRef ref) {
    return onItem("ADMItemSuite.GetDialog", ref, "", ADMDialogRef{nullptr},
                  [](Item& item) { return item.dialog().ref(); });
}

ADMListRef HOSTAPI GetList(ADMItemRef ref) {
    return onItem("ADMItemSuite.GetList", ref, "", ADMListRef{nullptr},
                  [](Item& item) { return item.list() ? item.list()->ref() : nullptr; });
}

void HOSTAPI Show(ADMItemRef ref, ASBoolean show) {
    onItemVoid("ADMItemSuite.Show", ref, show ? "true" : "false", [&](Item& item) { item.visible = show != 0; });
}

void HOSTAPI Enable(ADMItemRef ref, ASBoolean enable) {
    onItemVoid("ADMItemSuite.Enable", ref, enable ? "true" : "false",
               [&](Item& item) { item.enabled = enable != 0; });
}

void HOSTAPI SetFont(ADMItemRef ref, int32_t font) {
    onItemVoid("ADMItemSuite.SetFont", ref, std::to_string(font), [&](Item& item) { item.font = font; });
}

void HOSTAPI SetText(ADMItemRef ref, const char* text) {
    onItemVoid("ADMItemSuite.SetText", ref, text ? "\"" + std::string(text) + "\"" : "null",
               [&](Item& item) { item.setText(text ? text : ""); });
}

void HOSTAPI SetUnits(ADMItemRef ref, int32_t units) {
    onItemVoid("ADMItemSuite.SetUnits", ref, std::to_string(units), [&](Item& item) { item.units = units; });
}

void HOSTAPI SetPrecision(ADMItemRef ref, int32_t precision) {
    onItemVoid("ADMItemSuite.SetPrecision", ref, std::to_string(precision),
               [&](Item& item) { item.precision = precision; });
}

int32_t HOSTAPI GetIntValue(ADMItemRef ref) {
    return onItem("ADMItemSuite.GetIntValue", ref, "", int32_t{0}, [](Item& item) { return item.intValue(); });
}

void HOSTAPI SetIntValue(ADMItemRef ref, int32_t value) {
    onItemVoid("ADMItemSuite.SetIntValue", ref, std::to_string(value), [&](Item& item) { item.setValue(value); });
}

void HOSTAPI SetMinIntValue(ADMItemRef ref, int32_t value) {
    onItemVoid("ADMItemSuite.SetMinIntValue", ref, std::to_string(value), [&](Item& item) { item.setMin(value); });
}

void HOSTAPI SetMaxIntValue(ADMItemRef ref, int32_t value) {
    onItemVoid("ADMItemSuite.SetMaxIntValue", ref, std::to_string(value), [&](Item& item) { item.setMax(value); });
}

AIReal HOSTAPI GetFloatValue(ADMItemRef ref) {
    return onItem("ADMItemSuite.GetFloatValue", ref, "", AIReal{0}, [](Item& item) { return item.floatValue(); });
}

void HOSTAPI SetFloatValue(ADMItemRef ref, AIReal value) {
    onItemVoid("ADMItemSuite.SetFloatValue", ref, number(value), [&](Item& item) { item.setValue(value); });
}

void HOSTAPI SetMinFloatValue(ADMItemRef ref, AIReal value) {
    onItemVoid("ADMItemSuite.SetMinFloatValue", ref, number(value), [&](Item& item) { item.setMin(value); });
}

void HOSTAPI SetMaxFloatValue(ADMItemRef ref, AIReal value) {
    onItemVoid("ADMItemSuite.SetMaxFloatValue", ref, number(value), [&](Item& item) { item.setMax(value); });
}

ASBoolean HOSTAPI GetBooleanValue(ADMItemRef ref) {
    return onItem("ADMItemSuite.GetBooleanValue", ref, "", ASBoolean{kASFalse},
                  [](Item& item) -> ASBoolean { return item.booleanValue() ? kASTrue : kASFalse; });
}

void HOSTAPI SetBooleanValue(ADMItemRef ref, ASBoolean value) {
    onItemVoid("ADMItemSuite.SetBooleanValue", ref, value ? "true" : "false",
               [&](Item& item) { item.setValue(value != 0 ? 1.0 : 0.0); });
}

// ---- ADM List Suite

ADMEntryRef HOSTAPI InsertEntry(ADMListRef ref, int32_t index) {
    constexpr const char* op = "ADMListSuite.InsertEntry";
    return guarded(op, ADMEntryRef{nullptr}, [&]() -> ADMEntryRef {
        enter(op, std::to_string(index));
        ItemList* list = listOf(ref, op);
        ListEntry* entry = list ? list->insert(index) : nullptr;
        return entry ? entry->ref() : nullptr;
    });
}

ADMEntryRef HOSTAPI IndexEntry(ADMListRef ref, int32_t index) {
    constexpr const char* op = "ADMListSuite.IndexEntry";
    return guarded(op, ADMEntryRef{nullptr}, [&]() -> ADMEntryRef {
        enter(op, std::to_string(index));
        ItemList* list = listOf(ref, op);
        ListEntry* entry = list ? list->entry(index) : nullptr;
        return entry ? entry->ref() : nullptr;
    });
}

ADMEntryRef HOSTAPI GetActiveEntry(ADMListRef ref) {
    constexpr const char* op = "ADMListSuite.GetActiveEntry";
    return guarded(op, ADMEntryRef{nullptr}, [&]() -> ADMEntryRef {
        enter(op, "");
        ItemList* list = listOf(ref, op);
        ListEntry* entry = list ? list->active() : nullptr;
        return entry ? entry->ref() : nullptr;
    });
}

// ---- ADM Entry Suite

template <typename Result, typename Body>
Result onEntry(const char* op, ADMEntryRef ref, std::string arguments, Result neutral, Body&& body) {
    return guarded(op, neutral, [&]() -> Result {
        enter(op, std::move(arguments));
        ListEntry* entry = entryOf(ref, op);
        return entry ? body(*entry) : neutral;
    });
}

void HOSTAPI EntrySetText(ADMEntryRef ref, const char* text) {
    onEntry("ADMEntrySuite.SetText", ref, text ? "\"" + std::string(text) + "\"" : "null", 0, [&](ListEntry& e) {
        e.text = text ? text : "";
        return 0;
    });
}

void HOSTAPI SetID(ADMEntryRef ref, int32_t entryID) {
    onEntry("ADMEntrySuite.SetID", ref, std::to_string(entryID), 0, [&](ListEntry& e) {
        e.id = entryID;
        return 0;
    });
}

int32_t HOSTAPI GetID(ADMEntryRef ref) {
    return onEntry("ADMEntrySuite.GetID", ref, "", int32_t{0}, [](ListEntry& e) { return e.id; });
}

void HOSTAPI Select(ADMEntryRef ref, ASBoolean select) {
    onEntry("ADMEntrySuite.Select", ref, select ? "true" : "false", 0, [&](ListEntry& e) {
        e.list().select(e, select != 0);
        return 0;
    });
}

// ---- ADM Tracker Suite

uint32_t HOSTAPI GetModifiers(ADMTrackerRef ref) {
    constexpr const char* op = "ADMTrackerSuite.GetModifiers";
    return guarded(op, uint32_t{0}, [&]() -> uint32_t {
        enter(op, "");
        const TrackEvent* event = trackerOf(ref, op);
        return event ? event->modifiers : 0u;
    });
}

void HOSTAPI GetPoint(ADMTrackerRef ref, ADMPoint* point) {
    constexpr const char* op = "ADMTrackerSuite.GetPoint";
    guardedVoid(op, [&] {
        enter(op, "");
        const TrackEvent* event = trackerOf(ref, op);
        if (point == nullptr) {
            Host::current().ledger().violation(std::string(op) + ": null point");
            return;
        }
        *point = event ? event->point : ADMPoint{0, 0};
    });
}

const ADMDialogSuite kDialogSuite = {Modal, CreateItem, GetItem, GetUserData, GetBoundsRect, SetBoundsRect, Size};

const ADMItemSuite kItemSuite = {SetNotifyProc,    SetTrackProc,    DefaultNotify,  DefaultTrack,
                                 SendNotify,       GetDialog,       GetList,        Show,
                                 Enable,           SetFont,         SetText,        SetUnits,
                                 SetPrecision,     GetIntValue,     SetIntValue,    SetMinIntValue,
                                 SetMaxIntValue,   GetFloatValue,   SetFloatValue,  SetMinFloatValue,
                                 SetMaxFloatValue, GetBooleanValue, SetBooleanValue};

const ADMIconSuite kIconSuite = {nullptr};
const ADMNotifierSuite kNotifierSuite = {nullptr};
const ADMListSuite kListSuite = {InsertEntry, IndexEntry, GetActiveEntry};
const ADMEntrySuite kEntrySuite = {EntrySetText, SetID, GetID, Select};
const ADMTrackerSuite kTrackerSuite = {GetModifiers, GetPoint};

}  // namespace

void registerToolkitSuites(SuiteRegistry& registry) {
    registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &kDialogSuite);
    registry.add(kADMItemSuite, kADMItemSuiteVersion, &kItemSuite);
    registry.add(kADMIconSuite, kADMIconSuiteVersion, &kIconSuite);
    registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &kNotifierSuite);
    registry.add(kADMListSuite, kADMListSuiteVersion, &kListSuite);
    registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &kEntrySuite);
    registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &kTrackerSuite);
}

}  // namespace simhost
