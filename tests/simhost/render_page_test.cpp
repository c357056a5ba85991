// The white page is paper, not art: a blend mode mixes a field with the art beneath it, never with the page.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "document/document.hpp"
#include "hostapi/hostapi.h"
#include "render/render.hpp"

namespace {

using simhost::Document;
namespace render = simhost::render;

Document squareWithField(AIColor color, int32_t mode) {
    Document doc = Document::blank();
    simhost::ObjectId shape = doc.newRectangular(Document::Shape::Rect, 100, 0, 0, 100, false);
    simhost::PaintField field;
    field.color = color;
    field.mode = mode;
    doc.art(shape)->artStyle = doc.newStyle({field});
    return doc;
}

TEST(RenderPage, TheSvgBlendsArtInAnIsolatedGroupAboveThePage) {
    std::string svg = render::renderSvg(squareWithField(Document::rgb(0.2f, 0.4f, 0.6f), kAILightenBlendMode));
    auto page = svg.find("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>");
    auto isolated = svg.find("isolation:isolate");
    auto blended = svg.find("mix-blend-mode:lighten");
    ASSERT_NE(page, std::string::npos);
    ASSERT_NE(isolated, std::string::npos);
    ASSERT_NE(blended, std::string::npos);
    EXPECT_LT(page, isolated);
    EXPECT_LT(isolated, blended);
}

#ifdef SIMHOST_HAVE_CAIRO
struct ModeCase {
    int32_t mode;
    const char* name;
};

// Against white, lighten would wash the field out and multiply would leave it as it is; on a clear backdrop
// every mode shows the lowest field's own colour.
TEST(RenderPage, TheLowestFieldShowsItsOwnColourInEveryMode) {
    for (ModeCase c : {ModeCase{kAINormalBlendMode, "normal"}, ModeCase{kAILightenBlendMode, "lighten"},
                       ModeCase{kAIScreenBlendMode, "screen"}, ModeCase{kAIDifferenceBlendMode, "difference"},
                       ModeCase{kAIMultiplyBlendMode, "multiply"}}) {
        render::Image image =
            render::renderImage(squareWithField(Document::rgb(0.2f, 0.4f, 0.6f), c.mode), {50, 50, 0});
        std::uint32_t centre = 0;
        std::memcpy(&centre, image.pixels.data() + 25 * image.stride + 25 * 4, 4);
        EXPECT_EQ(centre >> 24, 0xFFu) << c.name;
        EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), 51, 1) << c.name;
        EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), 102, 1) << c.name;
        EXPECT_NEAR(static_cast<int>(centre & 0xFF), 153, 1) << c.name;
    }
}

TEST(RenderPage, WhereThereIsNoArtThePageIsWhite) {
    render::Image image =
        render::renderImage(squareWithField(Document::rgb(0, 0, 0), kAINormalBlendMode), {60, 60});
    std::uint32_t corner = 0;
    std::memcpy(&corner, image.pixels.data(), 4);
    EXPECT_EQ(corner, 0xFFFFFFFFu);
}
#endif

}  // namespace
