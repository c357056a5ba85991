// The style builder run by the built plug-in in the stand-in host: "Go" with records set up by the tests.
#include <cmath>

#include "style_host_support.hpp"

namespace {

using style_tests::StyleHostTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using StyleBuild = StyleHostTest;

const std::vector<std::string> kRepeatLayerOperations = {"AIPathStyleSuite.SetPathStyle",
                                                         "AIPathStyleSuite.GetPathStyle",
                                                         "AIArtStyleParserSuite.NewFillPaintField",
                                                         "AIDictionarySuite.CreateDictionary",
                                                         "AIDictionarySuite.Key",
                                                         "AIDictionarySuite.SetIntegerEntry",
                                                         "AIArtStyleParserSuite.SetPaintFieldBlendDictionary",
                                                         "AIDictionarySuite.ReleaseDictionary",
                                                         "AIArtStyleParserSuite.InsertNthPaintField"};

TEST_F(StyleBuild, GoAfterADrawnPreviewKeepsItAndCallsNothing) {
    record().previewDrawn = 1;
    std::vector<std::string> names = namedStyleNames();

    EXPECT_THAT(go(), IsEmpty());
    EXPECT_EQ(record().previewDrawn, 0);
    EXPECT_EQ(record().finalRun, 1);
    EXPECT_THAT(doc().topLevelArt(), IsEmpty());
    EXPECT_EQ(namedStyleNames(), names);
}

TEST_F(StyleBuild, FullBuildMakesTheHostCallsInOrder) {
    std::vector<std::string> expected = {
        "AIUndoSuite.UndoChanges",
        "AIRealMathSuite.AIRealMatrixSetIdentity",
        "AIPatternSuite.CountPatterns",
        "AIPathStyleSuite.GetCurrentPathStyle",
        "AIPatternSuite.GetNthPattern",
        "AIPatternSuite.GetNthPattern",
        "AIShapeConstructionSuite.NewRect",
        // the plain style
        "AIArtStyleParserSuite.NewParser",
        "AIArtStyleParserSuite.PrepareParser",
        "AIArtStyleParserSuite.CreateArtStyle",
        "AIArtStyleParserSuite.DisposeParser",
        "AIArtStyleSuite.AddNamedStyle",
        "AIArtStyleSuite.SetArtStyle",
        "AIArtStyleSuite.WithdrawNamedStyle",
        // the front layer
        "AIPathStyleSuite.SetPathStyle",
        "AIArtStyleParserSuite.NewParser",
        "AIArtStyleParserSuite.PrepareParser",
        "AIArtStyleParserSuite.NewStrokePaintField",
        "AIArtStyleParserSuite.InsertNthPaintField",
        "AIArtStyleParserSuite.NewFillPaintField",
        "AIDictionarySuite.CreateDictionary",
        "AIDictionarySuite.Key",
        "AIDictionarySuite.SetIntegerEntry",
        "AIArtStyleParserSuite.SetPaintFieldBlendDictionary",
        "AIDictionarySuite.ReleaseDictionary",
        "AIArtStyleParserSuite.InsertNthPaintField",
    };
    expected.insert(expected.end(), kRepeatLayerOperations.begin(), kRepeatLayerOperations.end());
    for (const char* op : {"AIArtStyleParserSuite.GetNthPaintField", "AIArtStyleParserSuite.RemovePaintField",
                           "AIArtStyleParserSuite.GetNthPaintField", "AIArtStyleParserSuite.RemovePaintField",
                           "AIArtStyleParserSuite.CreateArtStyle", "AIArtStyleParserSuite.DisposeParser",
                           "AIArtStyleSuite.AddNamedStyle", "AIArtStyleSuite.SetArtStyle"})
        expected.push_back(op);
    std::vector<std::string> names = namedStyleNames();
    int redraws = doc().redrawCount();

    EXPECT_EQ(go(), expected);
    EXPECT_THAT(
        argumentsOf("AIArtStyleSuite.AddNamedStyle"),
        ElementsAre(::testing::HasSubstr("\" Empty style\""), ::testing::HasSubstr("\" Tesselwright Style\"")));
    EXPECT_THAT(argumentsOf("AIArtStyleParserSuite.InsertNthPaintField"),
                ::testing::Each(::testing::HasSubstr(", -1, ")));
    EXPECT_THAT(argumentsOf("AIArtStyleParserSuite.GetNthPaintField"),
                ::testing::Each(::testing::EndsWith(", 0")));
    names.push_back(" Tesselwright Style");
    EXPECT_EQ(namedStyleNames(), names);
    EXPECT_EQ(doc().redrawCount(), redraws);  // "Go" does not redraw
    EXPECT_EQ(doc().topLevelArt().size(), 1u);
    expectCleanLedger();
}

TEST_F(StyleBuild, DefaultResultIsTheRectangleWithStrokeFrontAndOneRepeat) {
    go();
    const simhost::Art* shape = resultShape();
    ASSERT_NE(shape, nullptr);
    auto bounds = doc().bounds(shape->id);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_FLOAT_EQ(bounds->width(), 500.0f);
    EXPECT_FLOAT_EQ(bounds->height(), 500.0f);

    const simhost::ArtStyle* style = shape->artStyle ? doc().style(*shape->artStyle) : nullptr;
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->name, " Tesselwright Style");
    EXPECT_TRUE(style->listed);

