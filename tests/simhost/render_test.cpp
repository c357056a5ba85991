#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/host_error.hpp"
#include "document/document.hpp"
#include "hostapi/hostapi.h"
#include "render/render.hpp"
#include "render/render_model.hpp"

namespace {

using simhost::Document;
using simhost::ObjectId;
namespace render = simhost::render;
using render::detail::Affine;

AIPatternStyle patternStyle(ObjectId pattern) {
    return Document::patternColor(pattern).c.p;
}

void apply(const Affine& m, double x, double y, double& ox, double& oy) {
    m.apply(x, y, ox, oy);
}

TEST(RenderBlendModes, MapOneToOneOntoSvgAndCairo) {
    const char* names[] = {"normal",      "multiply",   "screen", "overlay",   "soft-light", "hard-light",
                           "color-dodge", "color-burn", "darken", "lighten",   "difference", "exclusion",
                           "hue",         "saturation", "color",  "luminosity"};
#ifdef SIMHOST_HAVE_CAIRO
    const int operators[] = {2, 14, 15, 16, 22, 21, 19, 20, 17, 18, 23, 24, 25, 26, 27, 28};
#endif
    for (int mode = 0; mode < 16; ++mode) {
        EXPECT_EQ(render::svgBlendMode(mode), names[mode]) << mode;
#ifdef SIMHOST_HAVE_CAIRO
        EXPECT_EQ(render::cairoOperator(mode), operators[mode]) << mode;
#endif
    }
    EXPECT_EQ(render::svgBlendMode(16), "normal");
    EXPECT_EQ(render::cairoOperator(-1), render::cairoOperator(0));
}

TEST(RenderPatternMatrix, FollowsTheNumbers) {
    struct Case {
        const char* what;
        void (*set)(AIPatternStyle&);
        double x, y, expectX, expectY;
    };
    const Case cases[] = {
        {"identity", [](AIPatternStyle&) {}, 3, 4, 3, 4},
        {"scale 200 doubles",
         [](AIPatternStyle& p) {
             p.scale = {200, 200};
         },
         3, 4, 6, 8},
        {"scale per axis",
         [](AIPatternStyle& p) {
             p.scale = {50, 300};
         },
         2, 1, 1, 3},
        {"rotate 90 turns a quarter", [](AIPatternStyle& p) { p.rotate = 90; }, 1, 0, 0, 1},
        {"shift along its angle", [](AIPatternStyle& p) { p.shiftDist = 10, p.shiftAngle = 90; }, 0, 0, 0, 10},
        {"reflect about the horizontal", [](AIPatternStyle& p) { p.reflect = kASTrue; }, 2, 3, 2, -3},
        {"reflect about the diagonal", [](AIPatternStyle& p) { p.reflect = kASTrue, p.reflectAngle = 45; }, 1, 0,
         0, 1},
        {"reflect angle without reflect", [](AIPatternStyle& p) { p.reflectAngle = 45; }, 1, 0, 1, 0},
        {"shear along the horizontal", [](AIPatternStyle& p) { p.shearAngle = 45; }, 0, 2, 2, 2},
        {"shear along the vertical", [](AIPatternStyle& p) { p.shearAngle = 45, p.shearAxis = 90; }, 2, 0, 2, -2},
        {"scale before rotation",
         [](AIPatternStyle& p) {
             p.scale = {200, 100}, p.rotate = 90;
         },
         1, 0, 0, 2},
    };
    for (const Case& c : cases) {
        AIPatternStyle p = patternStyle(1);
        c.set(p);
        auto m = render::detail::patternMatrix(p);
        ASSERT_TRUE(m) << c.what;
        double x, y;
        apply(*m, c.x, c.y, x, y);
        EXPECT_NEAR(x, c.expectX, 1e-9) << c.what;
        EXPECT_NEAR(y, c.expectY, 1e-9) << c.what;
    }
    AIPatternStyle broken = patternStyle(1);
    broken.rotate = NAN;
    EXPECT_FALSE(render::detail::patternMatrix(broken));
}

TEST(RenderColours, ConvertEveryKind) {
    Document doc = Document::blank();
    ObjectId spot = doc.addCustomColor("Spot", Document::rgb(0, 0.5f, 1));
    struct Case {
        AIColor color;
        double r, g, b;
    };
    const Case cases[] = {
        {Document::gray(0), 1, 1, 1},
        {Document::gray(1), 0, 0, 0},
        {Document::rgb(0.2f, 0.4f, 2.0f), 0.2, 0.4, 1},
        {Document::cmyk(1, 0, 0.5f, 0.5f), 0, 0.5, 0.25},
        {Document::spot(spot, 1), 0, 0.5, 1},
        {Document::spot(spot, 0.5f), 0.5, 0.75, 1},
    };
    for (const Case& c : cases) {
        auto rgb = render::detail::solidColor(doc, c.color);
        ASSERT_TRUE(rgb);
        EXPECT_NEAR(rgb->r, c.r, 1e-6);
        EXPECT_NEAR(rgb->g, c.g, 1e-6);
        EXPECT_NEAR(rgb->b, c.b, 1e-6);
    }
    EXPECT_FALSE(render::detail::solidColor(doc, Document::none()));
    EXPECT_FALSE(render::detail::solidColor(doc, Document::rgb(NAN, 0, 0)));
}

// A square of 0..40 points filled with a 20-point tile, red on the left half and blue on the right.
struct SmallDocument {
    Document doc = Document::blank();
    ObjectId pattern = doc.addPattern("Halves", {Document::rgb(1, 0, 0), Document::rgb(0, 0, 1)}, 20);
    ObjectId shape = doc.newRectangular(Document::Shape::Rect, 40, 0, 0, 40, false);

