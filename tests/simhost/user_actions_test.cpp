// The scripted user: script lines, what a person can and cannot do to a dialog, and how a run ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "core/host_error.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "resources/resource_set.hpp"

namespace {

using simhost::Dialog;
using simhost::UserAction;
using Kind = simhost::UserAction::Kind;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct ParseCase {
    const char* line;
    Kind kind;
    int32_t item;
    std::string text;
    int32_t number;
    ADMPoint point;
    uint32_t modifiers;
    const char* described;  // what describe() gives back
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, ReadsTheLine) {
    const ParseCase& c = GetParam();
    UserAction action = UserAction::parse(c.line);
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.item, c.item);
    EXPECT_EQ(action.text, c.text);
    EXPECT_EQ(action.number, c.number);
    EXPECT_EQ(action.point.h, c.point.h);
    EXPECT_EQ(action.point.v, c.point.v);
    EXPECT_EQ(action.modifiers, c.modifiers);
    EXPECT_EQ(action.describe(), c.described);
    EXPECT_EQ(UserAction::parse(action.describe()).describe(), c.described) << "describe() reads back";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseTest,
    ::testing::Values(
        ParseCase{"press 81", Kind::Press, 81, "", 0, {}, 0, "press 81"},
        ParseCase{"ok", Kind::Press, 1, "", 0, {}, 0, "ok"},
        ParseCase{"  cancel\r\n", Kind::Press, 2, "", 0, {}, 0, "cancel"},
        ParseCase{"type 10=250", Kind::Type, 10, "250", 0, {}, 0, "type 10=250"},
        ParseCase{"type 9=-12.5", Kind::Type, 9, "-12.5", 0, {}, 0, "type 9=-12.5"},
        ParseCase{"tick 69", Kind::Tick, 69, "", 1, {}, 0, "tick 69"},
        ParseCase{"untick 3", Kind::Tick, 3, "", 0, {}, 0, "untick 3"},
        ParseCase{"choose 90= Multiply", Kind::Choose, 90, " Multiply", 0, {}, 0, "choose 90= Multiply"},
        ParseCase{"choose 95=Color mix", Kind::Choose, 95, "Color mix", 0, {}, 0, "choose 95=Color mix"},
        ParseCase{"choose 90#16", Kind::ChooseIndex, 90, "", 16, {}, 0, "choose 90#16"},
        ParseCase{"drag 164=120,80", Kind::Drag, 164, "", 0, {120, 80}, 0x20, "drag 164=120,80"},
        ParseCase{"drag 160=-30,5 modifiers=0x21",
                  Kind::Drag,
                  160,
                  "",
                  0,
                  {-30, 5},
                  0x21,
                  "drag 160=-30,5 modifiers=0x21"},
        ParseCase{"move 30,20", Kind::Move, 0, "", 0, {30, 20}, 0, "move 30,20"},
        ParseCase{"page Settings", Kind::Page, 0, "Settings", 0, {}, 0, "page Settings"}));

TEST(ParseErrorTest, NamesTheLineAndWhatIsWrong) {
    struct Case {
        const char* line;
        const char* why;
    };
    for (const Case& c : {Case{"", "empty"}, Case{"jump 4", "not an action"}, Case{"press", "not an item number"},
                          Case{"press eight", "not an item number"}, Case{"type 10", "ITEM=NUMBER"},
                          Case{"type 10=abc", "not a number"}, Case{"choose 90=", "no entry text"},
                          Case{"choose 90#x", "not an entry position"}, Case{"drag 164=120", "not a point"},
                          Case{"drag 164=1,2 shift", "modifiers=BITS"}, Case{"move 30", "DX,DY"},
                          Case{"page", "no page name"}, Case{"ok now", "takes nothing"}}) {
        try {
            UserAction::parse(c.line);
            ADD_FAILURE() << "\"" << c.line << "\" was read";
        } catch (const simhost::HostError& error) {
            EXPECT_THAT(error.what(), HasSubstr("\"" + std::string(c.line) + "\"")) << c.line;
            EXPECT_THAT(error.what(), HasSubstr(c.why)) << c.line;
        }
    }
}

