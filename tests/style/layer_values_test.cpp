// Unit tests of the pure parts of style generation: the fill layer values and the colour modification,
// linked from their sources with a scripted random source instead of the host's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "style/color_modification.cpp"
#include "style/fill_layer_values.cpp"

namespace {

// Hands out the given values in order; running out is a test failure.
struct ScriptedDraws {
    std::vector<AIReal> values;
    std::size_t next = 0;

    static AIReal Draw(void* context) {
        auto* self = static_cast<ScriptedDraws*>(context);
        if (self->next >= self->values.size()) {
            ADD_FAILURE() << "more draws than scripted";
            return 0.0f;
        }
        return self->values[self->next++];
    }
    RandomSource source() { return RandomSource{&ScriptedDraws::Draw, this}; }
    std::size_t drawn() const { return next; }
};

FilterParameters ZeroRecord() {
    FilterParameters p;
    std::memset(&p, 0, sizeof(p));
    return p;
}

LayerValueSet Set(AIReal rotate, AIReal scaleH, AIReal scaleV, AIReal shiftAngle, AIReal shiftDist,
                  AIReal shearAngle, AIReal shearAxis, AIReal reflectAngle) {
    return LayerValueSet{rotate, scaleH, scaleV, shiftAngle, shiftDist, shearAngle, shearAxis, reflectAngle};
}

void ExpectSetsEqual(const LayerValueSet& actual, const LayerValueSet& expected) {
    EXPECT_FLOAT_EQ(actual.rotate, expected.rotate);
    EXPECT_FLOAT_EQ(actual.scaleH, expected.scaleH);
    EXPECT_FLOAT_EQ(actual.scaleV, expected.scaleV);
    EXPECT_FLOAT_EQ(actual.shiftAngle, expected.shiftAngle);
    EXPECT_FLOAT_EQ(actual.shiftDist, expected.shiftDist);
    EXPECT_FLOAT_EQ(actual.shearAngle, expected.shearAngle);
    EXPECT_FLOAT_EQ(actual.shearAxis, expected.shearAxis);
    EXPECT_FLOAT_EQ(actual.reflectAngle, expected.reflectAngle);
}

AIRealMatrix Identity() {
    return AIRealMatrix{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}

AIPatternHandle FrontPattern() {
    return reinterpret_cast<AIPatternHandle>(static_cast<uintptr_t>(0x1000));
}
AIPatternHandle BehindPattern() {
    return reinterpret_cast<AIPatternHandle>(static_cast<uintptr_t>(0x2000));
}

TEST(LoadLayerValueSets, ReadsBothSidesAndLinkScalingReplacesBothVerticalScales) {
    FilterParameters p = ZeroRecord();
    p.frontRotate = 1, p.frontScaleH = 2, p.frontScaleV = 3, p.frontShiftAngle = 4, p.frontShiftDistance = 5;
    p.frontShearAngle = 6, p.frontShearAxis = 7, p.frontReflectAngle = 8;
    p.behindRotate = 11, p.behindScaleH = 12, p.behindScaleV = 13, p.behindShiftAngle = 14;
    p.behindShiftDistance = 15, p.behindShearAngle = 16, p.behindShearAxis = 17, p.behindReflectAngle = 18;
    LayerValueSet front{}, behind{};

    LoadLayerValueSets(&p, &front, &behind);
    ExpectSetsEqual(front, Set(1, 2, 3, 4, 5, 6, 7, 8));
    ExpectSetsEqual(behind, Set(11, 12, 13, 14, 15, 16, 17, 18));

    p.linkScaling = 1;
    LoadLayerValueSets(&p, &front, &behind);
    EXPECT_FLOAT_EQ(front.scaleV, 2);
    EXPECT_FLOAT_EQ(behind.scaleV, 12);
}

TEST(LayerSwitches, FrontAndRepeatLayersReadTheirOwnSwitches) {
    FilterParameters p = ZeroRecord();
    p.randomFrontRotate = 1, p.randomFrontShear = 1, p.frontReflect = 1, p.randomFrontOpacity = 1;
    p.randomBehindScale = 1, p.randomBehindShift = 1, p.randomBehindReflectAngle = 1;
    p.swapPatterns = 1;
    LayerSwitches front = FrontLayerSwitches(&p);
    LayerSwitches repeat = RepeatLayerSwitches(&p);
    EXPECT_EQ(
        (std::vector<int32_t>{front.randomRotate, front.randomScale, front.randomShift, front.randomReflectAngle,
                              front.randomShear, front.randomOpacity, front.reflect, front.swapPatterns}),
        (std::vector<int32_t>{1, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ((std::vector<int32_t>{repeat.randomRotate, repeat.randomScale, repeat.randomShift,
                                    repeat.randomReflectAngle, repeat.randomShear, repeat.randomOpacity,
                                    repeat.reflect, repeat.swapPatterns}),
              (std::vector<int32_t>{0, 1, 1, 1, 0, 0, 0, 1}));
}

// The rotation every repeat sees; the links accumulate in the working values from one repeat to the next.
struct RotationCase {
    int32_t linking;
    AIReal frontRotate;
    AIReal behindRotate;
    std::vector<AIReal> expected;
};

class LinkRotation : public ::testing::TestWithParam<RotationCase> {};

TEST_P(LinkRotation, RepeatRotations) {
    const RotationCase& c = GetParam();
    LayerValueSet front = Set(c.frontRotate, 100, 100, 0, 0, 0, 0, 0);
    LayerValueSet behind = Set(c.behindRotate, 100, 100, 0, 0, 0, 0, 0);
    std::vector<AIReal> rotations;
    for (int32_t i = 0; i < static_cast<int32_t>(c.expected.size()); ++i) {
        LinkRepeat(c.linking, i, &front, &behind);
        rotations.push_back(behind.rotate);
    }
    EXPECT_EQ(rotations, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, LinkRotation,
                         ::testing::Values(RotationCase{kNoLinking, 10, 90, {90, 90, 90}},
                                           RotationCase{kLinkToFront, 10, 90, {10, 10}},
                                           RotationCase{kLinkToFrontPerpendicular, 350, 0, {440, 440}},
                                           RotationCase{kLinkToHalfFront, 30, 90, {15, 15}},
                                           RotationCase{kLinkAccumulate, 10, 90, {100, 110, 120}},
                                           RotationCase{kLinkRotateFactor, 15, 90, {30, 45, 60, 75}},
                                           RotationCase{kLinkRotateFactor, 0, 90, {0, 0, 0}},
                                           RotationCase{6, 10, 90, {90, 90}}, RotationCase{-1, 10, 90, {90, 90}}));

// What each mode does to all eight working values in one step.
struct LinkCase {
    int32_t linking;
    LayerValueSet expected;
};

class LinkAllValues : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkAllValues, OneStepFromKnownSets) {
    const LayerValueSet front = Set(10, 50, 60, 20, 30, 40, 50, 70);
    LayerValueSet behind = Set(90, 120, 130, 1, 2, 3, 4, 5);
    LinkRepeat(GetParam().linking, 0, &front, &behind);
    ExpectSetsEqual(behind, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, LinkAllValues,
                         ::testing::Values(LinkCase{kNoLinking, Set(90, 120, 130, 1, 2, 3, 4, 5)},
                                           LinkCase{kLinkToFront, Set(10, 50, 60, 20, 30, 40, 50, 70)},
                                           // Shift, shear and reflection angles keep their behind values.
                                           LinkCase{kLinkToFrontPerpendicular, Set(100, 50, 60, 1, 30, 3, 50, 5)},
                                           LinkCase{kLinkToHalfFront, Set(5, 25, 30, 10, 15, 20, 25, 35)},
                                           // The scales are not accumulated.
                                           LinkCase{kLinkAccumulate, Set(100, 120, 130, 21, 32, 43, 54, 75)},
                                           LinkCase{kLinkRotateFactor, Set(20, 120, 130, 1, 2, 3, 4, 5)}));

TEST(LinkRepeat, AccumulateKeepsAddingTheFrontValues) {
    const LayerValueSet front = Set(10, 50, 60, 1, 2, 3, 4, 5);
    LayerValueSet behind = Set(90, 100, 100, 0, 0, 0, 0, 0);
    for (int32_t i = 0; i < 3; ++i)
        LinkRepeat(kLinkAccumulate, i, &front, &behind);
    ExpectSetsEqual(behind, Set(120, 100, 100, 3, 6, 9, 12, 15));
}

TEST(ComputeLayerValues, WithoutSwitchesDrawsNothingAndCopiesTheSet) {
    ScriptedDraws draws;
    RandomSource random = draws.source();
    LayerValueSet values = Set(10, 150, 75, 20, 30, 40, 50, 60);
    LayerSwitches switches{};
    AIRealMatrix identity = Identity();
    AIPatternStyle style;

    ComputeLayerValues(&values, &switches, kRepeatLayer, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_EQ(draws.drawn(), 0u);
    EXPECT_EQ(style.pattern, BehindPattern());
    EXPECT_FLOAT_EQ(style.rotate, 10);
    EXPECT_FLOAT_EQ(style.scale.h, 150);
    EXPECT_FLOAT_EQ(style.scale.v, 75);
    EXPECT_FLOAT_EQ(style.shiftAngle, 20);
    EXPECT_FLOAT_EQ(style.shiftDist, 30);
    EXPECT_FLOAT_EQ(style.shearAngle, 40);
    EXPECT_FLOAT_EQ(style.shearAxis, 50);
    EXPECT_FLOAT_EQ(style.reflectAngle, 60);
    EXPECT_EQ(style.reflect, kASFalse);
    EXPECT_EQ(std::memcmp(&style.transform, &identity, sizeof(identity)), 0);

    ComputeLayerValues(&values, &switches, kFrontLayer, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_EQ(style.pattern, FrontPattern());
}

TEST(ComputeLayerValues, DrawsInTheFixedOrderOneDrawPerMember) {
    // Distinct powers of two so that each product shows which draw it took.
    ScriptedDraws draws{{0.75f, 0.5f, 0.25f, 0.125f, 0.0625f, 0.03125f, 0.015625f, 0.0078125f, 0.00390625f}};
    RandomSource random = draws.source();
    LayerValueSet values = Set(1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024);
    LayerSwitches switches{1, 1, 1, 1, 1, 1, 1, 1};
    AIRealMatrix identity = Identity();
    AIPatternStyle style;

    ComputeLayerValues(&values, &switches, kRepeatLayer, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_EQ(draws.drawn(), 9u);  // the opacity draw is not part of the layer values
    EXPECT_EQ(style.pattern, FrontPattern());
    EXPECT_FLOAT_EQ(style.rotate, 512);
    EXPECT_FLOAT_EQ(style.scale.h, 256);
    EXPECT_FLOAT_EQ(style.scale.v, 128);
    EXPECT_FLOAT_EQ(style.shiftAngle, 64);
    EXPECT_FLOAT_EQ(style.shiftDist, 32);
    EXPECT_FLOAT_EQ(style.reflectAngle, 16);
    EXPECT_FLOAT_EQ(style.shearAngle, 8);
    EXPECT_FLOAT_EQ(style.shearAxis, 4);
    EXPECT_EQ(style.reflect, kASTrue);
}

TEST(ComputeLayerValues, NegativeProductsStayNegativeExceptTheScales) {
    ScriptedDraws draws{{0.5f, 0.5f, 0.5f}};
    RandomSource random = draws.source();
    LayerValueSet values = Set(-40, -100, 100, 0, 0, 0, 0, 0);
    LayerSwitches switches{};
    switches.randomRotate = 1, switches.randomScale = 1;
    AIRealMatrix identity = Identity();
    AIPatternStyle style;
    ComputeLayerValues(&values, &switches, kFrontLayer, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_FLOAT_EQ(style.rotate, -20);
    EXPECT_FLOAT_EQ(style.scale.h, kMinimumLayerScale);
    EXPECT_FLOAT_EQ(style.scale.v, 50);
}

struct SwapCase {
    LayerKind kind;
    AIReal draw;
    bool front;
};

class SwapPatterns : public ::testing::TestWithParam<SwapCase> {};

TEST_P(SwapPatterns, ADrawAboveHalfTakesTheFrontPatternForEitherKind) {
    ScriptedDraws draws{{GetParam().draw}};
    RandomSource random = draws.source();
    LayerValueSet values = Set(0, 100, 100, 0, 0, 0, 0, 0);
    LayerSwitches switches{};
    switches.swapPatterns = 1;
    AIRealMatrix identity = Identity();
    AIPatternStyle style;
    ComputeLayerValues(&values, &switches, GetParam().kind, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_EQ(draws.drawn(), 1u);
    EXPECT_EQ(style.pattern, GetParam().front ? FrontPattern() : BehindPattern());
}

INSTANTIATE_TEST_SUITE_P(Draws, SwapPatterns,
                         ::testing::Values(SwapCase{kFrontLayer, 0.5f, false},
                                           SwapCase{kFrontLayer, 0.50001f, true},
                                           SwapCase{kRepeatLayer, 0.0f, false},
                                           SwapCase{kRepeatLayer, 0.99f, true}));

struct ScaleCase {
    AIReal stored;
    int32_t randomScale;
    AIReal draw;
    AIReal expected;
};

class ScaleFloor : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleFloor, BothScalesAreRaisedToTheFloor) {
    const ScaleCase& c = GetParam();
    ScriptedDraws draws{{c.draw, c.draw}};
    RandomSource random = draws.source();
    LayerValueSet values = Set(0, c.stored, c.stored, 0, 0, 0, 0, 0);
    LayerSwitches switches{};
    switches.randomScale = c.randomScale;
    AIRealMatrix identity = Identity();
    AIPatternStyle style;
    ComputeLayerValues(&values, &switches, kFrontLayer, FrontPattern(), BehindPattern(), &identity, &random,
                       &style);
    EXPECT_EQ(style.scale.h, c.expected);
    EXPECT_EQ(style.scale.v, c.expected);
}

const AIReal kNaN = std::numeric_limits<AIReal>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Values, ScaleFloor,
                         ::testing::Values(ScaleCase{5.0f, 1, 0.001f, 0.05f},  // 0.005 is raised, not kept
                                           ScaleCase{0.01f, 0, 0.0f, 0.05f}, ScaleCase{-100.0f, 0, 0.0f, 0.05f},
                                           ScaleCase{100.0f, 1, 0.0f, 0.05f}, ScaleCase{kNaN, 0, 0.0f, 0.05f},
                                           ScaleCase{kNaN, 1, 0.5f, 0.05f}, ScaleCase{0.05f, 0, 0.0f, 0.05f},
                                           ScaleCase{0.0500001f, 0, 0.0f, 0.0500001f},
                                           ScaleCase{100.0f, 1, 0.5f, 50.0f}));

TEST(LayerBlendMode, StoredModesUpToFifteenAreUsedAsTheyAreWithoutADraw) {
    ScriptedDraws draws;
    RandomSource random = draws.source();
    for (int32_t mode : {0, 1, 7, 15})
        EXPECT_EQ(LayerBlendMode(mode, &random), mode);
    EXPECT_EQ(draws.drawn(), 0u);
}

struct BlendCase {
    AIReal draw;
    int32_t expected;
};

class RandomBlendMode : public ::testing::TestWithParam<BlendCase> {};

TEST_P(RandomBlendMode, OneDrawMapsOntoTheHostModes) {
    ScriptedDraws draws{{GetParam().draw}};
    RandomSource random = draws.source();
    EXPECT_EQ(LayerBlendMode(kRandomBlendMode, &random), GetParam().expected);
    EXPECT_EQ(draws.drawn(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Draws, RandomBlendMode,
                         ::testing::Values(BlendCase{0.0f, 1}, BlendCase{0.049f, 1}, BlendCase{0.051f, 2},
                                           BlendCase{0.71f, 15}, BlendCase{0.74f, 15}, BlendCase{0.76f, 1},
                                           BlendCase{0.9999999f, 1}));

TEST(LayerBlendMode, RandomModesNeverNormalAndMultiplySixTimesInTwenty) {
    std::vector<int> seen(16, 0);
    for (int k = 0; k < 20; ++k) {
        ScriptedDraws draws{{(static_cast<AIReal>(k) + 0.5f) / 20.0f}};
        RandomSource random = draws.source();
        int32_t mode = LayerBlendMode(kRandomBlendMode, &random);
        ASSERT_GE(mode, 0);
        ASSERT_LE(mode, 15);
        ++seen[static_cast<std::size_t>(mode)];
    }
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 6);
    for (std::size_t mode = 2; mode <= 15; ++mode)
        EXPECT_EQ(seen[mode], 1) << "mode " << mode;
}

TEST(LayerOpacity, DrawsOnlyWhenTheSwitchIsSet) {
    ScriptedDraws draws{{0.375f}};
    RandomSource random = draws.source();
    AIReal opacity = -1.0f;
    EXPECT_FALSE(LayerOpacity(0, &random, &opacity));
    EXPECT_EQ(draws.drawn(), 0u);
    EXPECT_FLOAT_EQ(opacity, -1.0f);
    EXPECT_TRUE(LayerOpacity(1, &random, &opacity));
    EXPECT_FLOAT_EQ(opacity, 0.375f);
}

TEST(RandomColor, ThreeDrawsRedGreenBlue) {
    ScriptedDraws draws{{0.25f, 0.5f, 0.75f}};
    RandomSource random = draws.source();
    AIColor color = RandomColor(&random);
    EXPECT_EQ(color.kind, kThreeColor);
    EXPECT_EQ(static_cast<int>(color.kind), 5);
    EXPECT_FLOAT_EQ(color.c.rgb.red, 0.25f);
    EXPECT_FLOAT_EQ(color.c.rgb.green, 0.5f);
    EXPECT_FLOAT_EQ(color.c.rgb.blue, 0.75f);
}

// ---- colour modification ----

TEST(ColorModificationModes, WhichPatternsEachModeNames) {
    // Modes 0 to 13 and two values outside the list.
    const std::vector<int32_t> modes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1};
    const std::vector<bool> front{false, true,  true, false, true, true, false, true,
                                  true,  false, true, true,  true, true, false, false};
    const std::vector<bool> behind{false, true, false, true, true, false, true,  true,
                                   false, true, true,  true, true, true,  false, false};
    for (std::size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(ModeRecoloursFront(modes[i]), front[i]) << "mode " << modes[i];
        EXPECT_EQ(ModeRecoloursBehind(modes[i]), behind[i]) << "mode " << modes[i];
    }
    EXPECT_EQ(ColorChangeForMode(0), kNoColorChange);
    EXPECT_EQ(ColorChangeForMode(14), kNoColorChange);
    EXPECT_EQ(ColorChangeForMode(3), kRandomColorChange);
    EXPECT_EQ(ColorChangeForMode(6), kNegativeColorChange);
    EXPECT_EQ(ColorChangeForMode(8), kJitterColorChange);
    EXPECT_EQ(ColorChangeForMode(13), kChannel4Change);
}

AIColor Gray(AIReal gray) {
    AIColor color{};
    color.kind = kGrayColor;
    color.c.g.gray = gray;
    return color;
}
AIColor Cmyk(AIReal c, AIReal m, AIReal y, AIReal k) {
    AIColor color{};
    color.kind = kFourColor;
    color.c.f = AIFourColorStyle{c, m, y, k};
    return color;
}
AIColor Rgb(AIReal r, AIReal g, AIReal b) {
    AIColor color{};
    color.kind = kThreeColor;
    color.c.rgb = AIThreeColorStyle{r, g, b};
    return color;
}

std::vector<AIReal> Channels(const AIColor& color) {
    switch (color.kind) {
        case kGrayColor:
            return {color.c.g.gray};
        case kFourColor:
            return {color.c.f.cyan, color.c.f.magenta, color.c.f.yellow, color.c.f.black};
        case kThreeColor:
            return {color.c.rgb.red, color.c.rgb.green, color.c.rgb.blue};
        default:
            return {};
    }
}

void ExpectChannelsNear(const AIColor& color, const std::vector<AIReal>& expected) {
    std::vector<AIReal> actual = Channels(color);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "channel " << i;
}

struct ChangeCase {
    const char* name;
    AIColor color;
    ColorChange change;
    std::vector<AIReal> draws;
    std::vector<AIReal> expected;
};

class ModifyFillColorCases : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ModifyFillColorCases, ChangesAndDraws) {
    ChangeCase c = GetParam();
    ScriptedDraws draws{c.draws};
    RandomSource random = draws.source();
    EXPECT_TRUE(ModifyFillColor(&c.color, c.change, &random));
    ExpectChannelsNear(c.color, c.expected);
    EXPECT_EQ(draws.drawn(), c.draws.size());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ModifyFillColorCases,
    ::testing::Values(
        ChangeCase{"random_gray", Gray(0.3f), kRandomColorChange, {0.9f}, {0.9f}},
        ChangeCase{"random_cmyk",
                   Cmyk(0, 0, 0, 0),
                   kRandomColorChange,
                   {0.1f, 0.2f, 0.3f, 0.4f},
                   {0.1f, 0.2f, 0.3f, 0.4f}},
        ChangeCase{"random_rgb", Rgb(0, 0, 0), kRandomColorChange, {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}},
        ChangeCase{"negative_gray", Gray(0.25f), kNegativeColorChange, {}, {0.75f}},
        ChangeCase{"negative_cmyk_keeps_black",
                   Cmyk(0.2f, 0.3f, 0.4f, 0.5f),
                   kNegativeColorChange,
                   {},
                   {0.8f, 0.7f, 0.6f, 0.5f}},
        ChangeCase{"negative_rgb", Rgb(0.1f, 0.5f, 1.0f), kNegativeColorChange, {}, {0.9f, 0.5f, 0.0f}},
        // Above 0.5 the channel goes down, at 0.5 and below it goes up, by 0.2 times the second draw.
        ChangeCase{"jitter_gray_down", Gray(0.5f), kJitterColorChange, {0.6f, 0.5f}, {0.4f}},
        ChangeCase{"jitter_gray_half_goes_up", Gray(0.5f), kJitterColorChange, {0.5f, 0.5f}, {0.6f}},
        ChangeCase{"jitter_rgb_clamps_high",
                   Rgb(0.95f, 0.5f, 0.02f),
                   kJitterColorChange,
                   {0.3f, 0.5f, 0.9f, 0.25f, 0.9f, 0.5f},
                   {1.0f, 0.45f, 0.0f}},
        ChangeCase{"jitter_cmyk_all_four",
                   Cmyk(0.5f, 0.5f, 0.5f, 0.5f),
                   kJitterColorChange,
                   {0.0f, 0.5f, 1.0f - 1e-7f, 0.5f, 0.0f, 0.0f, 0.7f, 0.25f},
                   {0.6f, 0.4f, 0.5f, 0.45f}},
        ChangeCase{"channel1_gray", Gray(0.1f), kChannel1Change, {0.7f}, {0.7f}},
        ChangeCase{"channel3_gray", Gray(0.1f), kChannel3Change, {0.7f}, {0.7f}},
        ChangeCase{"channel4_gray_unchanged", Gray(0.1f), kChannel4Change, {}, {0.1f}},
        ChangeCase{
            "channel2_cmyk", Cmyk(0.1f, 0.1f, 0.1f, 0.1f), kChannel2Change, {0.7f}, {0.1f, 0.7f, 0.1f, 0.1f}},
        ChangeCase{
            "channel4_cmyk", Cmyk(0.1f, 0.1f, 0.1f, 0.1f), kChannel4Change, {0.7f}, {0.1f, 0.1f, 0.1f, 0.7f}},
        ChangeCase{"channel3_rgb", Rgb(0.1f, 0.1f, 0.1f), kChannel3Change, {0.7f}, {0.1f, 0.1f, 0.7f}},
        ChangeCase{"channel4_rgb_unchanged", Rgb(0.1f, 0.2f, 0.3f), kChannel4Change, {}, {0.1f, 0.2f, 0.3f}}),
    [](const ::testing::TestParamInfo<ChangeCase>& param) { return std::string(param.param.name); });

TEST(ModifyFillColor, NegativeTwiceGivesBackTheColour) {
    ScriptedDraws draws;
    RandomSource random = draws.source();
    AIColor color = Cmyk(0.2f, 0.3f, 0.4f, 0.5f);
    ModifyFillColor(&color, kNegativeColorChange, &random);
    ModifyFillColor(&color, kNegativeColorChange, &random);
    ExpectChannelsNear(color, {0.2f, 0.3f, 0.4f, 0.5f});
}

TEST(ModifyFillColor, OtherKindsStayAndDrawNothing) {
    for (AIColorTag kind : {kPattern, kCustomColor, kGradient, kNoneColor}) {
        ScriptedDraws draws;
        RandomSource random = draws.source();
        AIColor color;
        std::memset(&color, 0x5A, sizeof(color));
        color.kind = kind;
        AIColor before = color;
        for (ColorChange change : {kRandomColorChange, kNegativeColorChange, kJitterColorChange, kChannel1Change})
            EXPECT_FALSE(ModifyFillColor(&color, change, &random));
        EXPECT_EQ(std::memcmp(&color, &before, sizeof(color)), 0) << "kind " << kind;
        EXPECT_EQ(draws.drawn(), 0u);
    }
}

}  // namespace
