// The dialog the init procedure builds: its items, their settings, the pages and the popup lists.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

#include "dialog_fixture.hpp"

namespace dialog_tests {
namespace {

using simhost::Item;
using simhost::ItemKind;

enum class Proc { None, Notify, Track };

struct ExpectedItem {
    int32_t id;
    ItemKind kind;
    ADMRect bounds;
    int page;  // 0: every page
    const char* text;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<int32_t> precision;
    Proc proc;
};

constexpr auto Spin = ItemKind::SpinEdit;
constexpr auto Text = ItemKind::TextStatic;
constexpr auto Popup = ItemKind::PopupList;
constexpr auto Picture = ItemKind::PicturePushButton;
constexpr auto Button = ItemKind::TextPushButton;
constexpr auto Check = ItemKind::TextCheckBox;
constexpr auto N = std::nullopt;

// The layout in creation order; the pattern index ranges (items 8 and 30) follow the document.
const ExpectedItem kItems[] = {
    {8, Spin, {180, 60, 240, 80}, 1, "", 0, 0, N, Proc::Notify},
    {9, Spin, {180, 82, 240, 102}, 1, "", -360, 360, 2, Proc::Notify},
    {10, Spin, {180, 104, 240, 124}, 1, "", 5, 1000, 2, Proc::Notify},
    {11, Spin, {280, 104, 340, 124}, 1, "", 5, 1000, 2, Proc::Notify},
    {12, Spin, {180, 126, 240, 146}, 1, "", -360, 360, 2, Proc::Notify},
    {13, Spin, {280, 126, 340, 146}, 1, "", -4000, 4000, 2, Proc::Notify},
    {14, Spin, {180, 148, 240, 168}, 1, "", -360, 360, 2, Proc::Notify},
    {15, Spin, {280, 148, 340, 168}, 1, "", -360, 360, 2, Proc::Notify},
    {16, Spin, {180, 170, 240, 190}, 1, "", -360, 360, 2, Proc::Notify},
    {45, Spin, {430, 265, 490, 285}, 0, "", 1, 500, 2, Proc::Notify},
    {30, Spin, {180, 60, 240, 80}, 2, "", 0, 0, N, Proc::Notify},
    {31, Spin, {180, 82, 240, 102}, 2, "", -360, 360, 2, Proc::Notify},
    {32, Spin, {180, 104, 240, 124}, 2, "", 5, 1000, 2, Proc::Notify},
    {33, Spin, {280, 104, 340, 124}, 2, "", 5, 1000, 2, Proc::Notify},
    {34, Spin, {180, 126, 240, 146}, 2, "", -360, 360, 2, Proc::Notify},
    {35, Spin, {280, 126, 340, 146}, 2, "", -4000, 4000, 2, Proc::Notify},
    {36, Spin, {180, 148, 240, 168}, 2, "", -360, 360, 2, Proc::Notify},
    {37, Spin, {280, 148, 340, 168}, 2, "", -360, 360, 2, Proc::Notify},
    {38, Spin, {180, 170, 240, 190}, 2, "", -4000, 4000, 2, Proc::Notify},
    {4, Spin, {180, 60, 240, 80}, 3, "", 0, 4000, 2, Proc::Notify},
    {5, Spin, {250, 60, 310, 80}, 3, "", 0, 4000, 2, Proc::Notify},
    {6, Spin, {180, 82, 240, 102}, 3, "", -5000, 5000, 2, Proc::Notify},
    {7, Spin, {250, 82, 310, 102}, 3, "", -5000, 5000, 2, Proc::Notify},
    {39, Spin, {180, 104, 240, 124}, 3, "", 1, 40, N, Proc::Notify},
    {111, Text, {10, 60, 148, 80}, 1, "Front pattern", N, N, N, Proc::None},
    {113, Text, {10, 82, 148, 102}, 1, "Rotate(o)", N, N, N, Proc::None},
    {115, Text, {10, 104, 148, 124}, 1, "Scale(%)", N, N, N, Proc::None},
    {117, Text, {10, 126, 148, 146}, 1, "Shift(o/p)", N, N, N, Proc::None},
    {119, Text, {10, 148, 148, 168}, 1, "Shear(o)", N, N, N, Proc::None},
    {121, Text, {10, 170, 148, 190}, 1, "Reflect Angle(o)", N, N, N, Proc::None},
    {112, Text, {10, 60, 148, 80}, 2, "Behind pattern", N, N, N, Proc::None},
    {114, Text, {10, 82, 148, 102}, 2, "Rotate(o)", N, N, N, Proc::None},
    {116, Text, {10, 104, 148, 124}, 2, "Scale(%)", N, N, N, Proc::None},
    {118, Text, {10, 126, 148, 146}, 2, "Shift(o/p)", N, N, N, Proc::None},
    {120, Text, {10, 148, 148, 168}, 2, "Shear(o)", N, N, N, Proc::None},
    {122, Text, {10, 170, 148, 190}, 2, "Reflect Angle(o)", N, N, N, Proc::None},
    {110, Text, {10, 70, 148, 90}, 3, "Dimensions (p)", N, N, N, Proc::None},
    {123, Text, {10, 104, 148, 124}, 3, "Repeats", N, N, N, Proc::None},
    {95, Popup, {410, 150, 490, 170}, 0, "", N, N, N, Proc::Notify},
    {90, Popup, {10, 80, 200, 100}, 4, "", N, N, N, Proc::Notify},
    {93, Popup, {10, 110, 200, 130}, 4, "", N, N, N, Proc::Notify},
    {94, Popup, {10, 140, 200, 160}, 4, "", N, N, N, Proc::Notify},
    {96, Popup, {10, 170, 200, 190}, 4, "", N, N, N, Proc::Notify},
    {91, Popup, {10, 200, 220, 220}, 3, "", N, N, N, Proc::Notify},
    {160, Picture, {250, 104, 270, 124}, 1, "", N, N, N, Proc::Track},
    {161, Picture, {350, 104, 370, 124}, 1, "", N, N, N, Proc::Track},
    {162, Picture, {250, 104, 270, 124}, 2, "", N, N, N, Proc::Track},
    {163, Picture, {350, 104, 370, 124}, 2, "", N, N, N, Proc::Track},
    {164, Picture, {250, 82, 270, 102}, 1, "", N, N, N, Proc::Track},
    {165, Picture, {250, 82, 270, 102}, 2, "", N, N, N, Proc::Track},
    {166, Picture, {250, 60, 270, 80}, 1, "", N, N, N, Proc::Track},
    {167, Picture, {250, 60, 270, 80}, 2, "", N, N, N, Proc::Track},
    {1, Button, {410, 10, 490, 30}, 0, "OK", N, N, N, Proc::Notify},
    {2, Button, {410, 40, 490, 60}, 0, "Cancel", N, N, N, Proc::None},
    {80, Button, {410, 70, 490, 90}, 0, "Shuffle", N, N, N, Proc::Notify},
    {81, Button, {410, 100, 490, 120}, 0, "Tumble", N, N, N, Proc::Notify},
    {54, Check, {10, 200, 150, 214}, 1, "Reflect [R]", N, N, N, Proc::Notify},
    {62, Check, {10, 200, 150, 214}, 2, "Reflect [R]", N, N, N, Proc::Notify},
    {3, Check, {410, 130, 490, 144}, 0, "Preview", N, N, N, Proc::Notify},
    {50, Check, {10, 60, 44, 74}, 5, "1", N, N, N, Proc::Notify},
    {58, Check, {45, 60, 250, 74}, 5, "Rotate 2[R]", N, N, N, Proc::Notify},
    {51, Check, {10, 77, 44, 91}, 5, "1", N, N, N, Proc::Notify},
    {59, Check, {45, 77, 250, 91}, 5, "Scale 2[R]", N, N, N, Proc::Notify},
    {57, Check, {10, 94, 44, 108}, 5, "1", N, N, N, Proc::Notify},
    {65, Check, {45, 94, 250, 108}, 5, "Shift 2[R]", N, N, N, Proc::Notify},
    {56, Check, {10, 111, 44, 125}, 5, "1", N, N, N, Proc::Notify},
    {64, Check, {45, 111, 250, 125}, 5, "Shear 2[R]", N, N, N, Proc::Notify},
    {55, Check, {10, 128, 44, 142}, 5, "1", N, N, N, Proc::Notify},
    {63, Check, {45, 128, 250, 142}, 5, "Reflection 2[R]", N, N, N, Proc::Notify},
    {52, Check, {10, 145, 44, 159}, 5, "1", N, N, N, Proc::Notify},
    {60, Check, {45, 145, 200, 159}, 5, "Opacity 2[R]", N, N, N, Proc::Notify},
    {53, Check, {10, 162, 44, 176}, 5, "1", N, N, N, Proc::Notify},
    {61, Check, {45, 162, 250, 176}, 5, "Pattern 2[R]", N, N, N, Proc::Notify},
    {66, Check, {10, 179, 250, 193}, 5, "Use swatch", N, N, N, Proc::Notify},
    {68, Check, {10, 196, 250, 210}, 5, "No permanent style", N, N, N, Proc::Notify},
    {67, Check, {10, 213, 250, 227}, 5, "Create symbol", N, N, N, Proc::Notify},
    {69, Check, {10, 230, 250, 244}, 5, "Swap [R]", N, N, N, Proc::Notify},
    {70, Check, {10, 247, 250, 260}, 5, "Link patterns", N, N, N, Proc::Notify},
    {71, Check, {10, 263, 250, 277}, 5, "Link scaling", N, N, N, Proc::Notify},
    {140, Picture, {10, 5, 60, 35}, 0, "", N, N, N, Proc::Notify},
    {141, Picture, {80, 5, 130, 35}, 0, "", N, N, N, Proc::Notify},
    {142, Picture, {150, 5, 200, 35}, 0, "", N, N, N, Proc::Notify},
    {143, Picture, {220, 5, 270, 35}, 0, "", N, N, N, Proc::Notify},
    {144, Picture, {290, 5, 340, 35}, 0, "", N, N, N, Proc::Notify},
    {145, Text, {14, 40, 68, 55}, 0, "Front", N, N, N, Proc::None},
    {146, Text, {80, 40, 140, 55}, 0, "Behind", N, N, N, Proc::None},
    {147, Text, {159, 40, 200, 55}, 0, "Size", N, N, N, Proc::None},
    {148, Text, {223, 40, 270, 55}, 0, "Tweak", N, N, N, Proc::None},
    {149, Text, {284, 40, 342, 55}, 0, "Settings", N, N, N, Proc::None},
};

TEST_F(DialogTest, BuildsEveryItemInOrderWithItsSettings) {
    const double lastPattern = double(std::max<std::size_t>(host->document().patterns().size(), 1) - 1);
    ASSERT_GT(lastPattern, 0.0);  // the sample document has several swatches
    std::vector<int32_t> createdIds;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                  for (const auto& item : dialog.items()) {
                      createdIds.push_back(item->id());
                  }
                  for (const ExpectedItem& expected : kItems) {
                      SCOPED_TRACE(testing::Message() << "item " << expected.id);
                      const Item* item = dialog.item(expected.id);
                      ASSERT_NE(item, nullptr);
                      EXPECT_EQ(item->kind(), expected.kind);
                      EXPECT_EQ(item->bounds.left, expected.bounds.left);
                      EXPECT_EQ(item->bounds.top, expected.bounds.top);
                      EXPECT_EQ(item->bounds.right, expected.bounds.right);
                      EXPECT_EQ(item->bounds.bottom, expected.bounds.bottom);
                      EXPECT_EQ(item->units, kADMNoUnits);
                      if (!item->isSpinEdit()) {
                          EXPECT_EQ(item->text(), expected.text);
                      }
                      if (item->isSpinEdit()) {
                          const bool patternIndex = expected.id == 8 || expected.id == 30;
                          EXPECT_EQ(item->minValue(), expected.minimum);
                          EXPECT_EQ(item->maxValue(),
                                    patternIndex ? std::optional<double>(lastPattern) : expected.maximum);
                          EXPECT_EQ(item->precision, expected.precision);
                      }
                      EXPECT_EQ(item->notifyProc != nullptr, expected.proc == Proc::Notify);
                      EXPECT_EQ(item->trackProc != nullptr, expected.proc == Proc::Track);
                      EXPECT_EQ(item->visible, expected.page == 0 || expected.page == 1);
                      EXPECT_TRUE(item->enabled);
                  }
              })}),
              kNoErr);
    std::vector<int32_t> expectedIds;
    for (const ExpectedItem& expected : kItems) {
        expectedIds.push_back(expected.id);
    }
    EXPECT_EQ(createdIds, expectedIds);
    EXPECT_EQ(failures(), "");
}