// A binary file read as a script: the complaint shows control bytes as \xNN and stays short.
TEST(ParseErrorTest, ShowsUnreadableBytesReadably) {
    try {
        UserAction::parse(std::string("\x7F"
                                      "ELF\x02\x01\0",
                                      7) +
                          std::string(200, 'y'));
        ADD_FAILURE() << "binary text was read as an action";
    } catch (const simhost::HostError& error) {
        const std::string message = error.what();
        EXPECT_THAT(message, HasSubstr("\"\\x7FELF\\x02\\x01\\x00yyy"));
        EXPECT_THAT(message, HasSubstr("...\" is not an action"));
        EXPECT_LT(message.size(), 300u);
        EXPECT_EQ(std::count_if(message.begin(), message.end(), [](char c) { return c >= 0 && c < 0x20; }), 0);
    }
}

// ---- the user in front of a dialog

const ADMDialogSuite* g_dialogs = nullptr;
const ADMItemSuite* g_items = nullptr;
const ADMListSuite* g_lists = nullptr;
const ADMEntrySuite* g_entries = nullptr;
std::vector<int32_t> g_notified;

ASErr HOSTAPI recordNotify(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = g_items->GetDialog(item);
    int32_t id = 0;
    for (int32_t candidate : {1, 2, 3, 4, 5, 140, 141})
        if (g_dialogs->GetItem(dialog, candidate) == item)
            id = candidate;
    g_notified.push_back(id);
    g_items->DefaultNotify(item, notifier);
    return kNoErr;
}

ADMItemRef make(ADMDialogRef dialog, int32_t id, const char* type, ADMRect bounds, const char* text = nullptr) {
    ADMItemRef item = g_dialogs->CreateItem(dialog, id, type, &bounds, nullptr, nullptr);
    if (text)
        g_items->SetText(item, text);
    g_items->SetNotifyProc(item, recordNotify);
    return item;
}

// A small dialog with one item of each kind: 3 check box, 4 spin edit 0..100 with 1 decimal, 5 popup,
// 6 hidden button, 7 disabled button, 140/141 page buttons over captions "Alpha"/"Beta", 8 a static text.
ASErr HOSTAPI userDialogInit(ADMDialogRef dialog) {
    make(dialog, 1, kADMTextPushButtonType, {200, 10, 260, 30}, "OK");
    make(dialog, 2, kADMTextPushButtonType, {200, 40, 260, 60}, "Cancel");
    make(dialog, 3, kADMTextCheckBoxType, {10, 60, 100, 74}, "Preview");
    ADMItemRef spin = make(dialog, 4, kADMSpinEditType, {10, 80, 70, 100});
    g_items->SetMinFloatValue(spin, 0);
    g_items->SetMaxFloatValue(spin, 100);
    g_items->SetPrecision(spin, 1);
    ADMListRef list = g_items->GetList(make(dialog, 5, kADMPopupListType, {10, 110, 150, 130}));
    int32_t i = 0;
    for (const char* text : {" Normal", " Multiply", " Color mix"}) {
        ADMEntryRef entry = g_lists->InsertEntry(list, i);
        g_entries->SetText(entry, text);
        g_entries->SetID(entry, i++);
    }
    g_items->Show(make(dialog, 6, kADMTextPushButtonType, {200, 70, 260, 90}, "Hidden"), kASFalse);
    g_items->Enable(make(dialog, 7, kADMTextPushButtonType, {200, 100, 260, 120}, "Disabled"), kASFalse);
    make(dialog, 140, kADMPicturePushButtonType, {10, 5, 40, 30});
    make(dialog, 141, kADMPicturePushButtonType, {60, 5, 90, 30});
    make(dialog, 145, kADMTextStaticType, {8, 35, 50, 50}, "Alpha");
    make(dialog, 146, kADMTextStaticType, {58, 35, 100, 50}, "Beta");
    make(dialog, 8, kADMTextStaticType, {10, 140, 100, 160}, "Label");
    return kNoErr;
}

class UserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const void* table = nullptr;
        host.suites().acquire(kADMDialogSuite, kADMDialogSuiteVersion, &table);
        g_dialogs = static_cast<const ADMDialogSuite*>(table);
        host.suites().acquire(kADMItemSuite, kADMItemSuiteVersion, &table);
        g_items = static_cast<const ADMItemSuite*>(table);
        host.suites().acquire(kADMListSuite, kADMListSuiteVersion, &table);
        g_lists = static_cast<const ADMListSuite*>(table);
        host.suites().acquire(kADMEntrySuite, kADMEntrySuiteVersion, &table);
        g_entries = static_cast<const ADMEntrySuite*>(table);
        g_notified.clear();
        simhost::DialogTemplate frame;
        frame.resourceId = 700;
        frame.width = 200;
        frame.height = 120;
        host.dialogs().provideTemplate(frame);
    }

    int32_t run(std::vector<UserAction> actions) {
        host.dialogs().script("User", std::move(actions));
        int32_t result = g_dialogs->Modal(nullptr, "User", 700, 0, userDialogInit, nullptr);
        dialog = host.dialogs().last("User");
        return result;
    }

    simhost::Host host;
    Dialog* dialog = nullptr;
};

TEST_F(UserTest, WithoutAScriptTheUserPressesOk) {
    EXPECT_EQ(g_dialogs->Modal(nullptr, "User", 700, 0, userDialogInit, nullptr), 1);
    EXPECT_THAT(g_notified, ElementsAre(1));
    EXPECT_TRUE(host.failures().empty());
}

TEST_F(UserTest, AScriptThatRunsOutEndsWithOk) {
    EXPECT_EQ(run({UserAction::tick(3)}), 1);
    EXPECT_THAT(g_notified, ElementsAre(3, 1));
    EXPECT_TRUE(dialog->at(3).booleanValue());
}

// Actions after the dialog closed are not performed, and the run says so: a script that asked for them
// did not get what it asked for.
TEST_F(UserTest, ActionsAfterTheEndAreNotPerformedAndNamed) {
    EXPECT_EQ(run({UserAction::cancel(), UserAction::tick(3), UserAction::page("Alpha")}), 2);
    EXPECT_THAT(g_notified, ElementsAre(2));
    EXPECT_FALSE(dialog->at(3).booleanValue());
    ASSERT_EQ(host.failures().size(), 1u);
    EXPECT_THAT(host.failures()[0], HasSubstr("closed before the action \"tick 3\" and 1 more"));
}

TEST_F(UserTest, TypingClampsRoundsAndThenNotifies) {
    double seen = -1;
    EXPECT_EQ(run({UserAction::type(4, "250"), UserAction::run([&](Dialog& d) { seen = d.at(4).value(); }),
                   UserAction::type(4, "12.345")}),
              1);
    EXPECT_DOUBLE_EQ(seen, 100.0);
    EXPECT_DOUBLE_EQ(dialog->at(4).value(), 12.3);
    EXPECT_EQ(dialog->at(4).displayText(), "12.3");
    EXPECT_THAT(g_notified, ElementsAre(4, 4, 1));
}

TEST_F(UserTest, TickingABoxAlreadySoDoesNothing) {
    run({UserAction::tick(3, false), UserAction::tick(3), UserAction::tick(3)});
    EXPECT_THAT(g_notified, ElementsAre(3, 1));
}

TEST_F(UserTest, ChoosingFindsEntriesWithOrWithoutTheLeadingSpace) {
    std::vector<int32_t> chosen;
    auto look = UserAction::run([&](Dialog& d) { chosen.push_back(d.at(5).list()->activeIndex()); });
    run({UserAction::choose(5, " Multiply"), look, UserAction::choose(5, "Color mix"), look,
         UserAction::chooseIndex(5, 0), look});
    EXPECT_THAT(chosen, ElementsAre(1, 2, 0));
    EXPECT_THAT(g_notified, ElementsAre(5, 5, 5, 1));
}

TEST_F(UserTest, PagePressesTheButtonAboveTheCaption) {
    run({UserAction::page("Beta"), UserAction::page("Alpha")});
    EXPECT_THAT(g_notified, ElementsAre(141, 140, 1));
}