    const auto& fields = style->fields;
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].kind, simhost::PaintField::Kind::Stroke);
    const AIStrokeStyle& current = doc().currentPathStyle().stroke;
    EXPECT_FLOAT_EQ(fields[0].stroke.width, current.width);
    EXPECT_EQ(fields[0].stroke.color.kind, current.color.kind);
    EXPECT_FLOAT_EQ(fields[0].stroke.color.c.rgb.red, current.color.c.rgb.red);
    EXPECT_FLOAT_EQ(fields[0].stroke.color.c.rgb.blue, current.color.c.rgb.blue);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(fields[i].kind, simhost::PaintField::Kind::Fill);
        EXPECT_EQ(fieldPattern(fields[i]), patternId(0));
        EXPECT_FALSE(fields[i].overprint);
        EXPECT_EQ(fields[i].mode, 1);
        EXPECT_FALSE(fields[i].opacity.has_value());
        EXPECT_FLOAT_EQ(fields[i].color.c.p.scale.h, 100.0f);
        EXPECT_FLOAT_EQ(fields[i].color.c.p.scale.v, 100.0f);
        const AIRealMatrix& m = fields[i].color.c.p.transform;
        EXPECT_EQ((std::vector<float>{m.a, m.b, m.c, m.d, m.tx, m.ty}), (std::vector<float>{1, 0, 0, 1, 0, 0}));
    }
    EXPECT_FLOAT_EQ(fields[1].color.c.p.rotate, 0.0f);
    EXPECT_FLOAT_EQ(fields[2].color.c.p.rotate, 90.0f);
}

struct ShapeCase {
    int32_t baseShape;
    const char* operation;
    const char* leadingArguments;
};

