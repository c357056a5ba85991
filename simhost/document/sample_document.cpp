// The built-in sample document: six pattern swatches in every colour kind a swatch can hold, one with a
// spot colour and one with a nested group, and a current path style that fills with a pattern.

#include <cmath>
#include <numbers>

#include "document.hpp"

namespace simhost {

namespace {

constexpr float kKappa = 0.5522847498f;

PathSegment cornerAt(float x, float y) {
    AIRealPoint p{x, y};
    return {p, p, p};
}

std::vector<PathSegment> rect(float left, float bottom, float right, float top) {
    return {cornerAt(left, bottom), cornerAt(right, bottom), cornerAt(right, top), cornerAt(left, top)};
}

std::vector<PathSegment> circle(float cx, float cy, float r) {
    float k = r * kKappa;
    return {
        {{cx + r, cy}, {cx + r, cy - k}, {cx + r, cy + k}},
        {{cx, cy + r}, {cx + k, cy + r}, {cx - k, cy + r}},
        {{cx - r, cy}, {cx - r, cy + k}, {cx - r, cy - k}},
        {{cx, cy - r}, {cx - k, cy - r}, {cx + k, cy - r}},
    };
}

std::vector<PathSegment> star(float cx, float cy, int points, float outer, float inner) {
    std::vector<PathSegment> s;
    for (int i = 0; i < 2 * points; ++i) {
        double angle = std::numbers::pi / 2 + std::numbers::pi * i / points;
        double r = i % 2 == 0 ? outer : inner;
        s.push_back(
            cornerAt(static_cast<float>(cx + r * std::cos(angle)), static_cast<float>(cy + r * std::sin(angle))));
    }
    return s;
}

}  // namespace

void Document::buildSample() {
    auto path = [&](std::vector<PathSegment> segments, AIColor fill) {
        return addPath(std::move(segments), fillStyle(fill));
    };

    // Checker: gray, the simplest tile.
    addPatternFromArt("Checker", {0, 0, 40, 40},
                      {path(rect(0, 0, 40, 40), gray(0.04f)), path(rect(0, 20, 20, 40), gray(0.42f)),
                       path(rect(20, 0, 40, 20), gray(0.42f)), path(circle(10, 10, 4), gray(0.2f)),
                       path(circle(30, 30, 4), gray(0.2f))});

    // Dots: RGB, with quarter dots at the corners that meet across the tile's edges.
    std::vector<ObjectId> dots = {path(rect(0, 0, 40, 40), rgb(0.98f, 0.94f, 0.84f)),
                                  path(circle(20, 20, 11), rgb(0.93f, 0.36f, 0.31f)),
                                  path(circle(20, 20, 5), rgb(0.99f, 0.78f, 0.35f))};
    for (float x : {0.0f, 40.0f})
        for (float y : {0.0f, 40.0f})
            dots.push_back(path(circle(x, y, 7), rgb(0.12f, 0.55f, 0.60f)));
    addPatternFromArt("Dots", {0, 0, 40, 40}, std::move(dots));

    // Stripes: CMYK bands.
    addPatternFromArt("Stripes", {0, 0, 40, 40},
                      {path(rect(0, 0, 11, 40), cmyk(0.85f, 0.15f, 0.0f, 0.0f)),
                       path(rect(11, 0, 20, 40), cmyk(0.0f, 0.02f, 0.08f, 0.0f)),
                       path(rect(20, 0, 31, 40), cmyk(0.0f, 0.78f, 0.25f, 0.0f)),
                       path(rect(31, 0, 38, 40), cmyk(0.0f, 0.12f, 0.88f, 0.0f)),
                       path(rect(38, 0, 40, 40), cmyk(0.2f, 0.2f, 0.2f, 0.85f))});

    // Scales: RGB rows of rimmed discs, each row lying over the row above it.
    std::vector<ObjectId> scales = {path(rect(0, 0, 40, 20), rgb(0.05f, 0.20f, 0.28f))};
    for (int row = 4; row >= -2; --row) {
        float y = 10.0f * static_cast<float>(row);
        float offset = (row % 2 + 2) % 2 == 0 ? 0.0f : 20.0f;
        float shade = static_cast<float>((row + 2) % 2) * 0.08f;
        for (int column = -1; column <= 1; ++column) {
            float x = offset + 40.0f * static_cast<float>(column);
            scales.push_back(path(circle(x, y, 20), rgb(0.07f, 0.42f - shade, 0.47f)));
            scales.push_back(path(circle(x, y + 3, 15), rgb(0.36f, 0.78f - shade, 0.70f)));
        }
    }
    addPatternFromArt("Scales", {0, 0, 40, 20}, std::move(scales));

    // Stars: a spot colour on RGB night blue.
    ObjectId gold = addCustomColor("Tessel Gold", cmyk(0.0f, 0.25f, 0.9f, 0.05f));
    std::vector<ObjectId> stars = {path(rect(0, 0, 40, 40), rgb(0.10f, 0.14f, 0.30f)),
                                   path(star(20, 20, 5, 14, 6), spot(gold, 1.0f))};
    for (float x : {0.0f, 40.0f})
        for (float y : {0.0f, 40.0f})
            stars.push_back(path(star(x, y, 5, 6, 2.5f), spot(gold, 0.55f)));
    addPatternFromArt("Stars", {0, 0, 40, 40}, std::move(stars));

    // Weave: CMYK warp and weft; the weft lies in a nested group, which recolouring treats as one child.
    ObjectId weft = addGroup({path(rect(4, 0, 16, 24), cmyk(0.05f, 0.8f, 0.55f, 0.0f)),
                              path(rect(4, 36, 16, 40), cmyk(0.05f, 0.8f, 0.55f, 0.0f)),
                              path(rect(24, 0, 36, 4), cmyk(0.05f, 0.8f, 0.55f, 0.0f)),
                              path(rect(24, 16, 36, 40), cmyk(0.05f, 0.8f, 0.55f, 0.0f))});
    addPatternFromArt("Weave", {0, 0, 40, 40},
                      {path(rect(0, 0, 40, 40), cmyk(0.04f, 0.04f, 0.12f, 0.0f)),
                       path(rect(0, 4, 40, 16), cmyk(0.75f, 0.25f, 0.0f, 0.1f)),
                       path(rect(0, 24, 40, 36), cmyk(0.75f, 0.25f, 0.0f, 0.1f)), weft});

    AIPathStyle current = fillStyle(patternColor(contents_.patterns[1].id));
    current.strokePaint = kASTrue;
    current.stroke = strokeStyle(rgb(0.16f, 0.16f, 0.22f), 3.0f);
    contents_.currentPathStyle = current;
}

}  // namespace simhost