TEST_F(DialogTest, ShowsTheRecordInItsControls) {
    record().frontRotate = 12.5f;
    record().behindReflectAngle = -3999.0f;
    record().repeatCount = 7;
    record().viewZoom = 250.0f;
    record().shapeWidth = 0.0f;
    record().swapPatterns = 1;
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) {
                  EXPECT_FLOAT_EQ(dialog.at(9).floatValue(), 12.5f);
                  EXPECT_FLOAT_EQ(dialog.at(38).floatValue(), -3999.0f);
                  EXPECT_EQ(dialog.at(39).intValue(), 7);
                  EXPECT_FLOAT_EQ(dialog.at(45).floatValue(), 250.0f);
                  EXPECT_FLOAT_EQ(dialog.at(4).floatValue(), 0.0f);
                  EXPECT_TRUE(dialog.at(69).booleanValue());
                  EXPECT_FALSE(dialog.at(3).booleanValue());
                  EXPECT_FALSE(dialog.at(54).booleanValue());
              })}),
              kNoErr);
    EXPECT_EQ(record().repeatCount, 7);
    EXPECT_FLOAT_EQ(record().behindReflectAngle, -3999.0f);
}

TEST_F(DialogTest, SizesTheDialogAndKeepsTheHostPlaceWithoutSavedBounds) {
    record().dialogBoundsSaved = 0;
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) {
                  EXPECT_EQ(dialog.width(), 500);
                  EXPECT_EQ(dialog.height(), 290);
                  EXPECT_EQ(dialog.bounds().left, simhost::DialogToolkit::kDefaultLeft);
                  EXPECT_EQ(dialog.bounds().top, simhost::DialogToolkit::kDefaultTop);
              })}),
              kNoErr);
}

