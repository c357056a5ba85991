#include "render_model.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <numbers>
#include <system_error>

#include "core/host_error.hpp"

#ifdef SIMHOST_HAVE_CAIRO
#include <cairo.h>
#endif

namespace simhost::render {

namespace {
constexpr std::string_view kSvgModes[16] = {
    "normal", "multiply", "screen",     "overlay",   "soft-light", "hard-light", "color-dodge", "color-burn",
    "darken", "lighten",  "difference", "exclusion", "hue",        "saturation", "color",       "luminosity"};
// cairo_operator_t values by host mode (CAIRO_OPERATOR_OVER, _MULTIPLY, _SCREEN, _OVERLAY, _SOFT_LIGHT,
// _HARD_LIGHT, _COLOR_DODGE, _COLOR_BURN, _DARKEN, _LIGHTEN, _DIFFERENCE, _EXCLUSION, _HSL_HUE,
// _HSL_SATURATION, _HSL_COLOR, _HSL_LUMINOSITY); written as numbers so hosts built without cairo agree.
constexpr int kCairoOperators[16] = {2, 14, 15, 16, 22, 21, 19, 20, 17, 18, 23, 24, 25, 26, 27, 28};
#ifdef SIMHOST_HAVE_CAIRO
static_assert(kCairoOperators[0] == CAIRO_OPERATOR_OVER && kCairoOperators[1] == CAIRO_OPERATOR_MULTIPLY &&
              kCairoOperators[2] == CAIRO_OPERATOR_SCREEN && kCairoOperators[3] == CAIRO_OPERATOR_OVERLAY &&
              kCairoOperators[4] == CAIRO_OPERATOR_SOFT_LIGHT && kCairoOperators[5] == CAIRO_OPERATOR_HARD_LIGHT &&
              kCairoOperators[6] == CAIRO_OPERATOR_COLOR_DODGE &&
              kCairoOperators[7] == CAIRO_OPERATOR_COLOR_BURN && kCairoOperators[8] == CAIRO_OPERATOR_DARKEN &&
              kCairoOperators[9] == CAIRO_OPERATOR_LIGHTEN && kCairoOperators[10] == CAIRO_OPERATOR_DIFFERENCE &&
              kCairoOperators[11] == CAIRO_OPERATOR_EXCLUSION && kCairoOperators[12] == CAIRO_OPERATOR_HSL_HUE &&
              kCairoOperators[13] == CAIRO_OPERATOR_HSL_SATURATION &&
              kCairoOperators[14] == CAIRO_OPERATOR_HSL_COLOR &&
              kCairoOperators[15] == CAIRO_OPERATOR_HSL_LUMINOSITY);
#endif
}  // namespace

std::string_view svgBlendMode(int32_t mode) {
    return mode >= 0 && mode < 16 ? kSvgModes[mode] : kSvgModes[0];
}

int cairoOperator(int32_t mode) {
    return mode >= 0 && mode < 16 ? kCairoOperators[mode] : kCairoOperators[0];
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out || !out.flush()) {
        // The streams keep no reason of their own; the C library's, when it left one, is the useful part.
        const int reason = errno;
        throw HostError("cannot write \"" + file.string() + "\"" +
                        (reason != 0 ? ": " + std::generic_category().message(reason) : std::string()));
    }
}

std::vector<std::uint8_t> renderPng(const Document& document, const RenderOptions& options) {
    return encodePng(renderImage(document, options));
}

}  // namespace simhost::render

namespace simhost::render::detail {

Affine Affine::operator*(const Affine& o) const {
    return {a * o.a + c * o.b, b * o.a + d * o.b,        a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.tx + c * o.ty + tx, b * o.tx + d * o.ty + ty};
}

std::optional<Affine> Affine::inverse() const {
    double det = determinant();
    if (!std::isfinite(det) || std::abs(det) < 1e-12)
        return std::nullopt;
    Affine r{d / det, -b / det, -c / det, a / det, 0, 0};
    r.tx = -(r.a * tx + r.c * ty);
    r.ty = -(r.b * tx + r.d * ty);
    if (!r.finite())
        return std::nullopt;
    return r;
}

bool Affine::finite() const {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) && std::isfinite(tx) &&
           std::isfinite(ty);
}

namespace {
double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}
double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}
}  // namespace