class BaseShape : public StyleHostTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(BaseShape, TheRecordsNumbersGoToTheConstructor) {
    record().baseShape = GetParam().baseShape;
    record().shapeX = 10, record().shapeY = 20, record().shapeWidth = 300, record().shapeHeight = 150;
    go();
    std::vector<std::string> args = argumentsOf(GetParam().operation);
    ASSERT_EQ(args.size(), 1u);
    EXPECT_THAT(args[0], ::testing::StartsWith(GetParam().leadingArguments));
    ASSERT_NE(resultShape(), nullptr);
    expectCleanLedger();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BaseShape,
    ::testing::Values(ShapeCase{0, "AIShapeConstructionSuite.NewRect", "10, 20, 300, 150, 0"},
                      ShapeCase{1, "AIShapeConstructionSuite.NewInscribedOval", "10, 20, 300, 150, 0"},
                      ShapeCase{2, "AIShapeConstructionSuite.NewRegularPolygon", "3, 10, 20, 300, 0"},
                      ShapeCase{3, "AIShapeConstructionSuite.NewRegularPolygon", "6, 10, 20, 300, 0"},
                      ShapeCase{4, "AIShapeConstructionSuite.NewStar", "3, 10, 20, 300, 150, 0"},
                      ShapeCase{5, "AIShapeConstructionSuite.NewStar", "4, "},
                      ShapeCase{6, "AIShapeConstructionSuite.NewStar", "5, "},
                      ShapeCase{7, "AIShapeConstructionSuite.NewStar", "6, "},
                      ShapeCase{8, "AIShapeConstructionSuite.NewStar", "7, "},
                      ShapeCase{9, "AIShapeConstructionSuite.NewStar", "8, "},
                      ShapeCase{10, "AIShapeConstructionSuite.NewStar", "12, 10, 20, 300, 150, 0"}));

TEST_F(StyleBuild, AnUnknownShapeKindEndsTheRunBeforeAnyStyleWork) {
    for (int32_t kind : {11, -1, 1 << 30}) {
        record().baseShape = kind;
        record().colorModification = 1;
        std::vector<std::string> ops = go();
        ASSERT_FALSE(ops.empty());
        EXPECT_EQ(ops.back(), "AIPatternSuite.GetNthPattern") << "baseShape " << kind;
        EXPECT_THAT(doc().topLevelArt(), IsEmpty());
    }
    expectCleanLedger();
}

TEST_F(StyleBuild, RandomColourFillAndLayersStackInParserOrder) {
    FilterParameters& p = record();
    p.fillBlendMode = 16;
    p.patternBlendMode = 3;
    p.repeatCount = 3;
    p.transformLinking = 4;
    p.frontRotate = 10;
    p.behindRotate = 90;
    p.randomFrontOpacity = 1;
    p.randomBehindOpacity = 1;
    // red, green, blue, fill mode, front opacity, then one opacity per repeat
    host->random().script({0.1f, 0.2f, 0.3f, 0.5f, 0.25f, 0.4f, 0.5f, 0.6f});
    go();
    EXPECT_EQ(host->random().remaining(), 0u);

    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_EQ(fields[0].kind, simhost::PaintField::Kind::Stroke);

    const simhost::PaintField& fill = fields[1];
    EXPECT_EQ(fill.color.kind, kThreeColor);
    EXPECT_FLOAT_EQ(fill.color.c.rgb.red, 0.1f);
    EXPECT_FLOAT_EQ(fill.color.c.rgb.green, 0.2f);
    EXPECT_FLOAT_EQ(fill.color.c.rgb.blue, 0.3f);
    EXPECT_TRUE(fill.overprint);
    EXPECT_EQ(fill.mode, 11);  // trunc(1 + 20 × 0.5)
    EXPECT_FALSE(fill.opacity.has_value());

    const std::vector<float> rotations{10, 100, 110, 120};
    const std::vector<float> opacities{0.25f, 0.4f, 0.5f, 0.6f};
    for (std::size_t i = 0; i < 4; ++i) {
        const simhost::PaintField& layer = fields[2 + i];
        EXPECT_EQ(layer.color.kind, kPattern);
        EXPECT_FALSE(layer.overprint);
        EXPECT_FLOAT_EQ(layer.color.c.p.rotate, rotations[i]) << "layer " << i;
        EXPECT_EQ(layer.mode, 3);
        ASSERT_TRUE(layer.opacity.has_value());
        EXPECT_FLOAT_EQ(*layer.opacity, opacities[i]);
    }
    expectCleanLedger();
}

TEST_F(StyleBuild, FillModeZeroStaysZeroWhilePatternLayersDrawTheirOwn) {
    record().fillBlendMode = 0;
    record().patternBlendMode = 16;
    // red, green, blue; front mode; repeat mode (0.9 → 19 → Multiply)
    host->random().script({0.5f, 0.5f, 0.5f, 0.1f, 0.9f});
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[1].mode, 0);
    EXPECT_EQ(fields[2].mode, 3);
    EXPECT_EQ(fields[3].mode, 1);
}

