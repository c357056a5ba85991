#pragma once

// Pictures of the document: SVG text and PNG (cairo).
//
// How the host draws, once for both renderers:
//
// Page. The picture fits the bounds of the document's top-level art (all of it, anchors and bezier handles)
// into the requested pixel size with a margin, centred, on a white page. Artwork y points up, pixel y points
// down. Without art the page shows the square 0..500 points. Top-level art is painted in document order
// (the first at the back); so are a definition's children. The page is paper, not art: the art is drawn on a
// clear backdrop (an isolated group) and then laid on the white page, so a blend mode mixes a field with the
// art beneath it only, never with the page.
//
// Appearance. Each art shows its art style, or without one the plain style of its path style (stroke over
// fill). Paint fields are listed top-most first, as the host's appearance list reads: the first field lies
// over everything, so the list is painted from its last field to its first.
//
// Colours. Gray is an amount of ink: 0 is white, 1 black. Four-colour is converted naively: red =
// (1 − cyan)(1 − black), and so on. A spot colour shows its base colour at its tint: white + tint × (base −
// white). Channels outside 0..1 are clamped. None, gradients and pattern fills inside a pattern's own tile are
// not painted.
//
// Pattern fills. The swatch's tile (its tile bounds, the definition art clipped to them) repeats from the
// tile's own origin in artwork space, under the matrix
//     T = shift · rotate · shear · reflect · scale · transform
// applied to tile coordinates (scale first):
//     scale    (scaleH / 100, scaleV / 100): 200 shows the tile twice as large, negative values mirror it;
//     reflect  when `reflect` is set, a mirror about the line through the origin at `reflectAngle` degrees;
//     shear    by `shearAngle` degrees along the axis at `shearAxis` degrees: a point moves along that axis
//              by tan(shearAngle) times its distance from it (|tan| is capped at tan 89°);
//     rotate   by `rotate` degrees counter-clockwise on the page (90 turns the tile a quarter);
//     shift    by `shiftDist` points in the direction `shiftAngle` degrees;
//     transform the record's own matrix, applied to tile coordinates before everything else.
// In SVG the tile is defined once per swatch and every fill is a <pattern> whose patternTransform is T.
// With cairo each swatch is drawn once as a raster (plus halved copies for small fills) and each fill is a
// repeating surface pattern under T, sampled at the nearest raster pixel (the raster is at least as fine as
// the page) or smoothed where a very large tile had to be capped; a tile smaller than two pixels on the page,
// or one sheared so far that the rasteriser's fixed-point numbers would overflow, is painted as its average
// colour, which is what the eye would see.
//
// Blend modes. The field's "Mode" maps one to one; any other value paints as normal:
//     host  SVG mix-blend-mode   cairo operator
//      0    normal               CAIRO_OPERATOR_OVER
//      1    multiply             CAIRO_OPERATOR_MULTIPLY
//      2    screen               CAIRO_OPERATOR_SCREEN
//      3    overlay              CAIRO_OPERATOR_OVERLAY
//      4    soft-light           CAIRO_OPERATOR_SOFT_LIGHT
//      5    hard-light           CAIRO_OPERATOR_HARD_LIGHT
//      6    color-dodge          CAIRO_OPERATOR_COLOR_DODGE
//      7    color-burn           CAIRO_OPERATOR_COLOR_BURN
//      8    darken               CAIRO_OPERATOR_DARKEN
//      9    lighten              CAIRO_OPERATOR_LIGHTEN
//     10    difference           CAIRO_OPERATOR_DIFFERENCE
//     11    exclusion            CAIRO_OPERATOR_EXCLUSION
//     12    hue                  CAIRO_OPERATOR_HSL_HUE
//     13    saturation           CAIRO_OPERATOR_HSL_SATURATION
//     14    color                CAIRO_OPERATOR_HSL_COLOR
//     15    luminosity           CAIRO_OPERATOR_HSL_LUMINOSITY
// "Opacity" is a fraction of full opacity, clamped to 0..1; without it a field is opaque.
//
// Numbers that are not finite never reach a picture: a path with such a coordinate is left out, and so is
// a field whose colour, opacity, stroke width or pattern matrix is not finite (or whose pattern matrix cannot
// be inverted).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace simhost {
class Document;
}

namespace simhost::render {

struct RenderOptions {
    int width = 1000;
    int height = 1000;
    double margin = 0.05;  // the free border, as a fraction of the smaller side
};

// The document as an SVG document.
std::string renderSvg(const Document& document, const RenderOptions& options = {});

// Rendered pixels: premultiplied ARGB, 32 bits per pixel in native byte order (cairo's ARGB32).
struct Image {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
};

// These three throw HostError when the host was built without cairo, or when drawing or writing fails.
// encodePng writes 8-bit RGB, or RGBA (straight alpha) when any pixel is not opaque, at zlib's fastest level.
Image renderImage(const Document& document, const RenderOptions& options = {});
std::vector<std::uint8_t> encodePng(const Image& image);
std::vector<std::uint8_t> renderPng(const Document& document, const RenderOptions& options = {});

// Writes the bytes to a file, replacing it; throws HostError with a sentence naming the file on failure.
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// The blend mode tables above, for whoever needs them (a mode outside 0..15 gives normal).
std::string_view svgBlendMode(int32_t mode);
int cairoOperator(int32_t mode);  // a cairo_operator_t value

}  // namespace simhost::render
