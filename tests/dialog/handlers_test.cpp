// The handlers that keep the record and the preview in step with the controls.
#include "dialog_fixture.hpp"

namespace dialog_tests {
namespace {

// The one shape the preview put in the document (0 when there is none or more than one).
simhost::ObjectId previewShape(simhost::Host& host, std::size_t before) {
    const auto& art = host.document().topLevelArt();
    return art.size() == before + 1 ? art.back() : 0;
}

struct EnablingCase {
    int32_t useSwatch;
    int32_t linkPatterns;
    int32_t linkScaling;
    bool patternChoiceEnabled;  // 53, 61, 8
    bool behindIndexEnabled;    // 30
    bool verticalScaleEnabled;  // 11, 33
};

class EnablingRules : public DialogTest, public testing::WithParamInterface<EnablingCase> {};

TEST_P(EnablingRules, GreyOutWhatTheOptionsOverride) {
    const EnablingCase& c = GetParam();
    useSwatches(12);
    record().useSwatch = c.useSwatch;
    record().linkPatterns = c.linkPatterns;
    record().linkScaling = c.linkScaling;
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                              EXPECT_EQ(dialog.at(53).enabled, c.patternChoiceEnabled);
                              EXPECT_EQ(dialog.at(61).enabled, c.patternChoiceEnabled);
                              EXPECT_EQ(dialog.at(8).enabled, c.patternChoiceEnabled);
                              EXPECT_EQ(dialog.at(30).enabled, c.behindIndexEnabled);
                              EXPECT_EQ(dialog.at(11).enabled, c.verticalScaleEnabled);
                              EXPECT_EQ(dialog.at(33).enabled, c.verticalScaleEnabled);
                              // Greyed-out controls are still read on every change.
                              dialog.at(8).setValue(5);
                              dialog.at(11).setValue(77);
                          }),
                          UserAction::type(9, "10")}),
              kNoErr);
    EXPECT_EQ(record().frontPatternIndex, 5);
    EXPECT_FLOAT_EQ(record().frontScaleV, 77.0f);
    EXPECT_EQ(failures(), "");
}

INSTANTIATE_TEST_SUITE_P(Options, EnablingRules,
                         testing::Values(EnablingCase{0, 0, 0, true, true, true},
                                         EnablingCase{1, 0, 0, false, false, true},
                                         EnablingCase{1, 1, 1, false, false, false},
                                         EnablingCase{0, 1, 0, true, false, true},
                                         EnablingCase{0, 0, 1, true, true, false}));

TEST_F(DialogTest, TickingAnOptionAppliesTheEnablingRulesAtOnce) {
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::page("Settings"), UserAction::tick(66), UserAction::run([](Dialog& dialog) {
                              EXPECT_FALSE(dialog.at(53).enabled);
                              EXPECT_FALSE(dialog.at(8).enabled);
                          }),
                          UserAction::tick(66, false), UserAction::tick(70), UserAction::run([](Dialog& dialog) {
                              EXPECT_TRUE(dialog.at(8).enabled);
                              EXPECT_FALSE(dialog.at(30).enabled);
                          })}),
              kNoErr);
    EXPECT_EQ(record().linkPatterns, 1);
    EXPECT_EQ(record().useSwatch, 0);
}

TEST_F(DialogTest, EveryChangeLeavesExactlyOnePreview) {
    const std::size_t before = artCount();
    std::vector<simhost::ObjectId> shapes;
    auto look = UserAction::run([&](Dialog&) { shapes.push_back(previewShape(*host, before)); });
    ASSERT_EQ(
        openDialog({look, UserAction::type(10, "250"), look, UserAction::tick(54), look, UserAction::page("Size"),
                    UserAction::choose(91, " Oval"), look, UserAction::type(39, "3"), look,
                    UserAction::page("Behind"), UserAction::type(31, "45"), look, UserAction::press(80), look}),
        kNoErr);
    ASSERT_EQ(shapes.size(), 7u);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_NE(shapes[i], 0u) << "after step " << i;
        if (i > 0) {
            EXPECT_NE(shapes[i], shapes[i - 1]) << "step " << i << " did not rebuild";
        }
    }
    EXPECT_EQ(previewShape(*host, before), shapes.back());
    EXPECT_EQ(record().previewDrawn, 1);
    EXPECT_EQ(record().finalRun, 0);
    EXPECT_FLOAT_EQ(record().frontScaleH, 250.0f);
    EXPECT_EQ(record().baseShape, 1);
    EXPECT_EQ(record().repeatCount, 3);
    EXPECT_FLOAT_EQ(record().behindRotate, 45.0f);
}

TEST_F(DialogTest, UntickingPreviewKeepsTheLastOneUntilTickedAgain) {
    const std::size_t before = artCount();
    simhost::ObjectId drawn = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { drawn = previewShape(*host, before); }),
                          UserAction::tick(3, false), UserAction::type(10, "300"), UserAction::press(80),
                          UserAction::run([&](Dialog&) {
                              EXPECT_EQ(previewShape(*host, before), drawn);
                              EXPECT_EQ(record().previewDrawn, 0);
                              EXPECT_FLOAT_EQ(record().frontScaleH, 300.0f);
                          }),
                          UserAction::tick(3), UserAction::run([&](Dialog&) {
                              const simhost::ObjectId redrawn = previewShape(*host, before);
                              EXPECT_NE(redrawn, 0u);
                              EXPECT_NE(redrawn, drawn);
                              EXPECT_EQ(record().previewDrawn, 1);
                          })}),
              kNoErr);
    EXPECT_NE(drawn, 0u);
}