TEST_F(StyleBuild, RepeatCountZeroOrLessLeavesStrokeAndFrontOnly) {
    for (int32_t count : {0, -3}) {
        record().repeatCount = count;
        go();
        std::vector<simhost::PaintField> fields = resultFields();
        ASSERT_EQ(fields.size(), 2u) << "repeatCount " << count;
        EXPECT_EQ(fields[0].kind, simhost::PaintField::Kind::Stroke);
        EXPECT_FLOAT_EQ(fields[1].color.c.p.rotate, 0.0f);
    }
    expectCleanLedger();
}

TEST_F(StyleBuild, RepeatsBeyondTheLimitAreCappedAtAThousandLayers) {
    for (int32_t count : {40, 1000, 1001, 0x7FFFFFFF}) {
        record().repeatCount = count;
        go();
        std::size_t expected = static_cast<std::size_t>(std::min(count, 1000)) + 2;
        EXPECT_EQ(resultFields().size(), expected) << "repeatCount " << count;
    }
    expectCleanLedger();
}

TEST_F(StyleBuild, NoSwatchesEndTheRunWithNothingMadeWithOrWithoutUseSwatch) {
    doc().clearPatterns();
    for (int32_t useSwatch : {0, 1}) {
        record().useSwatch = useSwatch;
        record().randomFrontPattern = 1;
        EXPECT_THAT(go(), ElementsAre("AIUndoSuite.UndoChanges", "AIRealMathSuite.AIRealMatrixSetIdentity",
                                      "AIPatternSuite.CountPatterns"));
        EXPECT_THAT(doc().topLevelArt(), IsEmpty());
    }
    expectCleanLedger();
}

TEST_F(StyleBuild, UseSwatchWithoutAPatternFillBuildsNothing) {
    doc().setCurrentPathStyle(simhost::Document::fillStyle(simhost::Document::rgb(0.2f, 0.4f, 0.6f)));
    record().useSwatch = 1;
    std::vector<std::string> ops = go();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back(), "AIPathStyleSuite.GetCurrentPathStyle");
    EXPECT_THAT(doc().topLevelArt(), IsEmpty());
}

TEST_F(StyleBuild, UseSwatchTakesTheCurrentFillsPatternForBothButStillDrawsTheIndices) {
    AIPathStyle current = doc().currentPathStyle();
    current.fill.color = simhost::Document::patternColor(patternId(2));
    doc().setCurrentPathStyle(current);
    FilterParameters& p = record();
    p.useSwatch = 1;
    p.frontPatternIndex = 4;
    p.behindPatternIndex = 5;
    p.randomFrontPattern = 1;
    p.randomBehindPattern = 1;
    host->random().script({0.9f, 0.1f});
    std::vector<std::string> ops = go();
    EXPECT_EQ(host->random().remaining(), 0u);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "AIPatternSuite.GetNthPattern"), 0);
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fieldPattern(fields[1]), patternId(2));
    EXPECT_EQ(fieldPattern(fields[2]), patternId(2));
}

struct IndexCase {
    const char* name;
    int32_t front, behind;
    int32_t linkPatterns, randomFront, randomBehind;
    std::vector<float> draws;
    int32_t expectedFront, expectedBehind;
};

class PatternIndices : public StyleHostTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(PatternIndices, GuardsLinkingAndDraws) {
    const IndexCase& c = GetParam();
    ASSERT_EQ(doc().patterns().size(), 6u);  // the sample document
    FilterParameters& p = record();
    p.frontPatternIndex = c.front, p.behindPatternIndex = c.behind;
    p.linkPatterns = c.linkPatterns, p.randomFrontPattern = c.randomFront, p.randomBehindPattern = c.randomBehind;
    host->random().script(c.draws);
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    EXPECT_THAT(argumentsOf("AIPatternSuite.GetNthPattern"),
                ElementsAre(std::to_string(c.expectedFront), std::to_string(c.expectedBehind)));
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fieldPattern(fields[1]), patternId(static_cast<std::size_t>(c.expectedFront)));
    EXPECT_EQ(fieldPattern(fields[2]), patternId(static_cast<std::size_t>(c.expectedBehind)));
}

