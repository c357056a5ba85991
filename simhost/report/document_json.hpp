#pragma once

// The document as JSON, for reports and for comparing a document before and after a change. Numbers that
// are not finite are written as null. Handles are never written: they mean nothing outside one run.

#include <nlohmann/json.hpp>

#include "hostapi/types.h"

namespace simhost {

class Document;

// Everything: "art" (top-level art, in document order), "namedStyles", "symbols", "patterns" (names and
// tiles), "customColors", "currentPathStyle", "views" and "redraws".
//
// Art: {"kind": "path" | "group", "points": [[x, y], ...], "handles" (only for curved paths: per anchor
// [inX, inY, outX, outY]), "closed", "bounds": {"left", "bottom", "right", "top"}, "style": the named
// style's name or null, "styleListed", "paintFields": [...] (top-most first), "children" (groups)}.
// Paint field: {"kind": "fill" | "stroke", "colour": ..., "overprint", stroke: "width", "Mode" and "Opacity"
// when the field has them}.
// Colour: {"kind": "gray" | "cmyk" | "rgb" | "spot" | "pattern" | "gradient" | "none", channels by name;
// spot: "name", "tint", "base"; pattern: "pattern" (its name), "shiftDist", "shiftAngle", "scaleH",
// "scaleV", "rotate", "reflect", "reflectAngle", "shearAngle", "shearAxis", "transform" [a, b, c, d, tx, ty]}.
nlohmann::json documentToJson(const Document& document);

// Every swatch's colours: [{"name", "children": [{"kind": "path", "fill": colour} | {"kind": "group",
// "fill": colour, "children": [...]}]}], in swatch order.
nlohmann::json swatchColours(const Document& document);

nlohmann::json colourJson(const Document& document, const AIColor& color);

}  // namespace simhost
