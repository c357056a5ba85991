// Pattern recolouring through the built plug-in: every colour modification mode on gray, CMYK and RGB
// children of two swatches, with scripted draws.
#include "style_host_support.hpp"

namespace {

using simhost::Document;
using simhost::ObjectId;
using style_tests::HandleText;
using style_tests::StyleHostTest;
using ::testing::IsEmpty;

std::vector<simhost::PathSegment> Square(float left, float bottom, float size) {
    auto corner = [](float x, float y) {
        AIRealPoint p{x, y};
        return simhost::PathSegment{p, p, p};
    };
    return {corner(left, bottom), corner(left + size, bottom), corner(left + size, bottom + size),
            corner(left, bottom + size)};
}

// The fill channels of the three process children of a test swatch: gray; cyan, magenta, yellow, black;
// red, green, blue.
struct Palette {
    float gray;
    float c, m, y, k;
    float r, g, b;
};

const Palette kStart{0.5f, 0.2f, 0.3f, 0.4f, 0.5f, 0.95f, 0.5f, 0.02f};
const Palette kNegative{0.5f, 0.8f, 0.7f, 0.6f, 0.5f, 0.05f, 0.5f, 0.98f};
// Jittered by kJitterDraws: gray up by 0.1, CMYK down by 0.1, RGB up by 0.1 with red clamped at 1.
const Palette kJittered{0.6f, 0.1f, 0.2f, 0.3f, 0.4f, 1.0f, 0.6f, 0.12f};
const std::vector<float> kJitterDraws{0.3f, 0.5f, 0.9f, 0.5f, 0.9f, 0.5f, 0.9f, 0.5f,
                                      0.9f, 0.5f, 0.3f, 0.5f, 0.3f, 0.5f, 0.3f, 0.5f};

class Recolouring : public StyleHostTest {
  protected:
    void SetUp() override {
        StyleHostTest::SetUp();
        doc().clearPatterns();
        gold_ = doc().addCustomColor("Gold", Document::cmyk(0.0f, 0.25f, 0.9f, 0.05f));
        front_ = addPaletteSwatch("Front");
        behind_ = addPaletteSwatch("Behind");
        record().frontPatternIndex = 0;
        record().behindPatternIndex = 1;
    }

    ObjectId addPaletteSwatch(const std::string& name) {
        const Palette& s = kStart;
        return doc().addPatternFromArt(
            name, {0, 0, 40, 40},
            {doc().addPath(Square(0, 0, 10), Document::fillStyle(Document::gray(s.gray))),
             doc().addPath(Square(10, 0, 10), Document::fillStyle(Document::cmyk(s.c, s.m, s.y, s.k))),
             doc().addPath(Square(20, 0, 10), Document::fillStyle(Document::rgb(s.r, s.g, s.b))),
             doc().addPath(Square(30, 0, 10), Document::fillStyle(Document::spot(gold_, 0.8f)))});
    }

    const simhost::Art& child(ObjectId swatch, std::size_t n) {
        const simhost::PatternSwatch* p = doc().pattern(swatch);
        const simhost::Art* art = doc().art(doc().art(p->art)->children.at(n));
        return *art;
    }

    void expectPalette(ObjectId swatch, const Palette& expected, const std::string& which) {
        SCOPED_TRACE(which);
        const AIColor& gray = child(swatch, 0).pathStyle.fill.color;
        const AIColor& cmyk = child(swatch, 1).pathStyle.fill.color;
        const AIColor& rgb = child(swatch, 2).pathStyle.fill.color;
        ASSERT_EQ(gray.kind, kGrayColor);
        ASSERT_EQ(cmyk.kind, kFourColor);
        ASSERT_EQ(rgb.kind, kThreeColor);
        constexpr float kTolerance = 1e-6f;
        EXPECT_NEAR(gray.c.g.gray, expected.gray, kTolerance);
        EXPECT_NEAR(cmyk.c.f.cyan, expected.c, kTolerance);
        EXPECT_NEAR(cmyk.c.f.magenta, expected.m, kTolerance);
        EXPECT_NEAR(cmyk.c.f.yellow, expected.y, kTolerance);
        EXPECT_NEAR(cmyk.c.f.black, expected.k, kTolerance);
        EXPECT_NEAR(rgb.c.rgb.red, expected.r, kTolerance);
        EXPECT_NEAR(rgb.c.rgb.green, expected.g, kTolerance);
        EXPECT_NEAR(rgb.c.rgb.blue, expected.b, kTolerance);
        // The spot colour stays as it is in every mode.
        const AIColor& spot = child(swatch, 3).pathStyle.fill.color;
        ASSERT_EQ(spot.kind, kCustomColor);
        EXPECT_EQ(simhost::idOf(spot.c.c.color), gold_);
        EXPECT_FLOAT_EQ(spot.c.c.tint, 0.8f);
    }