    void fill(AIPatternStyle layer, AIColor under = Document::gray(0.25f), int32_t mode = kAIMultiplyBlendMode) {
        AIColor top{};
        top.kind = kPattern;
        top.c.p = layer;
        simhost::PaintField stroke;
        stroke.kind = simhost::PaintField::Kind::Stroke;
        stroke.stroke = Document::strokeStyle(Document::rgb(0.1f, 0.1f, 0.1f), 1);
        simhost::PaintField front;
        front.color = top;
        simhost::PaintField behind;
        behind.color = under;
        behind.mode = mode;
        behind.opacity = 0.5f;
        doc.art(shape)->artStyle = doc.newStyle({stroke, front, behind});
    }
};

TEST(RenderSvg, MatchesTheGoldenPicture) {
    SmallDocument small;
    AIPatternStyle layer = patternStyle(small.pattern);
    layer.scale = {150, 150};
    layer.rotate = 30;
    small.fill(layer, Document::patternColor(small.pattern), kAIMultiplyBlendMode);
    std::string svg = render::renderSvg(small.doc, {200, 200, 0.1});
    std::filesystem::path golden =
        std::filesystem::path(TESSELWRIGHT_SOURCE_DIR) / "tests/simhost/golden/render_small.svg";
    if (std::getenv("TESSELWRIGHT_UPDATE_GOLDEN") != nullptr)
        render::writeFile(golden, svg);
    std::ifstream in(golden);
    ASSERT_TRUE(in) << golden;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(svg, expected.str());
}

TEST(RenderSvg, NeverWritesNonFiniteNumbers) {
    SmallDocument small;
    AIPatternStyle layer = patternStyle(small.pattern);
    layer.shearAngle = INFINITY;
    small.fill(layer, Document::rgb(NAN, 0, 0));
    // Art that cannot be drawn must not spoil the page's frame.
    ObjectId broken = small.doc.newRectangular(Document::Shape::Rect, NAN, 0, 0, 1, false);
    small.doc.art(broken)->segments[1].p.h = INFINITY;
    std::string svg = render::renderSvg(small.doc);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    EXPECT_NE(svg.find("<path"), std::string::npos);                          // the stroke still shows
    EXPECT_NE(svg.find("matrix(22.5 0 0 -22.5 50 950)"), std::string::npos);  // framed by the drawable art
}

#ifdef SIMHOST_HAVE_CAIRO
struct PixelCase {
    const char* what;
    float scale, rotate;
    double x, y;  // artwork point
    bool red;     // else blue
};

TEST(RenderPng, TilesFollowScaleAndRotation) {
    const PixelCase cases[] = {
        {"plain, right half", 100, 0, 15, 20, false}, {"plain, next tile", 100, 0, 25, 20, true},
        {"scale 200", 100 * 2, 0, 15, 20, true},      {"scale 200, far", 200, 0, 25, 20, false},
        {"rotate 90", 100, 90, 5, 15, false},         {"rotate 90, low", 100, 90, 15, 5, true},
    };
    for (const PixelCase& c : cases) {
        SmallDocument small;
        AIPatternStyle layer = patternStyle(small.pattern);
        layer.scale = {c.scale, c.scale};
        layer.rotate = c.rotate;
        small.fill(layer, Document::gray(0), kAINormalBlendMode);
        render::Image image = render::renderImage(small.doc, {100, 100, 0});
        ASSERT_EQ(image.width, 100);
        // 2.5 pixels per point, y down.
        auto px = static_cast<int>(c.x * 2.5), py = static_cast<int>(100 - c.y * 2.5);
        std::uint32_t p = 0;
        std::memcpy(&p, image.pixels.data() + py * image.stride + px * 4, 4);
        unsigned r = (p >> 16) & 0xff, b = p & 0xff;
        EXPECT_EQ(r > 200 && b < 50, c.red) << c.what << " r=" << r << " b=" << b;
        EXPECT_EQ(b > 200 && r < 50, !c.red) << c.what << " r=" << r << " b=" << b;
    }
}

TEST(RenderPng, EncodesAPicture) {
    Document doc;  // the sample: no art, a blank page
    auto png = render::renderPng(doc, {64, 48});
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
}
#endif

}  // namespace
