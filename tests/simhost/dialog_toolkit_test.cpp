// The dialog toolkit through its suites, without a plug-in: item values and ranges, popup lists,
// notification, tracking, handle checks and modal runs (nested ones included).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "resources/resource_set.hpp"

namespace {

using simhost::Dialog;
using simhost::DialogTemplate;
using simhost::UserAction;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

template <typename Suite>
const Suite* acquire(simhost::Host& host, const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host.suites().acquire(name, version, &table), kNoErr) << name;
    return static_cast<const Suite*>(table);
}

class ToolkitTest : public ::testing::Test {
  protected:
    simhost::Host host;
    const ADMDialogSuite* dialogs = acquire<ADMDialogSuite>(host, kADMDialogSuite, kADMDialogSuiteVersion);
    const ADMItemSuite* items = acquire<ADMItemSuite>(host, kADMItemSuite, kADMItemSuiteVersion);
    const ADMListSuite* lists = acquire<ADMListSuite>(host, kADMListSuite, kADMListSuiteVersion);
    const ADMEntrySuite* entries = acquire<ADMEntrySuite>(host, kADMEntrySuite, kADMEntrySuiteVersion);
    const ADMTrackerSuite* trackers = acquire<ADMTrackerSuite>(host, kADMTrackerSuite, kADMTrackerSuiteVersion);
    Dialog& dialog = host.dialogs().openDialog("Test");

    ADMItemRef create(int32_t id, const char* type, ADMRect bounds = {10, 10, 70, 30}) {
        return dialogs->CreateItem(dialog.ref(), id, type, &bounds, nullptr, nullptr);
    }
};

TEST_F(ToolkitTest, AllSevenSuitesAreProvided) {
    EXPECT_TRUE(host.suites().provides(kADMIconSuite, kADMIconSuiteVersion));
    EXPECT_TRUE(host.suites().provides(kADMNotifierSuite, kADMNotifierSuiteVersion));
    EXPECT_NE(dialogs, nullptr);
    EXPECT_NE(items, nullptr);
    EXPECT_NE(lists, nullptr);
    EXPECT_NE(entries, nullptr);
    EXPECT_NE(trackers, nullptr);
}

TEST_F(ToolkitTest, CreateItemRefusesUnknownTypesAndTakenIds) {
    ASSERT_NE(create(8, kADMSpinEditType), nullptr);
    EXPECT_EQ(create(8, kADMTextStaticType), nullptr);
    EXPECT_EQ(create(9, "ADM Slider Type"), nullptr);
    EXPECT_EQ(dialogs->GetItem(dialog.ref(), 8), dialog.at(8).ref());
    EXPECT_EQ(dialogs->GetItem(dialog.ref(), 9), nullptr);
    EXPECT_EQ(items->GetDialog(dialog.at(8).ref()), dialog.ref());
}

// How a spin edit's value meets its range: a value set first is kept until a range arrives, then pulled in.
struct RangeCase {
    const char* name;
    std::optional<float> before;  // value set before the range
    std::optional<float> minimum;
    std::optional<float> maximum;
    std::optional<float> after;  // value set after the range
    float expected;
};

