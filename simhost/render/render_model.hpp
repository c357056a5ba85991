#pragma once

// What both renderers share: matrices, colours, the page frame and the pattern matrix (see render.hpp).

#include <optional>

#include "document/document.hpp"
#include "render.hpp"

namespace simhost::render::detail {

// x' = a·x + c·y + tx, y' = b·x + d·y + ty (the host's AIRealMatrix layout, in doubles).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    // (this · other)(p) = this(other(p)): `other` applies first.
    Affine operator*(const Affine& other) const;
    std::optional<Affine> inverse() const;
    bool finite() const;
    double determinant() const { return a * d - b * c; }
    void apply(double x, double y, double& outX, double& outY) const {
        outX = a * x + c * y + tx;
        outY = b * x + d * y + ty;
    }
    static Affine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine rotate(double degrees);
};

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// The colour as it shows on screen; nothing for none, gradients, patterns, stale spot colours and
// non-finite channels.
std::optional<Rgb> solidColor(const Document& document, const AIColor& color);

// Tile coordinates → artwork coordinates; nothing when a number is not finite.
std::optional<Affine> patternMatrix(const AIPatternStyle& style);

// Artwork → pixels for the page.
Affine pageFrame(const Document& document, const RenderOptions& options);

// The field's opacity (1 without one); nothing when it is not finite.
std::optional<double> fieldOpacity(const PaintField& field);

bool finiteGeometry(const Art& art);

}  // namespace simhost::render::detail
