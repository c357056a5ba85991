#include <gtest/gtest.h>

#ifdef SIMHOST_HAVE_CAIRO
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <thread>
#include <vector>

#include "document/document.hpp"
#include "hostapi/hostapi.h"
#include "render/render.hpp"

namespace {

using simhost::Document;
namespace render = simhost::render;

struct StripeCase {
    const char* what;
    float scale, rotate;
};

// A 20-point tile, red on its left half and blue on its right, repeated over a 400-point square drawn at one
// pixel per point: many periods across the page, so every column of tiles is checked, not just the first.
TEST(RenderPng, SmallTilesRepeatAcrossTheWholePage) {
    const StripeCase cases[] = {
        {"plain", 100, 0},
        {"small", 40, 0},
        {"turned 90", 100, 90},
        {"turned 180", 100, 180},
        {"turned 33, small", 35, 33},
        {"enlarged", 250, -20},
    };
    for (const StripeCase& c : cases) {
        Document doc = Document::blank();
        simhost::ObjectId pattern = doc.addPattern("Halves", {Document::rgb(1, 0, 0), Document::rgb(0, 0, 1)}, 20);
        simhost::ObjectId shape = doc.newRectangular(Document::Shape::Rect, 400, 0, 0, 400, false);
        simhost::PaintField fill;
        fill.color = Document::patternColor(pattern);
        fill.color.c.p.scale = {c.scale, c.scale};
        fill.color.c.p.rotate = c.rotate;
        doc.art(shape)->artStyle = doc.newStyle({fill});
        render::Image image = render::renderImage(doc, {400, 400, 0});
        ASSERT_EQ(image.width, 400);

        const double s = c.scale / 100.0, angle = c.rotate * std::numbers::pi / 180.0;
        int checked = 0, wrong = 0;
        for (int py = 0; py < 400; py += 7)
            for (int px = 0; px < 400; ++px) {
                double x = px + 0.5, y = 400 - (py + 0.5);
                double u = (x * std::cos(angle) + y * std::sin(angle)) / s;  // tile x of the pixel's centre
                double inPeriod = u - 20 * std::floor(u / 20);
                double toEdge = std::min({inPeriod, std::abs(inPeriod - 10), 20 - inPeriod}) * s;
                if (toEdge < 1.5)
                    continue;
                std::uint32_t p = 0;
                std::memcpy(&p, image.pixels.data() + py * image.stride + px * 4, 4);
                unsigned r = (p >> 16) & 0xff, b = p & 0xff;
                bool red = inPeriod < 10;
                ++checked;
                if (red ? !(r > 200 && b < 50) : !(b > 200 && r < 50))
                    ++wrong;
            }
        EXPECT_GT(checked, 2000) << c.what;
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

std::uint32_t pixelAt(const render::Image& image, int x, int y) {
    std::uint32_t p = 0;
    std::memcpy(&p, image.pixels.data() + y * image.stride + x * 4, 4);
    return p;
}

// A multiplied tile over a coloured field: its red half keeps only the red of what lies beneath, and its
// clear half (the tile's art covers only the left half) leaves it untouched; outside the shape nothing
// changes. Turns past a right angle step backwards through the tile. Red multiplied by red is red, so
// three such layers give the same picture, drawn by two threads.
TEST(RenderPng, MultipliedTilesKeepTheirChannelsAndClearParts) {
    for (Document::Shape kind : {Document::Shape::Rect, Document::Shape::Oval})
        for (float rotate : {0.0f, 30.0f, 150.0f, 250.0f})
            for (int layers : {1, 3}) {
                Document doc = Document::blank();
                auto corner = [](float x, float y) {
                    AIRealPoint p{x, y};
                    return simhost::PathSegment{p, p, p};
                };
                simhost::ObjectId red = doc.addPath({corner(0, 0), corner(10, 0), corner(10, 20), corner(0, 20)},
                                                    Document::fillStyle(Document::rgb(1, 0, 0)));
                simhost::ObjectId pattern = doc.addPatternFromArt("Red half", {0, 0, 20, 20}, {red});
                doc.newRectangular(Document::Shape::Rect, 400, 0, 0, 400, false);  // frames the page
                simhost::ObjectId shape = doc.newRectangular(kind, 400, 0, 0, 400, false);
                simhost::PaintField under;
                under.color = Document::rgb(0.8f, 0.6f, 0.4f);
                simhost::PaintField top;
                top.color = Document::patternColor(pattern);
                top.color.c.p.rotate = rotate;
                top.mode = kAIMultiplyBlendMode;
                doc.art(shape)->artStyle = doc.newStyle({under});
                render::Image plain = render::renderImage(doc, {400, 400, 0});
                std::vector<simhost::PaintField> fields(static_cast<std::size_t>(layers), top);
                fields.push_back(under);
                doc.art(shape)->artStyle = doc.newStyle(fields);
                render::Image multiplied = render::renderImage(doc, {400, 400, 0});

                const double angle = rotate * std::numbers::pi / 180.0;
                int inside = 0, outside = 0;
                for (int py = 3; py < 397; py += 5)
                    for (int px = 3; px < 397; px += 3) {
                        double x = px + 0.5, y = 400 - (py + 0.5);
                        double fromCentre = std::hypot(x - 200, y - 200);
                        std::uint32_t beneath = pixelAt(plain, px, py);
                        if (kind == Document::Shape::Oval && fromCentre > 202) {
                            ASSERT_EQ(pixelAt(multiplied, px, py), beneath)
                                << rotate << "°, " << layers << " layers, at " << px << "," << py;
                            ++outside;
                            continue;
                        }
                        if (kind == Document::Shape::Oval && fromCentre > 198)
                            continue;
                        double u = x * std::cos(angle) + y * std::sin(angle);
                        double inPeriod = u - 20 * std::floor(u / 20);
                        if (std::min({inPeriod, std::abs(inPeriod - 10), 20 - inPeriod}) < 1.5)
                            continue;
                        std::uint32_t expected = inPeriod < 10 ? (beneath & 0xffff0000u) : beneath;
                        ASSERT_EQ(pixelAt(multiplied, px, py), expected)
                            << rotate << "°, " << layers << " layers, at " << px << "," << py;
                        ++inside;
                    }
                EXPECT_GT(inside, 4000);
                EXPECT_EQ(outside > 0, kind == Document::Shape::Oval);
            }
}

// Along the edge of a round shape a multiplied tile covers part of a pixel: the pixel lies between what
// was beneath and what the tile makes of it.
TEST(RenderPng, MultipliedTilesBlendInPartlyAlongARoundEdge) {
    Document doc = Document::blank();
    simhost::ObjectId blue = doc.addPattern("Blue", {Document::rgb(0, 0, 1)}, 20);
    simhost::ObjectId square = doc.newRectangular(Document::Shape::Rect, 400, 0, 0, 400, false);
    simhost::PaintField yellow;
    yellow.color = Document::rgb(1, 1, 0);
    doc.art(square)->artStyle = doc.newStyle({yellow});
    simhost::ObjectId disc = doc.newRectangular(Document::Shape::Oval, 400, 0, 0, 400, false);
    simhost::PaintField top;
    top.color = Document::patternColor(blue);
    top.color.c.p.rotate = 20;
    top.mode = kAIMultiplyBlendMode;
    doc.art(disc)->artStyle = doc.newStyle({top});
    render::Image image = render::renderImage(doc, {400, 400, 0});
    // Yellow multiplied by blue is black inside the disc; the corners stay yellow; on the edge, dark yellow.
    EXPECT_EQ(pixelAt(image, 200, 200), 0xFF000000u);
    EXPECT_EQ(pixelAt(image, 2, 2), 0xFFFFFF00u);
    int partly = 0;
    for (int px = 0; px < 400; ++px) {
        const double rise = std::sqrt(200.0 * 200.0 - (px + 0.5 - 200.0) * (px + 0.5 - 200.0));
        const std::uint32_t p = pixelAt(image, px, static_cast<int>(200.0 - rise));
        const std::uint32_t red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF;
        if (red > 0 && red < 0xFF) {
            EXPECT_EQ(red, green) << px;
            EXPECT_EQ(p & 0xFFu, 0u) << px;
            ++partly;
        }
    }
    EXPECT_GT(partly, 50);
}

// A tile wider than the page but short: the sheet of repeats spans the page's height only. Sizing that
// sheet once never ended when its single column was the wider side.
TEST(RenderPng, AWideShortTileIsDrawnAcrossATallPage) {
    Document doc = Document::blank();
    auto corner = [](float x, float y) {
        AIRealPoint p{x, y};
        return simhost::PathSegment{p, p, p};
    };
    simhost::ObjectId red = doc.addPath({corner(0, 0), corner(300, 0), corner(300, 100), corner(0, 100)},
                                        Document::fillStyle(Document::rgb(1, 0, 0)));
    simhost::ObjectId blue = doc.addPath({corner(300, 0), corner(600, 0), corner(600, 100), corner(300, 100)},
                                         Document::fillStyle(Document::rgb(0, 0, 1)));
    simhost::ObjectId pattern = doc.addPatternFromArt("Wide", {0, 0, 600, 100}, {red, blue});
    simhost::ObjectId square = doc.newRectangular(Document::Shape::Rect, 400, 0, 0, 400, false);
    simhost::PaintField fill;
    fill.color = Document::patternColor(pattern);
    doc.art(square)->artStyle = doc.newStyle({fill});
    render::Image image = render::renderImage(doc, {400, 400, 0});
    for (int py : {5, 150, 395}) {
        EXPECT_EQ(pixelAt(image, 100, py), 0xFFFF0000u) << py;
        EXPECT_EQ(pixelAt(image, 350, py), 0xFF0000FFu) << py;
    }
}

// A page whose shape is `size` points square, multiplied by the tile turned by `rotate`, on a 400-point page.
Document multipliedSquare(float size, float rotate) {
    Document doc = Document::blank();
    simhost::ObjectId pattern =
        doc.addPattern("Halves", {Document::rgb(1, 0.5f, 0), Document::rgb(0, 0.5f, 1)}, 20);
    doc.newRectangular(Document::Shape::Rect, 400, 0, 0, 400, false);  // frames the page
    simhost::ObjectId shape = doc.newRectangular(Document::Shape::Rect, size, 0, 0, size, false);
    simhost::PaintField under;
    under.color = Document::rgb(0.8f, 0.6f, 0.4f);
    simhost::PaintField top;
    top.color = Document::patternColor(pattern);
    top.color.c.p.rotate = rotate;
    top.mode = kAIMultiplyBlendMode;
    doc.art(shape)->artStyle = doc.newStyle({top, under});
    return doc;
}

// Pictures drawn one after another on a thread share working memory; nothing of one may show in the next.
TEST(RenderPng, APictureShowsNothingOfThePreviousOne) {
    Document large = multipliedSquare(400, 10), small = multipliedSquare(150, 45);
    render::Image alone;
    std::thread([&] { alone = render::renderImage(small, {300, 300, 0}); }).join();  // a thread of its own
    render::renderImage(large, {300, 300, 0});
    render::Image after = render::renderImage(small, {300, 300, 0});
    EXPECT_TRUE(after.pixels == alone.pixels);
}

}  // namespace
#endif