TEST_F(DialogTest, ASavedRectangleOnlyDecidesThePlace) {
    record().dialogLeft = 30;
    record().dialogTop = 40;
    record().dialogRight = 900;
    record().dialogBottom = 41;
    record().dialogBoundsSaved = 1;
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) {
                  EXPECT_EQ(dialog.bounds().left, 30);
                  EXPECT_EQ(dialog.bounds().top, 40);
                  EXPECT_EQ(dialog.width(), 500);
                  EXPECT_EQ(dialog.height(), 290);
              })}),
              kNoErr);
}

// The pattern index spin edits accept the document's pattern indices, and 0 when there are none.
struct PatternRangeCase {
    int swatches;
    bool countFails;
    int32_t lastIndex;
};

class PatternRange : public DialogTest, public testing::WithParamInterface<PatternRangeCase> {};

TEST_P(PatternRange, FollowsThePatternCount) {
    const PatternRangeCase& c = GetParam();
    useSwatches(c.swatches);
    record().preview = 0;
    if (c.countFails) {
        host->faults().failCall("AIPatternSuite.CountPatterns", 1, kBadParameterErr, true);
    }
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                              for (int32_t id : {8, 30}) {
                                  EXPECT_EQ(dialog.at(id).minValue(), 0.0) << id;
                                  EXPECT_EQ(dialog.at(id).maxValue(), double(c.lastIndex)) << id;
                              }
                          }),
                          UserAction::type(8, "50"), UserAction::page("Behind"), UserAction::type(30, "50")}),
              kNoErr);
    EXPECT_EQ(record().frontPatternIndex, c.lastIndex);
    EXPECT_EQ(record().behindPatternIndex, c.lastIndex);
}