TEST_F(UserTest, MoveMovesTheDialogAndStopsAtTheEndsOfTheRange) {
    run({UserAction::move(30, -20)});
    EXPECT_EQ(dialog->bounds().left, simhost::DialogToolkit::kDefaultLeft + 30);
    EXPECT_EQ(dialog->bounds().top, simhost::DialogToolkit::kDefaultTop - 20);
    const int32_t width = dialog->width(), height = dialog->height();
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max(), kLeast = std::numeric_limits<int32_t>::min();
    dialog->move(kMost, kLeast);
    dialog->move(kMost, kLeast);
    EXPECT_EQ(dialog->bounds().right, kMost);
    EXPECT_EQ(dialog->bounds().top, kLeast);
    EXPECT_EQ(dialog->width(), width);
    EXPECT_EQ(dialog->height(), height);
}

TEST_F(UserTest, ObserversSeeTheOpeningAndEveryAction) {
    std::vector<std::string> seen;
    host.dialogs().onOpen([&](const Dialog& d) { seen.push_back("open " + d.name()); });
    host.dialogs().onAction([&](const Dialog&, const UserAction& a) { seen.push_back(a.describe()); });
    run({UserAction::tick(3), UserAction::type(4, "5")});
    EXPECT_THAT(seen, ElementsAre("open User", "tick 3", "type 4=5", "ok"));
}

TEST_F(UserTest, TheUserRefusesWhatAPersonCouldNotDo) {
    struct Case {
        UserAction action;
        const char* message;
    };
    for (const Case& c :
         {Case{UserAction::press(6), "cannot press item 6: it is hidden"},
          Case{UserAction::press(7), "cannot press item 7: it is disabled"},
          Case{UserAction::press(99), "cannot press item 99: there is no such item"},
          Case{UserAction::press(3), "cannot press item 3: it is a check box, not a push button"},
          Case{UserAction::tick(4), "cannot tick item 4: it is a spin edit, not a check box"},
          Case{UserAction::drag(3, {10, 10}), "cannot drag item 3: it is a check box, not a drag button"},
          Case{UserAction::type(4, "ten"), "cannot type into item 4: \"ten\" is not a number"},
          Case{UserAction::choose(5, " Screen"),
               "cannot choose from item 5: it has no entry \" Screen\"; its entries are \" Normal\", \" "
               "Multiply\", \" Color mix\""},
          Case{UserAction::chooseIndex(5, 3), "cannot choose from item 5: it has no entry 3"},
          Case{UserAction::page("Gamma"), "cannot open the page \"Gamma\": no page button is captioned so"}}) {
        host.fail("marker");
        std::size_t before = host.failures().size();
        g_notified.clear();
        EXPECT_EQ(run({c.action, UserAction::ok()}), 2) << c.message;
        ASSERT_EQ(host.failures().size(), before + 1) << c.message;
        EXPECT_THAT(host.failures().back(), HasSubstr(c.message));
        EXPECT_THAT(host.failures().back(), HasSubstr(c.action.describe()));
        EXPECT_TRUE(g_notified.empty()) << "nothing was notified and the script stopped: " << c.message;
    }
}

TEST_F(UserTest, TestCodeThatThrowsEndsTheDialogWithCancel) {
    EXPECT_EQ(run({UserAction::run([](Dialog&) { throw simhost::HostError("disk full"); })}), 2);
    ASSERT_EQ(host.failures().size(), 1u);
    EXPECT_THAT(host.failures()[0], HasSubstr("disk full"));
}

TEST_F(UserTest, ScriptsAreUsedOncePerRunInOrder) {
    host.dialogs().script("User", {UserAction::cancel()});
    host.dialogs().script("User", {UserAction::ok()});
    EXPECT_EQ(host.dialogs().pendingScripts("User"), 2u);
    EXPECT_EQ(g_dialogs->Modal(nullptr, "User", 700, 0, userDialogInit, nullptr), 2);
    EXPECT_EQ(g_dialogs->Modal(nullptr, "User", 700, 0, userDialogInit, nullptr), 1);
    EXPECT_EQ(host.dialogs().pendingScripts("User"), 0u);
}

}  // namespace