    ObjectId gold_ = 0;
    ObjectId front_ = 0;
    ObjectId behind_ = 0;
};

struct ModeCase {
    int32_t mode;
    std::vector<float> draws;
    Palette front;
    Palette behind;
    std::size_t swatchesStored;
};

class RecolouringModes : public Recolouring, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(RecolouringModes, ChangesTheNamedSwatchesInChannelOrder) {
    const ModeCase& c = GetParam();
    record().colorModification = c.mode;
    host->random().script(c.draws);
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    EXPECT_THAT(host->failures(), IsEmpty());
    expectPalette(front_, c.front, "front swatch");
    expectPalette(behind_, c.behind, "behind swatch");
    EXPECT_EQ(argumentsOf("AIPatternSuite.SetPatternArt").size(), c.swatchesStored);
    expectCleanLedger();
}

std::vector<float> Concat(std::vector<float> a, const std::vector<float>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<float> kFrontRandom{0.11f, 0.12f, 0.13f, 0.14f, 0.15f, 0.16f, 0.17f, 0.18f};
const std::vector<float> kBehindRandom{0.21f, 0.22f, 0.23f, 0.24f, 0.25f, 0.26f, 0.27f, 0.28f};
const Palette kFrontRandomPalette{0.11f, 0.12f, 0.13f, 0.14f, 0.15f, 0.16f, 0.17f, 0.18f};
const Palette kBehindRandomPalette{0.21f, 0.22f, 0.23f, 0.24f, 0.25f, 0.26f, 0.27f, 0.28f};

INSTANTIATE_TEST_SUITE_P(
    Modes, RecolouringModes,
    ::testing::Values(
        ModeCase{0, {}, kStart, kStart, 0},
        ModeCase{1, Concat(kFrontRandom, kBehindRandom), kFrontRandomPalette, kBehindRandomPalette, 2},
        ModeCase{2, kFrontRandom, kFrontRandomPalette, kStart, 1},
        ModeCase{3, kBehindRandom, kStart, kBehindRandomPalette, 1}, ModeCase{4, {}, kNegative, kNegative, 2},
        ModeCase{5, {}, kNegative, kStart, 1}, ModeCase{6, {}, kStart, kNegative, 1},
        ModeCase{7, Concat(kJitterDraws, kJitterDraws), kJittered, kJittered, 2},
        ModeCase{8, kJitterDraws, kJittered, kStart, 1}, ModeCase{9, kJitterDraws, kStart, kJittered, 1},
        // Channel n: gray takes channels 1 to 3; channel 4 is black and exists only in CMYK.
        ModeCase{10,
                 {0.11f, 0.12f, 0.13f, 0.21f, 0.22f, 0.23f},
                 {0.11f, 0.12f, 0.3f, 0.4f, 0.5f, 0.13f, 0.5f, 0.02f},
                 {0.21f, 0.22f, 0.3f, 0.4f, 0.5f, 0.23f, 0.5f, 0.02f},
                 2},
        ModeCase{11,
                 {0.11f, 0.12f, 0.13f, 0.21f, 0.22f, 0.23f},
                 {0.11f, 0.2f, 0.12f, 0.4f, 0.5f, 0.95f, 0.13f, 0.02f},
                 {0.21f, 0.2f, 0.22f, 0.4f, 0.5f, 0.95f, 0.23f, 0.02f},
                 2},
        ModeCase{12,
                 {0.11f, 0.12f, 0.13f, 0.21f, 0.22f, 0.23f},
                 {0.11f, 0.2f, 0.3f, 0.12f, 0.5f, 0.95f, 0.5f, 0.13f},
                 {0.21f, 0.2f, 0.3f, 0.22f, 0.5f, 0.95f, 0.5f, 0.23f},
                 2},
        ModeCase{13,
                 {0.11f, 0.21f},
                 {0.5f, 0.2f, 0.3f, 0.4f, 0.11f, 0.95f, 0.5f, 0.02f},
                 {0.5f, 0.2f, 0.3f, 0.4f, 0.21f, 0.95f, 0.5f, 0.02f},
                 2}));

TEST_F(Recolouring, NegativeOnTheSamePatternTwiceGivesBackItsColours) {
    record().behindPatternIndex = 0;
    record().colorModification = 4;
    go();
    EXPECT_EQ(argumentsOf("AIPatternSuite.SetPatternArt").size(), 2u);
    expectPalette(front_, kStart, "front swatch, negated twice");
}

TEST_F(Recolouring, GroupsAreRecolouredAsOneChildAndNotEntered) {
    ObjectId inner = doc().addPath(Square(0, 0, 10), Document::fillStyle(Document::rgb(0.2f, 0.3f, 0.4f)));
    ObjectId group = doc().addGroup({inner});
    ObjectId swatch = doc().addPatternFromArt("Grouped", {0, 0, 40, 40}, {group});
    record().frontPatternIndex = 2;
    record().behindPatternIndex = 2;
    record().colorModification = 2;  // random, front only
    host->random().script({0.7f, 0.8f, 0.9f});
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    // The group reports (and takes) a style as a whole; the path inside keeps its own colour.
    const AIColor& outer = doc().art(group)->pathStyle.fill.color;
    EXPECT_FLOAT_EQ(outer.c.rgb.red, 0.7f);
    const AIColor& innerColor = doc().art(inner)->pathStyle.fill.color;
    EXPECT_FLOAT_EQ(innerColor.c.rgb.red, 0.2f);
    EXPECT_FLOAT_EQ(innerColor.c.rgb.green, 0.3f);
    EXPECT_FLOAT_EQ(innerColor.c.rgb.blue, 0.4f);
    EXPECT_THAT(argumentsOf("AIPathStyleSuite.GetPathStyle"),
                ::testing::Not(::testing::Contains(::testing::HasSubstr(HandleText(inner)))));
    EXPECT_THAT(argumentsOf("AIPatternSuite.SetPatternArt"),
                ::testing::ElementsAre(::testing::StartsWith(HandleText(swatch))));
}

TEST_F(Recolouring, AChildWhoseStyleCannotBeReadIsLeftAlone) {
    record().colorModification = 2;
    // gray and RGB draw; the CMYK child's style cannot be read
    host->random().script({0.11f, 0.16f, 0.17f, 0.18f});
    host->faults().failCall("AIPathStyleSuite.GetPathStyle", 2, HOSTAPI_FOURCC('F', 'A', 'I', 'L'));
    go();
    EXPECT_EQ(host->random().remaining(), 0u);
    expectPalette(front_, {0.11f, 0.2f, 0.3f, 0.4f, 0.5f, 0.16f, 0.17f, 0.18f}, "front swatch");
    // gray, RGB and spot are set back; the unreadable CMYK child is not
    EXPECT_EQ(std::count_if(host->journal().entries().begin(), host->journal().entries().end(),
                            [&](const simhost::JournalEntry& e) {
                                return e.operation == "AIPathStyleSuite.SetPathStyle" &&
                                       e.arguments.find(HandleText(child(front_, 1).id)) != std::string::npos;
                            }),
              0);
    EXPECT_EQ(argumentsOf("AIPatternSuite.SetPatternArt").size(), 1u);
}

TEST_F(Recolouring, ASwatchWithoutChildrenIsStoredBackUnchanged) {
    doc().addPatternFromArt("Empty", {0, 0, 40, 40}, {});
    record().frontPatternIndex = 2;
    record().behindPatternIndex = 2;
    record().colorModification = 1;
    go();
    EXPECT_EQ(argumentsOf("AIPatternSuite.SetPatternArt").size(), 2u);
    EXPECT_THAT(argumentsOf("AIPathStyleSuite.GetPathStyle"), ::testing::SizeIs(1u));  // the repeat's read-back
    expectCleanLedger();
}

TEST_F(Recolouring, AFailedWalkKeepsTheChangedChildrenButDoesNotStoreTheArt) {
    record().colorModification = 5;  // negative, front only
    host->faults().failCall("AIArtSuite.GetArtSibling", 2, HOSTAPI_FOURCC('F', 'A', 'I', 'L'));
    std::vector<std::string> ops = go();
    EXPECT_EQ(ops.back(), "AIArtSuite.GetArtSibling");
    EXPECT_THAT(argumentsOf("AIPatternSuite.SetPatternArt"), IsEmpty());
    const Palette changedTwo{0.5f, 0.8f, 0.7f, 0.6f, 0.5f, 0.95f, 0.5f, 0.02f};
    expectPalette(front_, changedTwo, "front swatch");
}

}  // namespace