INSTANTIATE_TEST_SUITE_P(Cases, PatternIndices,
                         ::testing::Values(IndexCase{"stored", 3, 5, 0, 0, 0, {}, 3, 5},
                                           IndexCase{"front_equal_to_count", 6, 2, 0, 0, 0, {}, 0, 2},
                                           IndexCase{"behind_above_count", 3, 60, 0, 0, 0, {}, 3, 0},
                                           IndexCase{"negative", -1, -7, 0, 0, 0, {}, 0, 0},
                                           IndexCase{"linked", 4, 1, 1, 0, 0, {}, 4, 4},
                                           IndexCase{"linked_random_behind_wins", 4, 1, 1, 0, 1, {0.5f}, 4, 3},
                                           IndexCase{"linked_takes_stored_front", 4, 1, 1, 1, 0, {0.9f}, 5, 4},
                                           IndexCase{"both_random", 0, 0, 0, 1, 1, {0.99f, 0.0f}, 5, 0}),
                         [](const ::testing::TestParamInfo<IndexCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(StyleBuild, SwapPatternsTossesForEveryLayerTheFrontIncluded) {
    FilterParameters& p = record();
    p.frontPatternIndex = 1;
    p.behindPatternIndex = 2;
    p.swapPatterns = 1;
    p.repeatCount = 2;
    host->random().script({0.2f, 0.8f, 0.5f});
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fieldPattern(fields[1]), patternId(2));
    EXPECT_EQ(fieldPattern(fields[2]), patternId(1));
    EXPECT_EQ(fieldPattern(fields[3]), patternId(2));
}

TEST_F(StyleBuild, RandomSwitchesDrawInTheBuildersOrder) {
    FilterParameters& p = record();
    p.randomFrontPattern = 1;
    p.colorModification = 13;  // channel 4: one draw per CMYK child
    p.frontPatternIndex = 2;   // Stripes: five CMYK children
    p.behindPatternIndex = 0;  // Checker: gray, no draws for channel 4
    p.randomFrontRotate = 1;
    p.frontRotate = 100;
    p.fillBlendMode = 16;
    p.randomFrontOpacity = 1;
    p.patternBlendMode = 16;
    p.randomBehindScale = 1;
    // front index (0.4 × 6 → 2), five black channels, front rotation, r g b, fill mode, front mode, front
    // opacity, repeat scales h and v, repeat mode
    host->random().script(
        {0.4f, 0.01f, 0.02f, 0.03f, 0.04f, 0.05f, 0.5f, 0.7f, 0.8f, 0.9f, 0.3f, 0.2f, 0.6f, 0.25f, 0.75f, 0.0f});
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_FLOAT_EQ(fields[1].color.c.rgb.red, 0.7f);
    EXPECT_EQ(fields[1].mode, 7);
    EXPECT_FLOAT_EQ(fields[2].color.c.p.rotate, 50.0f);
    EXPECT_EQ(fields[2].mode, 5);
    EXPECT_FLOAT_EQ(*fields[2].opacity, 0.6f);
    EXPECT_FLOAT_EQ(fields[3].color.c.p.scale.h, 25.0f);
    EXPECT_FLOAT_EQ(fields[3].color.c.p.scale.v, 75.0f);
    EXPECT_EQ(fields[3].mode, 1);
    const simhost::Art* stripes = doc().art(doc().patterns()[2].art);
    ASSERT_NE(stripes, nullptr);
    EXPECT_FLOAT_EQ(doc().art(stripes->children[4])->pathStyle.fill.color.c.f.black, 0.05f);
}

TEST_F(StyleBuild, NoPermanentStyleLeavesTheStyleOnTheShapeButNotInTheList) {
    std::vector<std::string> names = namedStyleNames();
    record().noPermanentStyle = 1;
    std::vector<std::string> ops = go();
    EXPECT_EQ(ops.back(), "AIArtStyleSuite.WithdrawNamedStyle");
    EXPECT_EQ(namedStyleNames(), names);
    EXPECT_EQ(resultFields().size(), 3u);
    expectCleanLedger();
}

TEST_F(StyleBuild, CreateSymbolMakesASymbolOfTheFinishedShape) {
    record().createSymbol = 1;
    record().noPermanentStyle = 1;
    std::size_t symbols = doc().symbols().size();
    std::vector<std::string> ops = go();
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops[ops.size() - 2], "AIArtStyleSuite.WithdrawNamedStyle");
    EXPECT_EQ(ops.back(), "AISymbolSuite.NewSymbolFromArt");
    ASSERT_EQ(doc().symbols().size(), symbols + 1);
    const simhost::Art* copy = doc().art(doc().symbols().back().art);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(doc().effectiveFields(*copy).size(), 3u);
    EXPECT_EQ(doc().topLevelArt().size(), 1u);  // the shape stays in place
}