INSTANTIATE_TEST_SUITE_P(Swatches, PatternRange,
                         testing::Values(PatternRangeCase{0, false, 0}, PatternRangeCase{1, false, 0},
                                         PatternRangeCase{12, false, 11}, PatternRangeCase{12, true, 0}));

// Opening on the stored page: its members and the items of every page are visible, nothing else, and
// its caption is bold.
struct PageCase {
    int32_t stored;
    int shown;
    int32_t firstNotified;
    int32_t button;
};

class OpensOnPage : public DialogTest, public testing::WithParamInterface<PageCase> {};

TEST_P(OpensOnPage, ShowsOnlyThatPage) {
    const PageCase& c = GetParam();
    record().activePage = c.stored;
    std::set<int32_t> visible;
    std::vector<int32_t> bold;
    host->journal().clear();
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                  for (const auto& item : dialog.items()) {
                      if (item->visible) {
                          visible.insert(item->id());
                      }
                      if (item->font == kADMBoldDialogFont) {
                          bold.push_back(item->id());
                      }
                  }
              })}),
              kNoErr);
    std::set<int32_t> expected(pageMembers(0).begin(), pageMembers(0).end());
    expected.insert(pageMembers(c.shown).begin(), pageMembers(c.shown).end());
    EXPECT_EQ(visible, expected);
    EXPECT_EQ(bold, std::vector<int32_t>{144 + c.shown});
    EXPECT_EQ(record().activePage, c.shown);

    // The init procedure's two notifications go to the page's first control, then to its button.
    std::vector<std::string> sent;
    for (const auto& entry : host->journal().entries()) {
        if (entry.operation == "ADMItemSuite.SendNotify") {
            sent.push_back(entry.arguments);
        }
    }
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0].rfind(std::to_string(c.firstNotified) + ",", 0), 0u) << sent[0];
    EXPECT_EQ(sent[1].rfind(std::to_string(c.button) + ",", 0), 0u) << sent[1];
}