Affine Affine::rotate(double degrees) {
    double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {c, s, -s, c, 0, 0};
}

std::optional<Rgb> solidColor(const Document& document, const AIColor& color) {
    Rgb rgb;
    switch (color.kind) {
        case kGrayColor: {
            double v = 1.0 - clamp01(color.c.g.gray);
            rgb = {v, v, v};
            if (!std::isfinite(color.c.g.gray))
                return std::nullopt;
            break;
        }
        case kThreeColor: {
            const auto& c = color.c.rgb;
            if (!std::isfinite(c.red) || !std::isfinite(c.green) || !std::isfinite(c.blue))
                return std::nullopt;
            rgb = {clamp01(c.red), clamp01(c.green), clamp01(c.blue)};
            break;
        }
        case kFourColor: {
            const auto& c = color.c.f;
            if (!std::isfinite(c.cyan) || !std::isfinite(c.magenta) || !std::isfinite(c.yellow) ||
                !std::isfinite(c.black))
                return std::nullopt;
            double k = 1.0 - clamp01(c.black);
            rgb = {(1.0 - clamp01(c.cyan)) * k, (1.0 - clamp01(c.magenta)) * k, (1.0 - clamp01(c.yellow)) * k};
            break;
        }
        case kCustomColor: {
            const CustomColor* custom = document.customColor(idOf(color.c.c.color));
            if (custom == nullptr || custom->base.kind == kCustomColor || !std::isfinite(color.c.c.tint))
                return std::nullopt;
            auto base = solidColor(document, custom->base);
            if (!base)
                return std::nullopt;
            double t = clamp01(color.c.c.tint);
            rgb = {1.0 + t * (base->r - 1.0), 1.0 + t * (base->g - 1.0), 1.0 + t * (base->b - 1.0)};
            break;
        }
        default:
            return std::nullopt;
    }
    return rgb;
}

std::optional<Affine> patternMatrix(const AIPatternStyle& p) {
    const double tan89 = std::tan(radians(89.0));
    Affine scale = Affine::scale(p.scale.h / 100.0, p.scale.v / 100.0);
    Affine reflect;
    if (p.reflect) {
        double phi = radians(2.0 * p.reflectAngle);
        reflect = {std::cos(phi), std::sin(phi), std::sin(phi), -std::cos(phi), 0, 0};
    }
    double t = std::clamp(std::tan(radians(p.shearAngle)), -tan89, tan89);
    Affine shear = Affine::rotate(p.shearAxis) * Affine{1, 0, t, 1, 0, 0} * Affine::rotate(-p.shearAxis);
    Affine rotate = Affine::rotate(p.rotate);
    Affine shift = Affine::translate(p.shiftDist * std::cos(radians(p.shiftAngle)),
                                     p.shiftDist * std::sin(radians(p.shiftAngle)));
    const AIRealMatrix& m = p.transform;
    Affine own{m.a, m.b, m.c, m.d, m.tx, m.ty};
    Affine result = shift * rotate * shear * reflect * scale * own;
    if (!result.finite())
        return std::nullopt;
    return result;
}

Affine pageFrame(const Document& document, const RenderOptions& options) {
    Bounds b = document.artworkBounds().value_or(Bounds{0, 0, 500, 500});
    double w = std::max(1e-3, static_cast<double>(b.width()));
    double h = std::max(1e-3, static_cast<double>(b.height()));
    double margin = std::clamp(options.margin, 0.0, 0.45) * std::min(options.width, options.height);
    double s = std::min((options.width - 2 * margin) / w, (options.height - 2 * margin) / h);
    if (!std::isfinite(s) || s <= 0)
        s = 1;
    double cx = (b.left + b.right) / 2.0, cy = (b.bottom + b.top) / 2.0;
    return {s, 0, 0, -s, options.width / 2.0 - s * cx, options.height / 2.0 + s * cy};
}

std::optional<double> fieldOpacity(const PaintField& field) {
    if (!field.opacity)
        return 1.0;
    if (!std::isfinite(*field.opacity))
        return std::nullopt;
    return clamp01(*field.opacity);
}

bool finiteGeometry(const Art& art) {
    for (const auto& s : art.segments)
        for (const AIRealPoint& p : {s.p, s.in, s.out})
            if (!std::isfinite(p.h) || !std::isfinite(p.v))
                return false;
    return true;
}

}  // namespace simhost::render::detail