TEST_F(StyleBuild, TwoRunsLeaveTwoResultsWithDistinctStyleNames) {
    go();
    go();
    std::vector<std::string> ours;
    for (const std::string& name : namedStyleNames())
        if (name.rfind(" Tesselwright Style", 0) == 0)
            ours.push_back(name);
    ASSERT_EQ(ours.size(), 2u);
    EXPECT_NE(ours[0], ours[1]);
    EXPECT_EQ(doc().topLevelArt().size(), 2u);
    expectCleanLedger();
}

// A failed host operation that stops the run: it is the last call the builder makes, nothing it holds
// stays taken, and on the stopping paths the document is not redrawn.
struct StopCase {
    const char* operation;
    int nth;
    bool shapeMade;
};

class StoppingFailure : public StyleHostTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppingFailure, IsTheLastCallOfTheRun) {
    FilterParameters& p = record();
    p.colorModification = 1;  // both swatches recoloured
    p.frontPatternIndex = 0;
    p.behindPatternIndex = 1;
    p.noPermanentStyle = 1;
    p.createSymbol = 1;
    const ASErr code = HOSTAPI_FOURCC('F', 'A', 'I', 'L');
    host->faults().failCall(GetParam().operation, GetParam().nth, code);
    std::vector<std::string> ops = go();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back(), GetParam().operation);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), GetParam().operation), GetParam().nth);
    EXPECT_EQ(doc().topLevelArt().size(), GetParam().shapeMade ? 1u : 0u);
    expectCleanLedger();
}

INSTANTIATE_TEST_SUITE_P(
    Order, StoppingFailure,
    ::testing::Values(
        StopCase{"AIUndoSuite.UndoChanges", 1, false}, StopCase{"AIPatternSuite.CountPatterns", 1, false},
        StopCase{"AIPathStyleSuite.GetCurrentPathStyle", 1, false},
        StopCase{"AIPatternSuite.GetNthPattern", 1, false}, StopCase{"AIPatternSuite.GetNthPattern", 2, false},
        StopCase{"AIShapeConstructionSuite.NewRect", 1, false},
        StopCase{"AIArtStyleSuite.WithdrawNamedStyle", 1, true}, StopCase{"AIPatternSuite.GetPatternArt", 1, true},
        StopCase{"AIArtSuite.GetArtFirstChild", 1, true}, StopCase{"AIArtSuite.GetArtSibling", 2, true},
        StopCase{"AIPatternSuite.SetPatternArt", 1, true}, StopCase{"AIPatternSuite.GetPatternArt", 2, true},
        StopCase{"AIArtSuite.GetArtSibling", 7, true}, StopCase{"AIPatternSuite.SetPatternArt", 2, true},
        StopCase{"AIArtStyleSuite.WithdrawNamedStyle", 2, true},
        StopCase{"AISymbolSuite.NewSymbolFromArt", 1, true}));

