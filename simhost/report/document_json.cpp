#include "document_json.hpp"

#include <charconv>
#include <cmath>

#include "document/document.hpp"

namespace simhost {

namespace {

using nlohmann::json;

// A 32-bit real as the shortest decimal that reads back as the same real (0.22, not 0.2199999988).
json number(float v) {
    if (!std::isfinite(v))
        return nullptr;
    char buffer[32];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    double shortest = v;
    std::from_chars(buffer, end, shortest);
    return shortest;
}

json point(AIRealPoint p) {
    return json::array({number(p.h), number(p.v)});
}

json bounds(const Bounds& b) {
    return {{"left", number(b.left)},
            {"bottom", number(b.bottom)},
            {"right", number(b.right)},
            {"top", number(b.top)}};
}

std::string patternName(const Document& document, AIPatternHandle handle) {
    const PatternSwatch* p = document.pattern(idOf(handle));
    return p ? p->name : std::string("(unknown pattern)");
}

json strokeJson(const Document& document, const AIStrokeStyle& s) {
    json out = {{"colour", colourJson(document, s.color)},
                {"overprint", s.overprint != 0},
                {"width", number(s.width)},
                {"cap", static_cast<int>(s.cap)},
                {"join", static_cast<int>(s.join)},
                {"miterLimit", number(s.miterLimit)}};
    if (s.dash.length > 0 && s.dash.length <= kMaxDashComponents) {
        json dashes = json::array();
        for (int32_t i = 0; i < s.dash.length; ++i)
            dashes.push_back(number(s.dash.array[i]));
        out["dash"] = {{"offset", number(s.dash.offset)}, {"array", dashes}};
    }
    return out;
}

json fieldJson(const Document& document, const PaintField& f) {
    json out;
    if (f.kind == PaintField::Kind::Fill) {
        out = {{"kind", "fill"}, {"colour", colourJson(document, f.color)}, {"overprint", f.overprint}};
    } else {
        out = strokeJson(document, f.stroke);
        out["kind"] = "stroke";
    }
    if (f.mode)
        out["Mode"] = *f.mode;
    if (f.opacity)
        out["Opacity"] = number(*f.opacity);
    return out;
}

json pathStyleJson(const Document& document, const AIPathStyle& s) {
    return {{"fillPaint", s.fillPaint != 0},
            {"fill", colourJson(document, s.fill.color)},
            {"fillOverprint", s.fill.overprint != 0},
            {"strokePaint", s.strokePaint != 0},
            {"stroke", strokeJson(document, s.stroke)},
            {"evenodd", s.evenodd != 0}};
}

json artJson(const Document& document, ObjectId id) {
    const Art* a = document.art(id);
    if (a == nullptr)
        return nullptr;
    json out = {{"kind", a->kind == ArtKind::Group ? "group" : "path"}};
    if (a->kind == ArtKind::Path) {
        json points = json::array();
        json handles = json::array();
        bool curved = false;
        for (const auto& s : a->segments) {
            points.push_back(point(s.p));
            handles.push_back({number(s.in.h), number(s.in.v), number(s.out.h), number(s.out.v)});
            curved = curved || s.in.h != s.p.h || s.in.v != s.p.v || s.out.h != s.p.h || s.out.v != s.p.v;
        }
        out["points"] = points;
        if (curved)
            out["handles"] = handles;
        out["closed"] = a->closed;
    }
    if (auto b = document.bounds(id))
        out["bounds"] = bounds(*b);
    const ArtStyle* style = a->artStyle ? document.style(*a->artStyle) : nullptr;
    out["style"] = style && !style->name.empty() ? json(style->name) : json(nullptr);
    out["styleListed"] = style != nullptr && style->listed;
    json fields = json::array();
    for (const PaintField& f : document.effectiveFields(*a))
        fields.push_back(fieldJson(document, f));
    out["paintFields"] = fields;
    out["pathStyle"] = pathStyleJson(document, a->pathStyle);
    if (a->kind == ArtKind::Group) {
        json children = json::array();
        for (ObjectId child : a->children)
            children.push_back(artJson(document, child));
        out["children"] = children;
    }
    return out;
}

json swatchChildren(const Document& document, const Art& parent) {
    json children = json::array();
    for (ObjectId id : parent.children) {
        const Art* a = document.art(id);
        if (a == nullptr)
            continue;
        json child = {{"kind", a->kind == ArtKind::Group ? "group" : "path"},
                      {"fill", colourJson(document, a->pathStyle.fill.color)}};
        if (a->kind == ArtKind::Group)
            child["children"] = swatchChildren(document, *a);
        children.push_back(child);
    }
    return children;
}

}  // namespace

json colourJson(const Document& document, const AIColor& c) {
    switch (c.kind) {
        case kGrayColor:
            return {{"kind", "gray"}, {"gray", number(c.c.g.gray)}};
        case kFourColor:
            return {{"kind", "cmyk"},
                    {"cyan", number(c.c.f.cyan)},
                    {"magenta", number(c.c.f.magenta)},
                    {"yellow", number(c.c.f.yellow)},
                    {"black", number(c.c.f.black)}};
        case kThreeColor:
            return {{"kind", "rgb"},
                    {"red", number(c.c.rgb.red)},
                    {"green", number(c.c.rgb.green)},
                    {"blue", number(c.c.rgb.blue)}};
        case kCustomColor: {
            const CustomColor* custom = document.customColor(idOf(c.c.c.color));
            json out = {{"kind", "spot"}, {"tint", number(c.c.c.tint)}};
            out["name"] = custom ? json(custom->name) : json(nullptr);
            if (custom && custom->base.kind != kCustomColor)
                out["base"] = colourJson(document, custom->base);
            return out;
        }
        case kPattern: {
            const AIPatternStyle& p = c.c.p;
            const AIRealMatrix& m = p.transform;
            return {
                {"kind", "pattern"},
                {"pattern", patternName(document, p.pattern)},
                {"shiftDist", number(p.shiftDist)},
                {"shiftAngle", number(p.shiftAngle)},
                {"scaleH", number(p.scale.h)},
                {"scaleV", number(p.scale.v)},
                {"rotate", number(p.rotate)},
                {"reflect", p.reflect != 0},
                {"reflectAngle", number(p.reflectAngle)},
                {"shearAngle", number(p.shearAngle)},
                {"shearAxis", number(p.shearAxis)},
                {"transform", {number(m.a), number(m.b), number(m.c), number(m.d), number(m.tx), number(m.ty)}}};
        }
        case kGradient:
            return {{"kind", "gradient"}};
        case kNoneColor:
            return {{"kind", "none"}};
    }
    return {{"kind", "unknown"}, {"tag", static_cast<int>(c.kind)}};
}

json documentToJson(const Document& document) {
    json art = json::array();
    for (ObjectId id : document.topLevelArt())
        art.push_back(artJson(document, id));

    json named = json::array();
    for (const ArtStyle* s : document.namedStyles()) {
        json fields = json::array();
        for (const PaintField& f : s->fields)
            fields.push_back(fieldJson(document, f));
        named.push_back({{"name", s->name}, {"paintFields", fields}});
    }

    json symbols = json::array();
    for (const Symbol& s : document.symbols())
        symbols.push_back({{"name", s.name}, {"art", artJson(document, s.art)}});

    json patterns = json::array();
    for (const PatternSwatch& p : document.patterns()) {
        const Art* a = document.art(p.art);
        patterns.push_back({{"name", p.name},
                            {"tile", bounds(p.tile)},
                            {"children", a ? static_cast<int>(a->children.size()) : 0}});
    }

    json customs = json::array();
    for (const CustomColor& c : document.customColors())
        customs.push_back({{"name", c.name}, {"base", colourJson(document, c.base)}});

    json views = json::array();
    for (const DocumentView& v : document.views())
        views.push_back(
            {{"width", v.width}, {"height", v.height}, {"zoom", number(v.zoom)}, {"center", point(v.center)}});

    return {{"art", art},
            {"namedStyles", named},
            {"symbols", symbols},
            {"patterns", patterns},
            {"customColors", customs},
            {"currentPathStyle", pathStyleJson(document, document.currentPathStyle())},
            {"views", views},
            {"redraws", document.redrawCount()}};
}

json swatchColours(const Document& document) {
    json out = json::array();
    for (const PatternSwatch& p : document.patterns()) {
        const Art* a = document.art(p.art);
        out.push_back({{"name", p.name}, {"children", a ? swatchChildren(document, *a) : json::array()}});
    }
    return out;
}

}  // namespace simhost