class SpinRangeTest : public ToolkitTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(SpinRangeTest, KeepsTheValueWithinTheRange) {
    const RangeCase& c = GetParam();
    ADMItemRef spin = create(10, kADMSpinEditType);
    if (c.before)
        items->SetFloatValue(spin, *c.before);
    if (c.minimum)
        items->SetMinFloatValue(spin, *c.minimum);
    if (c.maximum)
        items->SetMaxFloatValue(spin, *c.maximum);
    if (c.after)
        items->SetFloatValue(spin, *c.after);
    EXPECT_FLOAT_EQ(items->GetFloatValue(spin), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinRangeTest,
                         ::testing::Values(RangeCase{"NoRangeKeepsAnything", 5000.f, {}, {}, {}, 5000.f},
                                           RangeCase{
                                               "ValueBeforeRangeIsClampedByMax", 500.f, 5.f, 100.f, {}, 100.f},
                                           RangeCase{"ValueBeforeRangeIsClampedByMin", -30.f, 0.f, 10.f, {}, 0.f},
                                           RangeCase{"ValueWithinKept", 7.5f, 0.f, 10.f, {}, 7.5f},
                                           RangeCase{"LaterValueAboveMax", {}, -360.f, 360.f, 720.f, 360.f},
                                           RangeCase{"LaterValueBelowMin", {}, -360.f, 360.f, -4000.f, -360.f},
                                           RangeCase{"MinAloneClamps", 1.f, 5.f, {}, {}, 5.f},
                                           RangeCase{"MinAboveMaxWins", 4.f, 5.f, 3.f, {}, 5.f}),
                         [](const ::testing::TestParamInfo<RangeCase>& c) { return std::string(c.param.name); });

TEST_F(ToolkitTest, IntegerRangeClampsPatternIndexes) {
    ADMItemRef spin = create(8, kADMSpinEditType);
    items->SetIntValue(spin, 3);
    items->SetMinIntValue(spin, 0);
    items->SetMaxIntValue(spin, 11);
    EXPECT_EQ(items->GetIntValue(spin), 3);
    items->SetIntValue(spin, 300);
    EXPECT_EQ(items->GetIntValue(spin), 11);
    items->SetIntValue(spin, -1);
    EXPECT_EQ(items->GetIntValue(spin), 0);
}

TEST_F(ToolkitTest, RangesDoNotClampOtherKinds) {
    ADMItemRef box = create(3, kADMTextCheckBoxType);
    items->SetMaxIntValue(box, 0);
    items->SetBooleanValue(box, kASTrue);
    EXPECT_EQ(items->GetBooleanValue(box), kASTrue);
    EXPECT_EQ(items->GetIntValue(box), 1);
}

TEST_F(ToolkitTest, PrecisionDecidesTheShownText) {
    struct Case {
        std::optional<int32_t> precision;
        float value;
        const char* shown;
    };
    for (const Case& c : {Case{std::nullopt, 12.f, "12"}, Case{2, 12.5f, "12.50"}, Case{2, -0.001f, "0.00"},
                          Case{1, -3.25f, "-3.2"}, Case{0, 99.6f, "100"}}) {
        ADMItemRef spin = create(-1, kADMSpinEditType);
        if (c.precision)
            items->SetPrecision(spin, *c.precision);
        items->SetFloatValue(spin, c.value);
        EXPECT_EQ(dialog.items().back()->displayText(), c.shown) << c.value;
    }
}

TEST_F(ToolkitTest, PopupListEntriesAndSelection) {
    ADMItemRef popup = create(90, kADMPopupListType);
    ADMListRef list = items->GetList(popup);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(items->GetList(create(4, kADMSpinEditType)), nullptr);
    const char* texts[] = {" Normal", " Multiply", " Screen"};
    for (int32_t i = 0; i < 3; ++i) {
        ADMEntryRef entry = lists->InsertEntry(list, i);
        ASSERT_NE(entry, nullptr);
        entries->SetText(entry, texts[i]);
        entries->SetID(entry, i);
    }
    EXPECT_EQ(lists->InsertEntry(list, 5), nullptr);
    EXPECT_EQ(lists->IndexEntry(list, 3), nullptr);
    EXPECT_EQ(lists->GetActiveEntry(list), nullptr);
    EXPECT_EQ(dialog.at(90).displayText(), "");

    entries->Select(lists->IndexEntry(list, 1), kASTrue);
    entries->Select(lists->IndexEntry(list, 2), kASTrue);
    ADMEntryRef active = lists->GetActiveEntry(list);
    EXPECT_EQ(entries->GetID(active), 2);
    EXPECT_EQ(dialog.at(90).list()->activeIndex(), 2) << "a popup holds one choice";
    EXPECT_EQ(dialog.at(90).displayText(), " Screen");
    entries->Select(active, kASFalse);
    EXPECT_EQ(lists->GetActiveEntry(list), nullptr);

    // Inserting in front moves the later entries down.
    entries->SetText(lists->InsertEntry(list, 0), " First");
    EXPECT_EQ(dialog.at(90).list()->entry(1)->text, " Normal");
}

int g_notified = 0;
ADMItemRef g_notifiedItem = nullptr;
ASErr HOSTAPI countingNotify(ADMItemRef item, ADMNotifierRef) {
    ++g_notified;
    g_notifiedItem = item;
    return kNoErr;
}

TEST_F(ToolkitTest, SendNotifyRunsTheProcedureBeforeReturning) {
    g_notified = 0;
    ADMItemRef spin = create(9, kADMSpinEditType);
    items->SetNotifyProc(spin, countingNotify);
    items->SetFloatValue(spin, 3.f);
    EXPECT_EQ(g_notified, 0) << "setting a value notifies nobody";
    items->SendNotify(spin, kADMUserChangedNotifier);
    EXPECT_EQ(g_notified, 1);
    EXPECT_EQ(g_notifiedItem, spin);
}

TEST_F(ToolkitTest, DefaultNotifyEndsTheRunOnlyForOkAndCancelButtons) {
    struct Case {
        int32_t id;
        const char* type;
        std::optional<int32_t> ends;
    };
    for (const Case& c :
         {Case{1, kADMTextPushButtonType, 1}, Case{2, kADMTextPushButtonType, 2},
          Case{80, kADMTextPushButtonType, std::nullopt}, Case{2, kADMTextStaticType, std::nullopt},
          Case{1, kADMTextCheckBoxType, std::nullopt}}) {
        Dialog& d = host.dialogs().openDialog("Case");
        ADMRect bounds{0, 0, 10, 10};
        ADMItemRef item = dialogs->CreateItem(d.ref(), c.id, c.type, &bounds, nullptr, nullptr);
        items->SendNotify(item, kADMUserChangedNotifier);  // no procedure: the default reaction
        EXPECT_EQ(d.endRequest(), c.ends) << c.id << " " << c.type;
        EXPECT_TRUE(d.open()) << "ending waits for the run to see it";
    }
}

TEST_F(ToolkitTest, DialogBoundsMoveAndSize) {
    ADMRect saved{40, 50, 90, 60};
    dialogs->SetBoundsRect(dialog.ref(), &saved);
    dialogs->Size(dialog.ref(), 500, 290);
    ADMRect bounds{};
    dialogs->GetBoundsRect(dialog.ref(), &bounds);
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.top, 50);
    EXPECT_EQ(bounds.right, 540);
    EXPECT_EQ(bounds.bottom, 340);
}