INSTANTIATE_TEST_SUITE_P(StoredPages, OpensOnPage,
                         testing::Values(PageCase{1, 1, 8, 140}, PageCase{2, 2, 30, 141}, PageCase{3, 3, 4, 142},
                                         PageCase{4, 4, 90, 143}, PageCase{5, 5, 50, 144}, PageCase{0, 1, 8, 140},
                                         PageCase{6, 1, 8, 140}, PageCase{-1, 1, 8, 140}));

TEST_F(DialogTest, PageButtonsOnlySwitchPages) {
    const FilterParameters before = record();
    std::size_t art = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { art = artCount(); }), UserAction::page("Settings"),
                          UserAction::page("Tweak"), UserAction::run([&](Dialog& dialog) {
                              EXPECT_TRUE(dialog.at(90).visible);
                              EXPECT_FALSE(dialog.at(50).visible);
                              EXPECT_EQ(dialog.at(148).font, kADMBoldDialogFont);
                              EXPECT_EQ(dialog.at(149).font, kADMDefaultFont);
                              EXPECT_EQ(artCount(), art);
                          })}),
              kNoErr);
    EXPECT_EQ(record().activePage, 4);
    EXPECT_EQ(record().frontRotate, before.frontRotate);
    EXPECT_EQ(record().repeatCount, before.repeatCount);
}

// The popups: their entries, ids, and the choice a new record shows.
struct PopupCase {
    int32_t id;
    std::vector<std::string> entries;
    int32_t chosen;
};

const std::vector<std::string> kBlendNames = {
    " Multiply",    " Screen", " Overlay",    " Soft light",           " Hard light", " Colour dodge",
    " Colour burn", " Darken", " Lighten",    " Difference",           " Exclusion",  " Hue",
    " Saturation",  " Colour", " Luminosity", " Randomized blend mode"};

std::vector<std::string> withFirst(std::string first, std::vector<std::string> rest, std::string last = "") {
    rest.insert(rest.begin(), std::move(first));
    if (!last.empty()) {
        rest.push_back(std::move(last));
    }
    return rest;
}

