// The presets popup and the Tumble button.
#include <cstring>

#include "dialog_fixture.hpp"

namespace dialog_tests {
namespace {

// A record with every word away from its default, each within its control's range.
void dirty(FilterParameters& p) {
    p.frontPatternIndex = 3;
    p.behindPatternIndex = 4;
    p.viewZoom = 150.0f;
    p.shapeWidth = 100.0f;
    p.shapeHeight = 200.0f;
    p.shapeX = 10.0f;
    p.shapeY = -10.0f;
    p.frontScaleH = 50.0f;
    p.frontScaleV = 60.0f;
    p.behindScaleH = 70.0f;
    p.behindScaleV = 80.0f;
    p.frontRotate = 11.0f;
    p.behindRotate = 12.0f;
    p.frontShiftAngle = 13.0f;
    p.behindShiftAngle = 14.0f;
    p.frontShiftDistance = 15.0f;
    p.behindShiftDistance = 16.0f;
    p.frontShearAngle = 17.0f;
    p.behindShearAngle = 18.0f;
    p.frontShearAxis = 19.0f;
    p.behindShearAxis = 20.0f;
    p.frontReflectAngle = 21.0f;
    p.behindReflectAngle = 22.0f;
    for (int32_t* flag : {&p.randomFrontRotate,
                          &p.frontReflect,
                          &p.behindReflect,
                          &p.randomFrontScale,
                          &p.randomFrontOpacity,
                          &p.randomFrontPattern,
                          &p.linkScaling,
                          &p.linkPatterns,
                          &p.randomFrontReflectAngle,
                          &p.randomBehindReflectAngle,
                          &p.randomFrontShear,
                          &p.randomBehindShear,
                          &p.randomFrontShift,
                          &p.randomBehindShift,
                          &p.createSymbol,
                          &p.useSwatch,
                          &p.swapPatterns,
                          &p.randomBehindRotate,
                          &p.randomBehindScale,
                          &p.randomBehindOpacity,
                          &p.randomBehindPattern,
                          &p.noPermanentStyle}) {
        *flag = 1;
    }
    p.repeatCount = 9;
    p.presetIndex = 0;
    p.colorModification = 4;
    p.patternBlendMode = 5;
    p.baseShape = 7;
    p.reserved = 0x1234;
    p.transformLinking = 2;
    p.activePage = 3;
    p.fillBlendMode = 3;
    p.preview = 0;
}

// The values every preset starts from.
void presetStart(FilterParameters& p) {
    p.shapeWidth = p.shapeHeight = 500.0f;
    p.shapeX = p.shapeY = 0.0f;
    p.frontPatternIndex = p.behindPatternIndex = 0;
    p.frontRotate = 0.0f;
    p.behindRotate = 90.0f;
    p.frontScaleH = p.frontScaleV = p.behindScaleH = p.behindScaleV = 100.0f;
    p.frontShiftAngle = p.frontShiftDistance = p.behindShiftAngle = p.behindShiftDistance = 0.0f;
    p.frontShearAngle = p.frontShearAxis = p.behindShearAngle = p.behindShearAxis = 0.0f;
    p.frontReflectAngle = p.behindReflectAngle = 0.0f;
    for (int32_t* flag : {&p.frontReflect,
                          &p.behindReflect,
                          &p.randomFrontRotate,
                          &p.randomBehindRotate,
                          &p.randomFrontScale,
                          &p.randomBehindScale,
                          &p.randomFrontShift,
                          &p.randomBehindShift,
                          &p.randomFrontShear,
                          &p.randomBehindShear,
                          &p.randomFrontReflectAngle,
                          &p.randomBehindReflectAngle,
                          &p.randomFrontOpacity,
                          &p.randomBehindOpacity,
                          &p.randomFrontPattern,
                          &p.randomBehindPattern,
                          &p.useSwatch,
                          &p.createSymbol,
                          &p.swapPatterns,
                          &p.noPermanentStyle,
                          &p.linkScaling,
                          &p.linkPatterns}) {
        *flag = 0;
    }
    p.baseShape = 0;
    p.transformLinking = 0;
    p.colorModification = 0;
    p.patternBlendMode = 1;
    p.fillBlendMode = 17;
    p.repeatCount = 1;
    p.previewDrawn = 0;
}

struct PresetCase {
    int32_t position;
    void (*changes)(FilterParameters&);
};

const PresetCase kPresets[] = {
    {0, [](FilterParameters&) {}},
    {1, [](FilterParameters& p) { p.frontScaleH = p.frontScaleV = p.behindScaleH = p.behindScaleV = 400.0f; }},
    {2, [](FilterParameters& p) { p.fillBlendMode = 1; }},
    {3,
     [](FilterParameters& p) {
         p.shapeWidth = 500.0f;
         p.shapeHeight = 45.0f;
         p.baseShape = 4;
     }},
    {4, [](FilterParameters& p) { p.colorModification = 1; }},
    {5,
     [](FilterParameters& p) {
         p.patternBlendMode = 10;
         p.frontScaleH = p.frontScaleV = 400.0f;
     }},
    {6,
     [](FilterParameters& p) {
         p.patternBlendMode = 10;
         p.frontScaleH = p.frontScaleV = 400.0f;
         p.fillBlendMode = 1;
         p.colorModification = 1;
     }},
    {7,
     [](FilterParameters& p) {
         p.patternBlendMode = 10;
         p.behindRotate = 1.0f;
         p.linkPatterns = 1;
     }},
    {8,
     [](FilterParameters& p) {
         p.repeatCount = 4;
         p.patternBlendMode = 10;
         p.colorModification = 1;
     }},
    // 300 is beyond the 12 swatches; the page refresh stores what the spin edits accepted.
    {9,
     [](FilterParameters& p) {
         p.randomFrontPattern = p.randomBehindPattern = 1;
         p.frontPatternIndex = p.behindPatternIndex = 11;
     }},
};

// The words a preset decides: all but finalRun and the dialog's saved place, which the page refresh writes.
void expectSameDecidedWords(const FilterParameters& actual, const FilterParameters& expected) {
    uint32_t a[kFilterParametersWords];
    uint32_t e[kFilterParametersWords];
    std::memcpy(a, &actual, sizeof a);
    std::memcpy(e, &expected, sizeof e);
    for (int word = 0; word < 55; ++word) {
        EXPECT_EQ(a[word], e[word]) << "word " << word;
    }
    EXPECT_EQ(actual.previewDrawn, expected.previewDrawn);
}

class Presets : public DialogTest, public testing::WithParamInterface<PresetCase> {};

TEST_P(Presets, ResetThenApplyTheirChangesTheSameEveryTime) {
    const PresetCase& c = GetParam();
    useSwatches(12);
    dirty(record());
    FilterParameters expected = record();
    presetStart(expected);
    c.changes(expected);
    expected.presetIndex = c.position;

    host->random().script({});  // presets draw nothing
    FilterParameters first{};
    ASSERT_EQ(openDialog({UserAction::chooseIndex(95, c.position), UserAction::run([&](Dialog& dialog) {
                              first = record();
                              EXPECT_EQ(dialog.at(147).font, kADMBoldDialogFont);  // still on the Size page
                              dialog.at(10).setValue(999);
                          }),
                          UserAction::chooseIndex(95, c.position)}),
              kNoErr);
    expectSameDecidedWords(first, expected);
    expectSameDecidedWords(record(), expected);
    EXPECT_EQ(host->random().drawn(), 0u);
    EXPECT_EQ(failures(), "");
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, Presets, testing::ValuesIn(kPresets));

TEST_F(DialogTest, APresetWithPreviewLeavesOnePreview) {
    const std::size_t before = artCount();
    ASSERT_EQ(openDialog({UserAction::chooseIndex(95, 3), UserAction::press(81)}), kNoErr);
    EXPECT_EQ(artCount(), before + 1);
    EXPECT_EQ(record().previewDrawn, 1);
    EXPECT_EQ(record().baseShape, 4);
}

// Tumble with every draw the same: all optional steps succeed (0.99) or all fail (0).
struct TumbleCase {
    int swatches;
    float draw;
    std::size_t draws;
    int32_t patternIndex;
};

class Tumble : public DialogTest, public testing::WithParamInterface<TumbleCase> {};

TEST_P(Tumble, ThrowsWithinItsRangesAndLeavesTheRestAlone) {
    const TumbleCase& c = GetParam();
    useSwatches(c.swatches);
    dirty(record());
    record().frontPatternIndex = 0;
    record().behindPatternIndex = 0;
    record().presetIndex = 6;
    const FilterParameters before = record();
    host->random().script(std::vector<float>(c.draws, c.draw));
    ASSERT_EQ(openDialog({UserAction::press(81)}), kNoErr);
    EXPECT_EQ(failures(), "");
    EXPECT_EQ(host->random().remaining(), 0u);
    const FilterParameters& p = record();
    EXPECT_EQ(p.frontPatternIndex, c.patternIndex);
    EXPECT_EQ(p.behindPatternIndex, c.patternIndex);

    const bool all = c.draw > 0.9f;
    const float r = c.draw;
    EXPECT_NEAR(p.frontRotate, 360.0f * r, 1e-3);
    EXPECT_NEAR(p.behindRotate, 360.0f * r, 1e-3);
    for (float scale : {p.frontScaleH, p.frontScaleV, p.behindScaleH, p.behindScaleV}) {
        EXPECT_NEAR(scale, 20.0f + 700.0f * r, 1e-3);
    }
    EXPECT_NEAR(p.frontShiftAngle, all ? 180.0f * r : 0.0f, 1e-3);
    EXPECT_NEAR(p.frontShiftDistance, all ? 500.0f * r : 0.0f, 1e-3);
    EXPECT_NEAR(p.behindShiftDistance, all ? 950.0f * r : 0.0f, 1e-3);
    EXPECT_NEAR(p.frontShearAxis, all ? 15.0f * r : 0.0f, 1e-3);
    EXPECT_NEAR(p.behindReflectAngle, all ? 360.0f * r : 0.0f, 1e-3);
    EXPECT_EQ(p.frontReflect, all ? 1 : 0);
    EXPECT_EQ(p.behindReflect, all ? 1 : 0);
    EXPECT_EQ(p.patternBlendMode, all ? 16 : 1);
    EXPECT_EQ(p.colorModification, all ? 13 : 0);
    EXPECT_EQ(p.fillBlendMode, 17);  // trunc(18 x 0.99) is 17 as well
    EXPECT_EQ(p.repeatCount, all ? 7 : 1);

    // Never touched; randomFrontPattern is the one flag it clears.
    EXPECT_EQ(p.randomFrontPattern, 0);
    EXPECT_EQ(p.randomBehindPattern, 1);
    EXPECT_EQ(p.baseShape, before.baseShape);
    EXPECT_EQ(p.transformLinking, before.transformLinking);
    EXPECT_EQ(p.shapeWidth, before.shapeWidth);
    EXPECT_EQ(p.shapeHeight, before.shapeHeight);
    EXPECT_EQ(p.shapeX, before.shapeX);
    EXPECT_EQ(p.shapeY, before.shapeY);
    for (auto field :
         {&FilterParameters::randomFrontRotate, &FilterParameters::randomBehindScale,
          &FilterParameters::randomBehindShear, &FilterParameters::useSwatch, &FilterParameters::createSymbol,
          &FilterParameters::swapPatterns, &FilterParameters::noPermanentStyle, &FilterParameters::linkScaling,
          &FilterParameters::linkPatterns, &FilterParameters::presetIndex, &FilterParameters::activePage,
          &FilterParameters::preview, &FilterParameters::reserved}) {
        EXPECT_EQ(p.*field, before.*field);
    }
    EXPECT_EQ(p.viewZoom, before.viewZoom);
}

INSTANTIATE_TEST_SUITE_P(Draws, Tumble,
                         testing::Values(TumbleCase{0, 0.99f, 46, 0}, TumbleCase{1, 0.99f, 46, 0},
                                         TumbleCase{12, 0.99f, 46, 11}, TumbleCase{12, 0.0f, 21, 0}));

// Distinct draws, to pin the order of r and r' and the strict "chance above" test.
TEST_F(DialogTest, TumbleDrawsInItsOrder) {
    useSwatches(12);
    record().preview = 0;
    host->random().script({
        0.5f,  0.2f, 0.5f,  0.1f, 0.2f,                           // front index, rotation sign and size, scales
        0.6f,  0.5f, 0.25f, 0.5f, 0.1f,                           // front shift
        0.6f,  0.5f, 0.2f,  0.2f, 0.5f,                           // front shear
        0.75f, 0.5f, 0.75f,                                       // front reflection
        0.99f, 0.6f, 0.25f, 0.5f, 0.0f,                           // behind index, rotation, scales
        0.4f,  0.5f, 0.7f,                                        // behind shift, shear, reflection: all fail
        0.9f,  0.5f, 0.1f,  0.8f, 0.05f, 0.8f, 0.5f, 0.95f, 0.0f  // blend, colour (fails), fill, repeats
    });
    ASSERT_EQ(openDialog({UserAction::press(81)}), kNoErr);
    EXPECT_EQ(failures(), "");
    EXPECT_EQ(host->random().remaining(), 0u);
    const FilterParameters& p = record();
    EXPECT_EQ(p.frontPatternIndex, 6);
    EXPECT_NEAR(p.frontRotate, -180.0f, 1e-3);
    EXPECT_NEAR(p.frontScaleH, 90.0f, 1e-3);
    EXPECT_NEAR(p.frontScaleV, 160.0f, 1e-3);
    EXPECT_NEAR(p.frontShiftAngle, 135.0f, 1e-3);
    EXPECT_NEAR(p.frontShiftDistance, 450.0f, 1e-3);
    EXPECT_NEAR(p.frontShearAngle, 12.0f, 1e-3);
    EXPECT_NEAR(p.frontShearAxis, -1.5f, 1e-3);
    EXPECT_EQ(p.frontReflect, 1);
    EXPECT_NEAR(p.frontReflectAngle, 90.0f, 1e-3);
    EXPECT_EQ(p.behindPatternIndex, 11);
    EXPECT_NEAR(p.behindRotate, 90.0f, 1e-3);
    EXPECT_NEAR(p.behindScaleH, 370.0f, 1e-3);
    EXPECT_NEAR(p.behindScaleV, 20.0f, 1e-3);
    EXPECT_EQ(p.behindShiftAngle, 0.0f);
    EXPECT_EQ(p.behindShearAngle, 0.0f);
    EXPECT_EQ(p.behindReflect, 0);
    EXPECT_EQ(p.patternBlendMode, 9);
    EXPECT_EQ(p.colorModification, 0);
    EXPECT_EQ(p.fillBlendMode, 0);
    EXPECT_EQ(p.repeatCount, 1);
}

// The dialog's own count (the first) succeeds, Tumble's fails: no patterns to draw from.
TEST_F(DialogTest, TumbleTakesAFailingCountAsNoPatterns) {
    useSwatches(12);
    record().preview = 0;
    host->faults().failCall("AIPatternSuite.CountPatterns", 2, kBadParameterErr);
    host->random().script(std::vector<float>(46, 0.99f));
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) { EXPECT_EQ(dialog.at(8).maxValue(), 11.0); }),
                          UserAction::press(81)}),
              kNoErr);
    EXPECT_EQ(record().frontPatternIndex, 0);
    EXPECT_EQ(record().behindPatternIndex, 0);
    EXPECT_NEAR(record().frontScaleH, 713.0f, 1e-3);
}

TEST_F(DialogTest, TumbleWithPreviewLeavesOnePreview) {
    const std::size_t before = artCount();
    ASSERT_EQ(openDialog({UserAction::press(81), UserAction::press(81)}), kNoErr);
    EXPECT_EQ(artCount(), before + 1);
    EXPECT_EQ(record().previewDrawn, 1);
    EXPECT_EQ(failures(), "");
}

}  // namespace
}  // namespace dialog_tests