uint32_t g_modifiers = 0;
ADMPoint g_point{};
ADMTrackerRef g_tracker = nullptr;
const ADMTrackerSuite* g_trackerSuite = nullptr;
ASBoolean HOSTAPI recordingTrack(ADMItemRef, ADMTrackerRef tracker) {
    g_tracker = tracker;
    g_modifiers = g_trackerSuite->GetModifiers(tracker);
    g_trackerSuite->GetPoint(tracker, &g_point);
    return kASTrue;
}

TEST_F(ToolkitTest, TrackerReportsTheEventsModifiersAndPoint) {
    g_trackerSuite = trackers;
    ADMItemRef button = create(164, kADMPicturePushButtonType);
    items->SetTrackProc(button, recordingTrack);
    UserAction::drag(164, {120, 80}).perform(dialog, host.dialogs());
    EXPECT_EQ(g_modifiers, static_cast<uint32_t>(kADMButtonDownModifier));
    EXPECT_EQ(g_point.h, 120);
    EXPECT_EQ(g_point.v, 80);
    UserAction::drag(164, {-5, 7}, kADMShiftKeyDownModifier).perform(dialog, host.dialogs());
    EXPECT_EQ(g_modifiers, static_cast<uint32_t>(kADMShiftKeyDownModifier));
    EXPECT_EQ(g_point.h, -5);

    // The tracker lives for one event only.
    EXPECT_TRUE(host.ledger().violations().empty());
    EXPECT_EQ(trackers->GetModifiers(g_tracker), 0u);
    EXPECT_THAT(host.ledger().violations().back(), HasSubstr("tracker"));
}