TEST_F(DialogTest, PopupsHoldTheirEntriesAndShowTheStoredChoice) {
    const std::vector<PopupCase> popups = {
        {90, withFirst(" Normal blend of front / behind", kBlendNames), 1},
        {96, withFirst(" Normal blend of fill color", kBlendNames, " No randomized fill applied"), 17},
        {95,
         {" Reset", " 400% scaled", " Random fill / multiply", " Star", " Randomized pattern art", " Difference",
          " Color mix", " Subtle rotate", " Multiple fills", " Random patterns"},
         0},
        {91,
         {" Rectangle", " Oval", " Triangle", " Hexagon", " Star3", " Star4", " Star5", " Star6", " Star7",
          " Star8", " Star12"},
         0},
        {94,
         {" No color modifications to pattern", " Random color pattern 1+2", " Random color pattern 1",
          " Random color pattern 2", " Negative color pattern 1+2", " Negative color pattern 1",
          " Negative color pattern 2", " Jitter color pattern 1+2", " Jitter color pattern 1",
          " Jitter color pattern 2", " Channel 1 randomized", " Channel 2 randomized", " Channel 3 randomized",
          " Channel 4 randomized"},
         0},
        {93,
         {" No linking of transformation settings", " Link behind to front settings",
          " Link behind to front settings perpendicular", " Link behind to half front settings",
          " Link accumulate 2", " Link 2 to rotate 1 factor"},
         0},
    };
    record().presetIndex = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                  for (const PopupCase& popup : popups) {
                      SCOPED_TRACE(testing::Message() << "popup " << popup.id);
                      const simhost::ItemList* list = dialog.at(popup.id).list();
                      ASSERT_NE(list, nullptr);
                      ASSERT_EQ(list->size(), static_cast<int32_t>(popup.entries.size()));
                      for (int32_t i = 0; i < list->size(); ++i) {
                          EXPECT_EQ(list->entry(i)->text, popup.entries[std::size_t(i)]);
                          EXPECT_EQ(list->entry(i)->id, i);
                      }
                      EXPECT_EQ(list->activeIndex(), popup.chosen);
                  }
              })}),
              kNoErr);
}

// Choosing an entry stores its position; the two blend lists are independent.
struct ChoiceCase {
    int32_t popup;
    const char* page;
    int32_t position;
    int32_t FilterParameters::*field;
};

TEST_F(DialogTest, ChoosingAnEntryStoresItsPosition) {
    const ChoiceCase cases[] = {
        {90, "Tweak", 16, &FilterParameters::patternBlendMode},
        {96, "Tweak", 17, &FilterParameters::fillBlendMode},
        {91, "Size", 10, &FilterParameters::baseShape},
        {94, "Tweak", 13, &FilterParameters::colorModification},
        {93, "Tweak", 5, &FilterParameters::transformLinking},
    };
    record().preview = 0;
    for (const ChoiceCase& c : cases) {
        ASSERT_EQ(openDialog({UserAction::page(c.page), UserAction::chooseIndex(c.popup, c.position)}), kNoErr);
        EXPECT_EQ(record().*c.field, c.position) << c.popup;
    }
    ASSERT_EQ(openDialog({UserAction::page("Tweak"), UserAction::choose(90, " Multiply"),
                          UserAction::choose(96, " Difference")}),
              kNoErr);
    EXPECT_EQ(record().patternBlendMode, 1);
    EXPECT_EQ(record().fillBlendMode, 10);
    EXPECT_EQ(failures(), "");
}

TEST_F(DialogTest, AnUnknownPresetShowsResetAndAppliesNothing) {
    record().presetIndex = -12345;
    record().frontScaleH = 333.0f;
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) {
                  EXPECT_EQ(dialog.at(95).list()->activeIndex(), 0);
                  EXPECT_EQ(dialog.at(95).displayText(), " Reset");
              })}),
              kNoErr);
    EXPECT_EQ(record().presetIndex, -12345);
    EXPECT_FLOAT_EQ(record().frontScaleH, 333.0f);
}

TEST_F(DialogTest, TheStoredPresetIsShownButNotApplied) {
    record().presetIndex = 3;
    record().frontScaleH = 333.0f;
    ASSERT_EQ(
        openDialog({UserAction::run([](Dialog& dialog) { EXPECT_EQ(dialog.at(95).displayText(), " Star"); })}),
        kNoErr);
    EXPECT_FLOAT_EQ(record().frontScaleH, 333.0f);
    EXPECT_EQ(record().baseShape, 0);
}

}  // namespace
}  // namespace dialog_tests

namespace dialog_tests {
namespace {

// The init procedure's calls, in the order the host sees them.
class InitOrder : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        record().dialogBoundsSaved = 1;
        host->journal().clear();
        ASSERT_EQ(openDialog({}), kNoErr);
        const auto& entries = host->journal().entries();
        auto modal = std::find_if(entries.begin(), entries.end(),
                                  [](const auto& e) { return e.operation == "ADMDialogSuite.Modal"; });
        ASSERT_NE(modal, entries.end());
        init.assign(modal + 1, entries.end());
    }

