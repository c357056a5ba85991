#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "render.hpp"
#include "render_model.hpp"

namespace simhost::render {

namespace {

using detail::Affine;

// Short, exact enough for a picture, and never "nan" or "inf" (callers skip those; 0 is the last guard).
std::string num(double v) {
    if (!std::isfinite(v))
        return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

std::string hex(const detail::Rgb& c) {
    char buffer[8];
    auto byte = [](double v) { return static_cast<unsigned>(std::lround(v * 255.0)); };
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
    return buffer;
}

std::string matrix(const Affine& m) {
    return "matrix(" + num(m.a) + " " + num(m.b) + " " + num(m.c) + " " + num(m.d) + " " + num(m.tx) + " " +
           num(m.ty) + ")";
}

std::string pathData(const Art& art) {
    std::string d;
    const auto& s = art.segments;
    if (s.empty())
        return d;
    auto point = [](AIRealPoint p) { return num(p.h) + " " + num(p.v); };
    auto same = [](AIRealPoint a, AIRealPoint b) { return a.h == b.h && a.v == b.v; };
    d = "M" + point(s[0].p);
    std::size_t n = s.size();
    std::size_t count = art.closed ? n : n - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const PathSegment& from = s[i];
        const PathSegment& to = s[(i + 1) % n];
        bool straight = same(from.out, from.p) && same(to.in, to.p);
        if (straight && art.closed && i + 1 == n)
            break;  // "Z" draws the closing line
        if (straight)
            d += "L" + point(to.p);
        else
            d += "C" + point(from.out) + " " + point(to.in) + " " + point(to.p);
    }
    if (art.closed)
        d += "Z";
    return d;
}

class SvgWriter {
  public:
    SvgWriter(const Document& document, const RenderOptions& options) : doc_(document), options_(options) {}

    std::string write() {
        Affine page = detail::pageFrame(doc_, options_);
        for (ObjectId id : doc_.topLevelArt())
            art(id, body_, false);
        std::string out;
        out += "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
               std::to_string(options_.width) + "\" height=\"" + std::to_string(options_.height) +
               "\" viewBox=\"0 0 " + std::to_string(options_.width) + " " + std::to_string(options_.height) +
               "\">\n";
        out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
        if (!defs_.empty())
            out += "<defs>\n" + defs_ + "</defs>\n";
        // The page is paper, not art: blend modes mix the art with the art beneath it only, as if it lay on
        // a transparent backdrop that is then shown on white.
        out += "<g transform=\"" + matrix(page) + "\" style=\"isolation:isolate\">\n" + body_ + "</g>\n</svg>\n";
        return out;
    }

  private:
    // The tile of a swatch, defined once however many fills use it.
    std::string tile(const PatternSwatch& p) {
        auto known = tiles_.find(p.id);
        if (known != tiles_.end())
            return known->second;
        std::string id = "tile" + std::to_string(tiles_.size());
        tiles_[p.id] = id;
        std::string content;
        art(p.art, content, true);
        defs_ += "<g id=\"" + id + "\">\n" + content + "</g>\n";
        return id;
    }

    // A <pattern> for one fill; its user space is the artwork's.
    std::string pattern(const AIPatternStyle& style) {
        const PatternSwatch* p = doc_.pattern(idOf(style.pattern));
        if (p == nullptr)
            return {};
        auto m = detail::patternMatrix(style);
        if (!m || !m->inverse() || !(p->tile.width() > 0) || !(p->tile.height() > 0))
            return {};
        std::string tileId = tile(*p);
        std::string id = "fill" + std::to_string(fills_++);
        defs_ += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" x=\"" + num(p->tile.left) +
                 "\" y=\"" + num(p->tile.bottom) + "\" width=\"" + num(p->tile.width()) + "\" height=\"" +
                 num(p->tile.height()) + "\" patternTransform=\"" + matrix(*m) + "\"><use xlink:href=\"#" +
                 tileId + "\"/></pattern>\n";
        return "url(#" + id + ")";
    }

    std::string paint(const AIColor& color, bool insideTile) {
        if (color.kind == kPattern)
            return insideTile ? std::string() : pattern(color.c.p);
        auto rgb = detail::solidColor(doc_, color);
        return rgb ? hex(*rgb) : std::string();
    }

    static std::string blend(const PaintField& field, double opacity) {
        std::string s;
        if (field.mode && *field.mode > 0 && *field.mode < 16)
            s += " style=\"mix-blend-mode:" + std::string(svgBlendMode(*field.mode)) + "\"";
        if (opacity < 1.0)
            s += " opacity=\"" + num(opacity) + "\"";
        return s;
    }

    void art(ObjectId id, std::string& out, bool insideTile) {
        const Art* a = doc_.art(id);
        if (a == nullptr)
            return;
        if (a->kind == ArtKind::Group) {
            out += "<g>\n";
            for (ObjectId child : a->children)
                art(child, out, insideTile);
            out += "</g>\n";
            return;
        }
        if (a->segments.empty() || !detail::finiteGeometry(*a))
            return;
        std::string d = pathData(*a);
        auto fields = doc_.effectiveFields(*a);
        for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
            const PaintField& f = *it;
            auto opacity = detail::fieldOpacity(f);
            if (!opacity)
                continue;
            if (f.kind == PaintField::Kind::Fill) {
                std::string fill = paint(f.color, insideTile);
                if (fill.empty())
                    continue;
                out += "<path d=\"" + d + "\" fill=\"" + fill + "\"" + blend(f, *opacity) + "/>\n";
            } else {
                const AIStrokeStyle& s = f.stroke;
                std::string stroke = paint(s.color, insideTile);
                if (stroke.empty() || !std::isfinite(s.width) || s.width <= 0)
                    continue;
                static const char* caps[] = {"butt", "round", "square"};
                static const char* joins[] = {"miter", "round", "bevel"};
                std::string attributes = " stroke-width=\"" + num(s.width) + "\"";
                if (s.cap > 0 && s.cap < 3)
                    attributes += std::string(" stroke-linecap=\"") + caps[s.cap] + "\"";
                if (s.join > 0 && s.join < 3)
                    attributes += std::string(" stroke-linejoin=\"") + joins[s.join] + "\"";
                if (std::isfinite(s.miterLimit) && s.miterLimit >= 1 && s.miterLimit != 4)
                    attributes += " stroke-miterlimit=\"" + num(s.miterLimit) + "\"";
                if (s.dash.length > 0 && s.dash.length <= kMaxDashComponents) {
                    std::string dashes;
                    bool usable = true;
                    for (int32_t i = 0; i < s.dash.length; ++i) {
                        usable = usable && std::isfinite(s.dash.array[i]) && s.dash.array[i] >= 0;
                        dashes += (i ? " " : "") + num(s.dash.array[i]);
                    }
                    if (usable)
                        attributes += " stroke-dasharray=\"" + dashes + "\"";
                }
                out += "<path d=\"" + d + "\" fill=\"none\" stroke=\"" + stroke + "\"" + attributes +
                       blend(f, *opacity) + "/>\n";
            }
        }
    }

    const Document& doc_;
    const RenderOptions& options_;
    std::string defs_;
    std::string body_;
    std::map<ObjectId, std::string> tiles_;
    int fills_ = 0;
};

}  // namespace

std::string renderSvg(const Document& document, const RenderOptions& options) {
    return SvgWriter(document, options).write();
}

}  // namespace simhost::render