TEST_F(ToolkitTest, StaleHandlesAreViolationsAnsweredNeutrally) {
    ADMItemRef spin = create(8, kADMSpinEditType);
    items->SetIntValue(spin, 7);
    ADMListRef list = items->GetList(create(90, kADMPopupListType));
    host.dialogs().close(dialog, 1);
    EXPECT_TRUE(host.ledger().violations().empty());

    EXPECT_EQ(items->GetIntValue(spin), 0);
    items->SetIntValue(spin, 3);
    EXPECT_EQ(dialogs->GetItem(dialog.ref(), 8), nullptr);
    EXPECT_EQ(lists->InsertEntry(list, 0), nullptr);
    EXPECT_EQ(items->GetDialog(reinterpret_cast<ADMItemRef>(&host)), nullptr);
    ASSERT_EQ(host.ledger().violations().size(), 5u);
    EXPECT_THAT(host.ledger().violations()[0],
                HasSubstr("ADMItemSuite.GetIntValue: stale or foreign dialog item"));
    EXPECT_EQ(dialog.at(8).intValue(), 7) << "the stale call changed nothing";
}

TEST_F(ToolkitTest, CallsAreJournaledWithTheItemId) {
    ADMItemRef spin = create(39, kADMSpinEditType);
    items->SetMaxIntValue(spin, 40);
    const auto& last = host.journal().entries().back();
    EXPECT_EQ(last.operation, "ADMItemSuite.SetMaxIntValue");
    EXPECT_EQ(last.arguments, "39, 40");
}

// ---- modal runs over templates the host is given

DialogTemplate smallTemplate(int32_t id) {
    DialogTemplate t;
    t.resourceId = id;
    t.title = "Small";
    t.width = 100;
    t.height = 80;
    auto control = [](int32_t itemId, const char* cls, uint32_t style, int16_t x, int16_t y, const char* text) {
        simhost::DialogItemTemplate item;
        item.id = itemId;
        item.windowClass = cls;
        item.style = style;
        item.x = x;
        item.y = y;
        item.width = 40;
        item.height = 14;
        item.text = text;
        return item;
    };
    t.items = {control(1, "BUTTON", 0x50010001, 10, 60, "&OK"), control(2, "BUTTON", 0x50010000, 55, 60, "Cancel"),
               control(5, "BUTTON", 0x50010000, 10, 40, "More"), control(3, "STATIC", 0x50000000, 10, 10, "Hello"),
               control(4, "STATIC", 0x50000007, 60, 10, "")};
    return t;
}

const ADMDialogSuite* g_dialogSuite = nullptr;
const ADMItemSuite* g_itemSuite = nullptr;
int32_t g_innerResult = 0;

ASErr HOSTAPI openInner(ADMItemRef, ADMNotifierRef) {
    g_innerResult = g_dialogSuite->Modal(nullptr, "Inner", 501, 0, nullptr, nullptr);
    return kNoErr;
}

ASErr HOSTAPI outerInit(ADMDialogRef dialog) {
    g_itemSuite->SetNotifyProc(g_dialogSuite->GetItem(dialog, 5), openInner);
    g_itemSuite->SetText(g_dialogSuite->GetItem(dialog, 3), "Outer");
    return kNoErr;
}

TEST_F(ToolkitTest, ModalBuildsTheTemplateInPixels) {
    host.dialogs().provideTemplate(smallTemplate(500));
    std::vector<std::string> seen;
    host.dialogs().script("Small", {UserAction::run([&](Dialog& d) {
                              ADMRect b = d.bounds();
                              EXPECT_EQ(b.left, simhost::DialogToolkit::kDefaultLeft);
                              EXPECT_EQ(b.right - b.left, 150);  // 100 units × 6 / 4
                              EXPECT_EQ(b.bottom - b.top, 130);  // 80 units × 13 / 8
                              const auto& ok = d.at(1);
                              EXPECT_EQ(ok.kind(), simhost::ItemKind::TextPushButton);
                              EXPECT_EQ(ok.bounds.left, 15);
                              EXPECT_EQ(ok.bounds.top, 97);
                              EXPECT_EQ(ok.bounds.right, 75);
                              EXPECT_EQ(ok.bounds.bottom, 120);
                              EXPECT_EQ(d.at(4).kind(), simhost::ItemKind::Frame);
                              EXPECT_EQ(d.at(3).kind(), simhost::ItemKind::TextStatic);
                          })});
    EXPECT_EQ(dialogs->Modal(nullptr, "Small", 500, 0, nullptr, nullptr), 1) << "the script ran out: OK";
    ASSERT_EQ(host.shown().size(), 1u);
    EXPECT_EQ(host.shown()[0].name, "Small");
    EXPECT_EQ(host.shown()[0].resourceId, 500);
    EXPECT_THAT(host.shown()[0].texts, ElementsAre("OK", "Cancel", "More", "Hello", ""));
    EXPECT_TRUE(host.failures().empty());
}