TEST_F(DialogTest, ShuffleRebuildsOnlyWithPreview) {
    const std::size_t before = artCount();
    simhost::ObjectId first = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { first = previewShape(*host, before); }),
                          UserAction::press(80), UserAction::run([&](Dialog&) {
                              EXPECT_NE(previewShape(*host, before), first);
                              EXPECT_NE(previewShape(*host, before), 0u);
                          })}),
              kNoErr);

    record().preview = 0;
    host->journal().clear();
    ASSERT_EQ(
        openDialog({UserAction::run([](Dialog& dialog) { dialog.at(12).setValue(33); }), UserAction::press(80)}),
        kNoErr);
    EXPECT_FLOAT_EQ(record().frontShiftAngle, 33.0f);  // re-read all the same
    EXPECT_EQ(host->journal().count("AIUndoSuite.UndoChanges"), 0u);
    EXPECT_EQ(record().previewDrawn, 0);
}

// The zoom spin edit zooms the first view at once, and does nothing else.
TEST_F(DialogTest, ZoomSetsTheFirstView) {
    const std::size_t before = artCount();
    const std::pair<const char*, float> cases[] = {{"100", 1.0f}, {"250", 2.5f}, {"500", 5.0f}};
    for (const auto& [typed, zoom] : cases) {
        simhost::ObjectId shape = 0;
        ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { shape = previewShape(*host, before); }),
                              UserAction::type(45, typed),
                              UserAction::run([&](Dialog&) { EXPECT_EQ(previewShape(*host, before), shape); })}),
                  kNoErr);
        ASSERT_FALSE(host->document().views().empty());
        EXPECT_FLOAT_EQ(host->document().views().front().zoom, zoom) << typed;
        EXPECT_FLOAT_EQ(record().viewZoom, std::stof(typed));
    }
}

TEST_F(DialogTest, OpeningDoesNotZoom) {
    record().viewZoom = 400.0f;
    ASSERT_EQ(openDialog({}), kNoErr);
    EXPECT_FLOAT_EQ(host->document().views().front().zoom, 1.0f);
}

TEST_F(DialogTest, ZoomWithoutAViewKeepsTheValue) {
    host->document().removeViews();
    ASSERT_EQ(openDialog({UserAction::type(45, "250")}), kNoErr);
    EXPECT_FLOAT_EQ(record().viewZoom, 250.0f);
    EXPECT_EQ(failures(), "");
    EXPECT_TRUE(host->document().views().empty());
}

TEST_F(DialogTest, OKSavesThePlaceAndTheNextOpeningRestoresIt) {
    record().dialogBoundsSaved = 0;
    ADMRect left{};
    ASSERT_EQ(openDialog({UserAction::move(30, 20),
                          UserAction::run([&](Dialog& dialog) { left = dialog.bounds(); }), UserAction::ok()}),
              kNoErr);
    EXPECT_EQ(record().dialogBoundsSaved, 1);
    EXPECT_EQ(record().dialogLeft, left.left);
    EXPECT_EQ(record().dialogTop, left.top);
    EXPECT_EQ(record().dialogRight, left.right);
    EXPECT_EQ(record().dialogBottom, left.bottom);
    EXPECT_EQ(left.left, simhost::DialogToolkit::kDefaultLeft + 30);

    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                  EXPECT_EQ(dialog.bounds().left, left.left);
                  EXPECT_EQ(dialog.bounds().top, left.top);
                  EXPECT_EQ(dialog.width(), 500);
              })}),
              kNoErr);
}

TEST_F(DialogTest, CancelRestoresTheOldPlace) {
    ASSERT_EQ(openDialog({UserAction::ok()}), kNoErr);
    const FilterParameters saved = record();
    ASSERT_EQ(saved.dialogBoundsSaved, 1);
    ASSERT_EQ(openDialog({UserAction::move(50, 60), UserAction::type(9, "20"),
                          UserAction::run([&](Dialog&) { EXPECT_EQ(record().dialogLeft, saved.dialogLeft + 50); }),
                          UserAction::cancel()}),
              kCanceledErr);
    EXPECT_EQ(record().dialogLeft, saved.dialogLeft);
    EXPECT_EQ(record().dialogTop, saved.dialogTop);
    EXPECT_FLOAT_EQ(record().frontRotate, saved.frontRotate);
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog& dialog) {
                  EXPECT_EQ(dialog.bounds().left, saved.dialogLeft);
                  EXPECT_EQ(dialog.bounds().top, saved.dialogTop);
              })}),
              kNoErr);
}

TEST_F(DialogTest, OKKeepsThePreviewAndGoUsesIt) {
    const std::size_t before = artCount();
    ASSERT_EQ(openDialog({UserAction::type(10, "200"), UserAction::ok()}), kNoErr);
    const simhost::ObjectId shape = previewShape(*host, before);
    ASSERT_NE(shape, 0u);
    EXPECT_EQ(record().previewDrawn, 1);
    ASSERT_EQ(host->go(), kNoErr);
    EXPECT_EQ(previewShape(*host, before), shape);
}

}  // namespace
}  // namespace dialog_tests