// Failures whose results the builder ignores: the run goes on to its end, no handle the host did not
// give is passed back, and every parser and dictionary is let go.
struct IgnoredCase {
    const char* operation;
    int nth;
};

class IgnoredFailure : public StyleHostTest, public ::testing::WithParamInterface<IgnoredCase> {};

TEST_P(IgnoredFailure, TheRunGoesOnToTheSymbol) {
    FilterParameters& p = record();
    p.createSymbol = 1;
    p.randomFrontOpacity = 1;
    p.fillBlendMode = 16;
    p.repeatCount = 2;
    // r g b, fill mode, front opacity: the same draws whatever fails
    host->random().script({0.1f, 0.2f, 0.3f, 0.4f, 0.5f});
    host->faults().failCall(GetParam().operation, GetParam().nth, HOSTAPI_FOURCC('F', 'A', 'I', 'L'));
    std::vector<std::string> ops = go();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back(), "AISymbolSuite.NewSymbolFromArt");
    EXPECT_EQ(host->random().remaining(), 0u);
    EXPECT_EQ(doc().topLevelArt().size(), 1u);
    EXPECT_EQ(host->ledger().outstanding("parser"), 0u);
    EXPECT_EQ(host->ledger().outstanding("dictionary"), 0u);
    EXPECT_THAT(host->ledger().violations(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Results, IgnoredFailure,
                         ::testing::Values(IgnoredCase{"AIArtStyleParserSuite.NewParser", 1},
                                           IgnoredCase{"AIArtStyleParserSuite.NewParser", 2},
                                           IgnoredCase{"AIArtStyleParserSuite.PrepareParser", 2},
                                           IgnoredCase{"AIArtStyleParserSuite.CreateArtStyle", 1},
                                           IgnoredCase{"AIArtStyleParserSuite.CreateArtStyle", 2},
                                           IgnoredCase{"AIArtStyleParserSuite.NewFillPaintField", 1},
                                           IgnoredCase{"AIArtStyleParserSuite.NewStrokePaintField", 1},
                                           IgnoredCase{"AIArtStyleParserSuite.GetNthPaintField", 1},
                                           IgnoredCase{"AIDictionarySuite.CreateDictionary", 2},
                                           IgnoredCase{"AIDictionarySuite.SetIntegerEntry", 1},
                                           IgnoredCase{"AIArtStyleSuite.AddNamedStyle", 1},
                                           IgnoredCase{"AIArtStyleSuite.AddNamedStyle", 2},
                                           IgnoredCase{"AIArtStyleSuite.SetArtStyle", 2},
                                           IgnoredCase{"AIPathStyleSuite.SetPathStyle", 1},
                                           IgnoredCase{"AIPathStyleSuite.GetPathStyle", 1}));

TEST_F(StyleBuild, AReadBackTheHostRefusesFallsBackToTheStyleJustSet) {
    record().repeatCount = 2;
    record().behindRotate = 45;
    host->faults().failCall("AIPathStyleSuite.GetPathStyle", 1, HOSTAPI_FOURCC('F', 'A', 'I', 'L'));
    go();
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[2].color.kind, kPattern);
    EXPECT_FLOAT_EQ(fields[2].color.c.p.rotate, 45.0f);
    EXPECT_EQ(fieldPattern(fields[2]), patternId(0));
}

TEST_F(StyleBuild, AFailedDictionaryLeavesThatFieldWithoutABlendOnly) {
    host->faults().failCall("AIDictionarySuite.CreateDictionary", 1, HOSTAPI_FOURCC('F', 'A', 'I', 'L'));
    go();
    std::vector<simhost::PaintField> fields = resultFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_FALSE(fields[1].mode.has_value());
    EXPECT_EQ(fields[2].mode, 1);
    expectCleanLedger();
}

}  // namespace