    static std::string shortName(const std::string& operation) {
        return operation.substr(operation.find('.') + 1);
    }
    static int32_t leadingId(const std::string& arguments) {
        return std::atoi(arguments.c_str() + (arguments.rfind("\"", 0) == 0 ? arguments.find(", ") + 2 : 0));
    }

    std::vector<simhost::JournalEntry> init;
};

TEST_F(InitOrder, PlacesSizesAndCountsBeforeCreatingItems) {
    std::vector<std::string> prologue;
    for (const auto& entry : init) {
        if (entry.operation == "ADMDialogSuite.CreateItem") {
            break;
        }
        prologue.push_back(shortName(entry.operation));
    }
    EXPECT_EQ(prologue, (std::vector<std::string>{"GetUserData", "SetBoundsRect", "Size", "CountPatterns"}));
}

// What follows the creation of one item of each kind, up to the next creation.
TEST_F(InitOrder, ConfiguresEachKindInItsOrder) {
    const std::map<int32_t, std::vector<std::string>> expected = {
        {8, {"SetIntValue", "SetMinIntValue", "SetMaxIntValue", "SetUnits", "SetNotifyProc"}},
        {9,
         {"SetFloatValue", "SetMinFloatValue", "SetMaxFloatValue", "SetUnits", "SetPrecision", "SetNotifyProc"}},
        {45,
         {"SetUnits", "SetMinFloatValue", "SetMaxFloatValue", "SetPrecision", "SetFloatValue", "SetNotifyProc"}},
        {39, {"SetIntValue", "SetMinIntValue", "SetMaxIntValue", "SetUnits", "SetNotifyProc", "Show"}},
        {38,
         {"SetFloatValue", "SetMinFloatValue", "SetMaxFloatValue", "SetUnits", "SetPrecision", "SetNotifyProc",
          "Show"}},
        {111, {"SetText"}},
        {112, {"SetText", "Show"}},
        {95, {}},
        {90, {"Show"}},
        {160, {"SetTrackProc"}},
        {162, {"SetTrackProc", "Show"}},
        {1, {"SetNotifyProc", "SetText"}},
        {2, {"SetText"}},
        {3, {"SetBooleanValue", "SetNotifyProc", "SetText"}},
        {50, {"SetBooleanValue", "SetNotifyProc", "SetText", "Show"}},
        {140, {"SetNotifyProc"}},
    };
    std::map<int32_t, std::vector<std::string>> seen;
    std::vector<std::string>* current = nullptr;
    for (const auto& entry : init) {
        if (entry.operation == "ADMDialogSuite.CreateItem") {
            current = &seen[leadingId(entry.arguments)];
        } else if (entry.operation.rfind("ADMItemSuite.", 0) == 0 && current != nullptr) {
            current->push_back(shortName(entry.operation));
        } else if (entry.operation == "ADMDialogSuite.GetItem") {
            break;  // the list phase
        }
    }
    EXPECT_EQ(seen.size(), 89u);
    for (const auto& [id, calls] : expected) {
        EXPECT_EQ(seen[id], calls) << "item " << id;
    }
}

TEST_F(InitOrder, FillsTheListsInTheirOrderBeforeTheRefresh) {
    std::vector<int32_t> popups;
    std::size_t inserted = 0;
    for (const auto& entry : init) {
        if (entry.operation == "ADMItemSuite.SendNotify") {
            break;
        }
        if (entry.operation == "ADMDialogSuite.GetItem") {
            popups.push_back(leadingId(entry.arguments));
        }
        inserted += entry.operation == "ADMListSuite.InsertEntry" ? 1 : 0;
    }
    // ... and then the page refresh looks up the Front page's first control.
    EXPECT_EQ(popups, (std::vector<int32_t>{90, 90, 96, 96, 95, 95, 91, 91, 94, 94, 93, 93, 8}));
    EXPECT_EQ(inserted, 17u + 18u + 10u + 11u + 14u + 6u);
}

}  // namespace
}  // namespace dialog_tests