TEST_F(ToolkitTest, ModalWithoutATemplateAnswersMinusOne) {
    EXPECT_EQ(dialogs->Modal(nullptr, "Missing", 4242, 0, nullptr, nullptr), -1);
    ASSERT_EQ(host.failures().size(), 1u);
    EXPECT_THAT(host.failures()[0], HasSubstr("4242"));
    EXPECT_TRUE(host.shown().empty());
}

TEST_F(ToolkitTest, ModalCanFailByFaultInjection) {
    host.dialogs().provideTemplate(smallTemplate(500));
    host.faults().failCall("ADMDialogSuite.Modal", 1, kBadParameterErr);
    EXPECT_EQ(dialogs->Modal(nullptr, "Small", 500, 0, nullptr, nullptr), -1);
    EXPECT_EQ(dialogs->Modal(nullptr, "Small", 500, 0, nullptr, nullptr), 1);
}

TEST_F(ToolkitTest, NestedModalRunsInsideTheOuterOne) {
    g_dialogSuite = dialogs;
    g_itemSuite = items;
    g_innerResult = 0;
    host.dialogs().provideTemplate(smallTemplate(500));
    host.dialogs().provideTemplate(smallTemplate(501));
    int openWhileInner = 0;
    host.dialogs().script("Outer", {UserAction::press(5), UserAction::ok()});
    host.dialogs().script(
        "Inner", {UserAction::run([&](Dialog&) { openWhileInner = int(host.dialogs().openDialogs().size()); }),
                  UserAction::cancel()});

    EXPECT_EQ(dialogs->Modal(nullptr, "Outer", 500, 0, outerInit, nullptr), 1);
    EXPECT_EQ(g_innerResult, 2);
    EXPECT_EQ(openWhileInner, 3) << "the test's own dialog, the outer and the inner";
    ASSERT_EQ(host.shown().size(), 2u);
    EXPECT_EQ(host.shown()[0].name, "Inner");
    EXPECT_EQ(host.shown()[0].result, 2);
    EXPECT_EQ(host.shown()[1].name, "Outer");
    EXPECT_EQ(host.shown()[1].texts[3], "Outer") << "texts are taken after the init procedure";
    EXPECT_TRUE(host.failures().empty());
    EXPECT_TRUE(host.ledger().violations().empty());
}

TEST_F(ToolkitTest, ALongSessionKeepsOnlyTheLatestEndedDialogs) {
    host.dialogs().provideTemplate(smallTemplate(500));
    ADMItemRef firstOk = nullptr;
    host.dialogs().onOpen([&](const Dialog& d) {
        if (firstOk == nullptr)
            firstOk = d.at(1).ref();
    });
    const std::size_t runs = simhost::DialogToolkit::kKeptEndedDialogs + 6;
    for (std::size_t i = 0; i < runs; ++i)
        ASSERT_EQ(dialogs->Modal(nullptr, "Small", 500, 0, nullptr, nullptr), 1);
    EXPECT_EQ(host.dialogs().history().size(), simhost::DialogToolkit::kKeptEndedDialogs + 1);
    EXPECT_EQ(host.dialogs().history().front().get(), &dialog) << "open dialogs are never dropped";
    EXPECT_EQ(host.shown().size(), runs);

    // A handle of a long-gone dialog is still only a stale handle.
    EXPECT_EQ(items->GetIntValue(firstOk), 0);
    EXPECT_EQ(host.ledger().violations().size(), 1u);
}

}  // namespace
