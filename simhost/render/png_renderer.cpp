#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "core/host_error.hpp"
#include "render.hpp"
#include "render_model.hpp"

#ifdef SIMHOST_HAVE_CAIRO
#include <cairo.h>
#endif
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace simhost::render {

#ifndef SIMHOST_HAVE_CAIRO

Image renderImage(const Document&, const RenderOptions&) {
    throw HostError("this build of the host has no cairo, so it cannot draw PNG pictures (SVG works)");
}

#else

namespace {

using detail::Affine;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

// The largest raster a tile gets, per side and in all.
constexpr int kMaxTileSide = 2048;
constexpr double kMaxTilePixels = 4.0 * 1024 * 1024;
// The largest sheet of repeated tiles, per side and in all. Larger sheets were slower: a turned tile is read
// across its rows, which wants the sheet in the processor's cache, and fresh memory is costly to touch.
constexpr int kMaxSheetSide = 2048;
constexpr double kMaxSheetPixels = 512.0 * 512;
// Pixman computes sample positions in 16.16 fixed point; transforms that would overflow it are drawn as the
// tile's average colour instead.
constexpr double kFixedPointLimit = 30000.0;
// Multiplying fewer pixels than this (summed over the layers) is left to one thread: starting a second
// costs more than it saves.
constexpr double kWorkWorthAThread = 256.0 * 1024;

double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

void appendPath(cairo_t* cr, const Art& art, const Affine& m) {
    cairo_new_path(cr);
    const auto& s = art.segments;
    if (s.empty())
        return;
    auto to = [&](AIRealPoint p, double& x, double& y) { m.apply(p.h, p.v, x, y); };
    double x, y;
    to(s[0].p, x, y);
    cairo_move_to(cr, x, y);
    std::size_t n = s.size();
    std::size_t count = art.closed ? n : n - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const PathSegment& from = s[i];
        const PathSegment& next = s[(i + 1) % n];
        double x1, y1, x2, y2, x3, y3;
        to(from.out, x1, y1);
        to(next.in, x2, y2);
        to(next.p, x3, y3);
        cairo_curve_to(cr, x1, y1, x2, y2, x3, y3);
    }
    if (art.closed)
        cairo_close_path(cr);
}

// s multiply d, premultiplied, channel by channel: s·(1 − αd) + d·(1 − αs) + s·d, each product rounded and
// each sum saturated as pixman does (a clear source leaves d as it is).
std::uint32_t multiplied(std::uint32_t s, std::uint32_t d) {
    auto mul = [](std::uint32_t x, std::uint32_t a) {
        std::uint32_t t = x * a + 0x80;
        return ((t + (t >> 8)) >> 8) & 0xff;
    };
    const std::uint32_t sInverse = 255 - (s >> 24), dInverse = 255 - (d >> 24);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t sc = (s >> shift) & 0xff, dc = (d >> shift) & 0xff;
        std::uint32_t sum = std::min(255u, mul(sc, dInverse) + mul(dc, sInverse));
        out |= std::min(255u, sum + mul(dc, sc)) << shift;
    }
    return out;
}

#ifdef __SSE2__
// The same for four pixels at once. Where a side is opaque its "1 − α" terms are zero, and most pixels of
// a page are: the work for them is one product per channel instead of three, with the same result.
[[gnu::always_inline]] inline __m128i multipliedFour(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255), half = _mm_set1_epi16(0x80),
                  spread = _mm_set1_epi16(0x0101), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    auto mul16 = [&](__m128i x, __m128i a) {
        return _mm_mulhi_epu16(_mm_add_epi16(_mm_mullo_epi16(x, a), half), spread);
    };
    auto alphas = [](__m128i x) {
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
    };
    auto opaque = [&](__m128i x) {
        return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(x, alpha), alpha)) == 0xFFFF;
    };
    const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
    const __m128i dLow = _mm_unpacklo_epi8(d, zero), dHigh = _mm_unpackhi_epi8(d, zero);
    if (opaque(d)) {
        if (opaque(s))
            return _mm_packus_epi16(mul16(dLow, sLow), mul16(dHigh, sHigh));
        auto blend = [&](__m128i sw, __m128i dw) {
            __m128i sInverse = _mm_sub_epi16(full, alphas(sw));
            return _mm_min_epi16(_mm_add_epi16(mul16(dw, sInverse), mul16(dw, sw)), full);
        };
        return _mm_packus_epi16(blend(sLow, dLow), blend(sHigh, dHigh));
    }
    auto blend = [&](__m128i sw, __m128i dw) {
        __m128i sInverse = _mm_sub_epi16(full, alphas(sw)), dInverse = _mm_sub_epi16(full, alphas(dw));
        __m128i sum = _mm_min_epi16(_mm_add_epi16(mul16(sw, dInverse), mul16(dw, sInverse)), full);
        return _mm_min_epi16(_mm_add_epi16(sum, mul16(dw, sw)), full);
    };
    return _mm_packus_epi16(blend(sLow, dLow), blend(sHigh, dHigh));
}
#endif

// Every channel of a premultiplied pixel times a / 255, rounded as pixman rounds.
std::uint32_t scaled(std::uint32_t pixel, std::uint32_t a) {
    std::uint32_t rb = (pixel & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = ((pixel >> 8) & 0x00FF00FFu) * a + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// One pattern layer's walk through its tile raster: each page pixel's centre is taken to the raster in
// 16.16 fixed point and the nearest raster pixel read, as cairo's pixman does. Positions are kept within
// one period of the raster as they step along a row, so that the small raster, not a page-sized sheet of
// it, is read: it stays in the processor's cache.
class TileWalk {
  public:
    // `raster` is at most kMaxTileSide pixels a side.
    TileWalk(cairo_surface_t* raster, const Affine& toRaster)
        : pixels_(reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(raster))),
          stride_(cairo_image_surface_get_stride(raster) / 4),
          periodU_(static_cast<std::int64_t>(cairo_image_surface_get_width(raster)) << 16),
          periodV_(static_cast<std::int64_t>(cairo_image_surface_get_height(raster)) << 16),
          stepU_(wrapped(fixed(toRaster.a), periodU_)),
          stepV_(wrapped(fixed(toRaster.b), periodV_)),
          toRaster_(toRaster) {}

    // Multiplies the layer into `to`, the page's pixels `left` to `left + width` of row `y`, each sample
    // scaled by `cover`, the shape's coverage there, with pixman's multiply arithmetic.
    void multiplyRow(int y, int left, int width, const unsigned char* cover, std::uint32_t* to) const {
        double startU, startV;
        toRaster_.apply(left + 0.5, y + 0.5, startU, startV);
        // Pixman rounds a sample that falls exactly on a pixel edge down to the pixel before it.
        std::int64_t u = wrapped(fixed(startU) - 1, periodU_), v = wrapped(fixed(startV) - 1, periodV_);
        // Each step is less than a period, so one subtraction brings a position back.
        auto sample = [&](std::uint32_t coverage) {
            std::uint32_t pixel = 0;
            if (coverage != 0) {
                pixel = pixels_[(v >> 16) * stride_ + (u >> 16)];
                if (coverage != 0xFF)
                    pixel = scaled(pixel, coverage);
            }
            u += stepU_;
            if (u >= periodU_)
                u -= periodU_;
            v += stepV_;
            if (v >= periodV_)
                v -= periodV_;
            return pixel;
        };
        int x = 0;
#ifdef __SSE2__
        // Four positions at a time. Each position's row and column fit one 16-bit half of a lane, and one
        // multiply-add gives the pixel's index.
        const __m128i stepU4 = _mm_set1_epi32(static_cast<std::int32_t>(4 * stepU_ % periodU_));
        const __m128i stepV4 = _mm_set1_epi32(static_cast<std::int32_t>(4 * stepV_ % periodV_));
        const __m128i periodUs = _mm_set1_epi32(static_cast<std::int32_t>(periodU_));
        const __m128i periodVs = _mm_set1_epi32(static_cast<std::int32_t>(periodV_));
        const __m128i lastU = _mm_set1_epi32(static_cast<std::int32_t>(periodU_ - 1));
        const __m128i lastV = _mm_set1_epi32(static_cast<std::int32_t>(periodV_ - 1));
        const __m128i upperHalves = _mm_set1_epi32(static_cast<std::int32_t>(0xFFFF0000u));
        const __m128i toIndex = _mm_set1_epi32(static_cast<std::int32_t>(1 | (stride_ << 16)));
        alignas(16) std::int32_t lanes[2][4];
        for (int lane = 0; lane < 4; ++lane) {
            lanes[0][lane] = static_cast<std::int32_t>(u);
            lanes[1][lane] = static_cast<std::int32_t>(v);
            sample(0);
        }
        __m128i us = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[0]));
        __m128i vs = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[1]));
        for (; x + 4 <= width; x += 4) {
            std::uint32_t coverage;
            std::memcpy(&coverage, cover + x, 4);
            if (coverage != 0) {
                const __m128i place = _mm_or_si128(_mm_srli_epi32(us, 16), _mm_and_si128(vs, upperHalves));
                alignas(16) std::int32_t index[4];
                _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_madd_epi16(place, toIndex));
                std::uint32_t p[4];
                for (int lane = 0; lane < 4; ++lane)
                    p[lane] = pixels_[index[lane]];
                if (coverage != 0xFFFFFFFFu)
                    for (int lane = 0; lane < 4; ++lane)
                        p[lane] = cover[x + lane] == 0xFF ? p[lane] : scaled(p[lane], cover[x + lane]);
                // Gathered lane by lane: a wide load of four narrow stores would wait for all of them.
                const __m128i sources = _mm_set_epi32(static_cast<int>(p[3]), static_cast<int>(p[2]),
                                                      static_cast<int>(p[1]), static_cast<int>(p[0]));
                auto* at = reinterpret_cast<__m128i*>(to + x);
                _mm_storeu_si128(at, multipliedFour(sources, _mm_loadu_si128(at)));
            }
            us = _mm_add_epi32(us, stepU4);
            us = _mm_sub_epi32(us, _mm_and_si128(_mm_cmpgt_epi32(us, lastU), periodUs));
            vs = _mm_add_epi32(vs, stepV4);
            vs = _mm_sub_epi32(vs, _mm_and_si128(_mm_cmpgt_epi32(vs, lastV), periodVs));
        }
        u = _mm_cvtsi128_si32(us);
        v = _mm_cvtsi128_si32(vs);
#endif
        for (; x < width; ++x)
            to[x] = multiplied(sample(cover[x]), to[x]);
    }

  private:
    static std::int64_t fixed(double value) {
        return static_cast<std::int64_t>(std::llround(value * 65536.0));
    }
    static std::int64_t wrapped(std::int64_t position, std::int64_t period) {
        position %= period;
        return position < 0 ? position + period : position;
    }

    const std::uint32_t* pixels_;
    std::int64_t stride_;  // in pixels
    std::int64_t periodU_, periodV_, stepU_, stepV_;
    Affine toRaster_;
};

// The multiply sheet of the last picture drawn on this thread, clear, for the next picture of its size:
// fresh memory is costly to touch, and a preview draws the same size again and again. Only sheets up to
// kMaxKeptScratchPixels are kept.
constexpr double kMaxKeptScratchPixels = 4096.0 * 4096;
thread_local Surface keptScratch;

class PngRenderer {
  public:
    PngRenderer(const Document& document, const RenderOptions& options) : doc_(document), options_(options) {}
    ~PngRenderer() {
        if (scratch_ && cairo_surface_status(scratch_.get()) == CAIRO_STATUS_SUCCESS &&
            static_cast<double>(options_.width) * options_.height <= kMaxKeptScratchPixels)
            keptScratch = std::move(scratch_);
    }
    PngRenderer(const PngRenderer&) = delete;
    PngRenderer& operator=(const PngRenderer&) = delete;

    Image render() {
        if (options_.width <= 0 || options_.height <= 0 || options_.width > 16384 || options_.height > 16384)
            throw HostError("a picture must be 1 to 16384 pixels wide and high, not " +
                            std::to_string(options_.width) + "×" + std::to_string(options_.height));
        page_ = detail::pageFrame(doc_, options_);
        // Drawn straight into the image's own pixels: a page is megabytes, not worth a second copy.
        Image image;
        image.width = options_.width;
        image.height = options_.height;
        image.stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, options_.width);
        try {
            // The art is drawn on a clear backdrop and laid on the white page at the end: the page is paper, not
            // art, so blend modes mix art with the art beneath it only.
            image.pixels.assign(static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height),
                                0x00);
        } catch (const std::bad_alloc&) {
            throw HostError("there is not enough memory for a picture of " + std::to_string(options_.width) + "×" +
                            std::to_string(options_.height) + " pixels");
        }
        Surface surface(cairo_image_surface_create_for_data(image.pixels.data(), CAIRO_FORMAT_ARGB32, image.width,
                                                            image.height, image.stride));
        Context cr(cairo_create(surface.get()));
        pageSurface_ = surface.get();
        for (ObjectId id : doc_.topLevelArt())
            measure(id, page_);
        for (ObjectId id : doc_.topLevelArt())
            draw(cr.get(), id, page_, false);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            throw HostError(std::string("drawing the picture failed: ") +
                            cairo_status_to_string(cairo_status(cr.get())));
        cairo_surface_flush(surface.get());
        cr.reset();
        surface.reset();
        layOnWhitePage(image);
        return image;
    }

  private:
    // Premultiplied art over white: every colour channel gains what the art's coverage leaves of the page.
    static void layOnWhitePage(Image& image) {
        for (int y = 0; y < image.height; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(
                image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.stride));
            for (int x = 0; x < image.width; ++x) {
                std::uint32_t pixel = row[x];
                std::uint32_t uncovered = 0xFFu - (pixel >> 24);
                row[x] =
                    0xFF000000u | ((pixel & 0x00FFFFFFu) + ((uncovered << 16) | (uncovered << 8) | uncovered));
            }
        }
    }

    // A level repeated `columns` × `rows` times. Pixman finds a repeating source's pixel by stepping back one
    // period at a time, so a small tile sampled across the whole page costs many steps per pixel; over a
    // sheet that spans the page's samples it costs none, and the samples are the same.
    struct Sheet {
        int columns = 1, rows = 1;
        Surface surface;
    };

    struct Tile {
        const PatternSwatch* swatch = nullptr;
        double needX = 1, needY = 1;                    // the largest size any fill shows the tile at, in pixels
        std::vector<Surface> levels;                    // level k is about half of level k − 1
        std::map<std::size_t, Sheet> sheets;            // by level
        std::optional<std::array<double, 4> > average;  // premultiplied r, g, b, a
    };

    // The tile's size on the page under `toDevice`.
    static void extent(const Tile& t, const Affine& toDevice, double& x, double& y) {
        x = length(toDevice.a, toDevice.b) * t.swatch->tile.width();
        y = length(toDevice.c, toDevice.d) * t.swatch->tile.height();
    }

    Tile* tileOf(const AIPatternStyle& style) {
        const PatternSwatch* p = doc_.pattern(idOf(style.pattern));
        if (p == nullptr || !(p->tile.width() > 0) || !(p->tile.height() > 0) || !std::isfinite(p->tile.width()) ||
            !std::isfinite(p->tile.height()))
            return nullptr;
        Tile& t = tiles_[p->id];
        t.swatch = p;
        return &t;
    }

    // First pass: how large each swatch's raster must be for its largest fill.
    void measure(ObjectId id, const Affine& toDevice) {
        const Art* a = doc_.art(id);
        if (a == nullptr)
            return;
        for (ObjectId child : a->children)
            measure(child, toDevice);
        for (const PaintField& f : doc_.effectiveFields(*a)) {
            const AIColor& c = f.kind == PaintField::Kind::Fill ? f.color : f.stroke.color;
            if (c.kind != kPattern)
                continue;
            Tile* t = tileOf(c.c.p);
            auto m = detail::patternMatrix(c.c.p);
            if (t == nullptr || !m)
                continue;
            double x, y;
            extent(*t, toDevice * *m, x, y);
            if (std::isfinite(x) && std::isfinite(y)) {
                t->needX = std::max(t->needX, x);
                t->needY = std::max(t->needY, y);
            }
        }
    }

    cairo_surface_t* level(Tile& t, std::size_t k) {
        if (t.levels.empty()) {
            double nx = std::clamp(std::ceil(t.needX), 1.0, static_cast<double>(kMaxTileSide));
            double ny = std::clamp(std::ceil(t.needY), 1.0, static_cast<double>(kMaxTileSide));
            double shrink = std::sqrt(std::max(1.0, nx * ny / kMaxTilePixels));
            int w = std::max(1, static_cast<int>(nx / shrink)), h = std::max(1, static_cast<int>(ny / shrink));
            Surface top(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
            Context cr(cairo_create(top.get()));
            const Bounds& b = t.swatch->tile;
            Affine toRaster =
                Affine::scale(w / static_cast<double>(b.width()), -h / static_cast<double>(b.height())) *
                Affine::translate(-b.left, -b.top);
            draw(cr.get(), t.swatch->art, toRaster, true);
            cairo_surface_flush(top.get());
            t.levels.push_back(std::move(top));
        }
        while (t.levels.size() <= k) {
            cairo_surface_t* from = t.levels.back().get();
            int fw = cairo_image_surface_get_width(from), fh = cairo_image_surface_get_height(from);
            int w = std::max(1, (fw + 1) / 2), h = std::max(1, (fh + 1) / 2);
            Surface half(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
            Context cr(cairo_create(half.get()));
            cairo_scale(cr.get(), w / static_cast<double>(fw), h / static_cast<double>(fh));
            cairo_set_source_surface(cr.get(), from, 0, 0);
            cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_REPEAT);
            cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_BILINEAR);
            cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
            cairo_paint(cr.get());
            cairo_surface_flush(half.get());
            t.levels.push_back(std::move(half));
        }
        return t.levels[k].get();
    }

    // The level repeated at least `columns` × `rows` times, within kMaxSheetPixels.
    cairo_surface_t* sheet(Tile& t, std::size_t k, int columns, int rows) {
        cairo_surface_t* s = level(t, k);
        int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        columns = std::clamp(columns, 1, std::max(1, kMaxSheetSide / w));
        rows = std::clamp(rows, 1, std::max(1, kMaxSheetSide / h));
        while (static_cast<double>(columns) * w * rows * h > kMaxSheetPixels && (columns > 1 || rows > 1)) {
            // Halve the longer side of the sheet, or the only side that can still shrink.
            if (rows == 1 || (columns > 1 && columns * w >= rows * h))
                columns /= 2;
            else
                rows /= 2;
        }
        if (columns == 1 && rows == 1)
            return s;
        Sheet& sheet = t.sheets[k];
        if (sheet.surface && sheet.columns >= columns && sheet.rows >= rows)
            return sheet.surface.get();
        columns = std::max(columns, sheet.columns);
        rows = std::max(rows, sheet.rows);
        Surface big(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, columns * w, rows * h));
        if (cairo_surface_status(big.get()) != CAIRO_STATUS_SUCCESS)
            return s;
        // Plain copies: each of the level's rows repeated along the sheet's row, then whole bands of rows.
        cairo_surface_flush(big.get());
        const unsigned char* from = cairo_image_surface_get_data(s);
        unsigned char* to = cairo_image_surface_get_data(big.get());
        const std::ptrdiff_t fromStride = cairo_image_surface_get_stride(s);
        const std::ptrdiff_t toStride = cairo_image_surface_get_stride(big.get());
        const auto rowBytes = static_cast<std::ptrdiff_t>(w) * 4;
        for (int y = 0; y < h; ++y)
            for (int c = 0; c < columns; ++c)
                std::memcpy(to + y * toStride + c * rowBytes, from + y * fromStride,
                            static_cast<std::size_t>(rowBytes));
        for (int y = h; y < rows * h; ++y)
            std::memcpy(to + y * toStride, to + (y - h) * toStride, static_cast<std::size_t>(rowBytes * columns));
        cairo_surface_mark_dirty(big.get());
        sheet = Sheet{columns, rows, std::move(big)};
        return sheet.surface.get();
    }

    std::array<double, 4> average(Tile& t) {
        if (!t.average) {
            cairo_surface_t* s = level(t, 0);
            int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
            int stride = cairo_image_surface_get_stride(s);
            const unsigned char* data = cairo_image_surface_get_data(s);
            double sum[4] = {0, 0, 0, 0};
            for (int y = 0; y < h; ++y) {
                const auto* row =
                    reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
                for (int x = 0; x < w; ++x) {
                    std::uint32_t p = row[x];
                    sum[0] += (p >> 16) & 0xff;
                    sum[1] += (p >> 8) & 0xff;
                    sum[2] += p & 0xff;
                    sum[3] += p >> 24;
                }
            }
            double n = 255.0 * w * h;
            t.average = std::array<double, 4>{sum[0] / n, sum[1] / n, sum[2] / n, sum[3] / n};
        }
        return *t.average;
    }

    // How a pattern fill samples its tile: a level repeated under `toRaster`, at the nearest pixel or
    // smoothed; or, where the tile is too small to show, its average colour.
    struct Sampling {
        cairo_surface_t* raster = nullptr;  // the level; null: the average colour
        Affine toRaster;
        bool nearest = false;
        std::array<double, 4> average{};  // premultiplied r, g, b, a
        // For cairo: the level repeated as often as the page's samples need (see Sheet).
        Tile* tile = nullptr;
        std::size_t level = 0;
        int columns = 1, rows = 1;
    };

    // Nothing when the fill draws nothing.
    std::optional<Sampling> sampling(const AIPatternStyle& style, const Affine& toDevice) {
        Tile* t = tileOf(style);
        auto m = detail::patternMatrix(style);
        if (t == nullptr || !m)
            return std::nullopt;
        Affine tileToDevice = toDevice * *m;
        if (!tileToDevice.inverse())
            return std::nullopt;
        double ex, ey;
        extent(*t, tileToDevice, ex, ey);
        auto useAverage = [&]() -> std::optional<Sampling> {
            Sampling result;
            result.average = average(*t);
            if (result.average[3] <= 0)
                return std::nullopt;
            return result;
        };
        if (ex < 2 || ey < 2)
            return useAverage();
        // The smallest level that still shows the tile at least as large as the page does.
        std::size_t k = 0;
        while (true) {
            cairo_surface_t* s = level(*t, k);
            int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
            if ((w + 1) / 2 < ex || (h + 1) / 2 < ey || (w == 1 && h == 1))
                break;
            ++k;
        }
        cairo_surface_t* s = level(*t, k);
        int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        const Bounds& b = t->swatch->tile;
        Affine rasterToTile{b.width() / static_cast<double>(w),   0,      0,
                            -b.height() / static_cast<double>(h), b.left, b.top};
        auto toRaster = (tileToDevice * rasterToTile).inverse();
        if (!toRaster)
            return std::nullopt;
        double largest =
            std::max({std::abs(toRaster->a), std::abs(toRaster->b), std::abs(toRaster->c), std::abs(toRaster->d)});
        if (largest * (options_.width + options_.height) > kFixedPointLimit)
            return useAverage();
        // The tiling repeats every raster period, so the offset can be moved by whole periods: the page's
        // samples then start in the first period, and a sheet spanning them needs no repeating at all.
        toRaster->tx = std::fmod(toRaster->tx, static_cast<double>(w));
        toRaster->ty = std::fmod(toRaster->ty, static_cast<double>(h));
        double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
        for (double px : {0.0, static_cast<double>(options_.width)})
            for (double py : {0.0, static_cast<double>(options_.height)}) {
                double rx, ry;
                toRaster->apply(px, py, rx, ry);
                minX = std::min(minX, rx);
                maxX = std::max(maxX, rx);
                minY = std::min(minY, ry);
                maxY = std::max(maxY, ry);
            }
        toRaster->tx -= std::floor(minX / w) * w;
        toRaster->ty -= std::floor(minY / h) * h;
        Sampling result;
        result.raster = s;
        result.toRaster = *toRaster;
        result.tile = t;
        result.level = k;
        result.columns = static_cast<int>(std::ceil((maxX - minX) / w)) + 1;
        result.rows = static_cast<int>(std::ceil((maxY - minY) / h)) + 1;
        // The level is at least as fine as the page, so the nearest raster pixel is good enough and far
        // cheaper; a raster capped below the page's size is smoothed instead.
        result.nearest = w >= ex * 0.999 && h >= ey * 0.999;
        return result;
    }

    void setSamplingSource(cairo_t* cr, const Sampling& s) {
        if (s.raster == nullptr) {
            const auto& avg = s.average;
            cairo_set_source_rgba(cr, avg[0] / avg[3], avg[1] / avg[3], avg[2] / avg[3], avg[3]);
            return;
        }
        Pattern pattern(cairo_pattern_create_for_surface(sheet(*s.tile, s.level, s.columns, s.rows)));
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern.get(), s.nearest ? CAIRO_FILTER_FAST : CAIRO_FILTER_BILINEAR);
        const Affine& m = s.toRaster;
        cairo_matrix_t matrix = {m.a, m.b, m.c, m.d, m.tx, m.ty};
        cairo_pattern_set_matrix(pattern.get(), &matrix);
        cairo_set_source(cr, pattern.get());
    }

    bool setSource(cairo_t* cr, const AIColor& color, const Affine& toDevice, bool insideTile) {
        if (color.kind == kPattern) {
            auto sampled = insideTile ? std::nullopt : sampling(color.c.p, toDevice);
            if (sampled)
                setSamplingSource(cr, *sampled);
            return sampled.has_value();
        }
        auto rgb = detail::solidColor(doc_, color);
        if (!rgb)
            return false;
        cairo_set_source_rgb(cr, rgb->r, rgb->g, rgb->b);
        return true;
    }

    void draw(cairo_t* cr, ObjectId id, const Affine& toDevice, bool insideTile) {
        const Art* a = doc_.art(id);
        if (a == nullptr)
            return;
        if (a->kind == ArtKind::Group) {
            for (ObjectId child : a->children)
                draw(cr, child, toDevice, insideTile);
            return;
        }
        if (a->segments.empty() || !detail::finiteGeometry(*a))
            return;
        auto fields = doc_.effectiveFields(*a);
        for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
            const PaintField& f = *it;
            auto opacity = detail::fieldOpacity(f);
            if (!opacity || *opacity <= 0)
                continue;
            auto op = static_cast<cairo_operator_t>(cairoOperator(f.mode.value_or(0)));
            cairo_save(cr);
            if (f.kind == PaintField::Kind::Fill) {
                fill(cr, *a, f, op, *opacity, toDevice, insideTile);
            } else {
                stroke(cr, *a, f, op, *opacity, toDevice, insideTile);
            }
            cairo_restore(cr);
        }
        multiplyPendingTiles();
    }

    void fill(cairo_t* cr, const Art& a, const PaintField& f, cairo_operator_t op, double opacity,
              const Affine& toDevice, bool insideTile) {
        const bool multiplyOntoPage = op == CAIRO_OPERATOR_MULTIPLY && opacity >= 1.0 && !insideTile &&
                                      f.color.kind == kPattern && cairo_get_target(cr) == pageSurface_;
        if (f.color.kind == kPattern) {
            auto sampled = insideTile ? std::nullopt : sampling(f.color.c.p, toDevice);
            if (!sampled)
                return;
            if (multiplyOntoPage && sampled->raster != nullptr && sampled->nearest) {
                shapeCoverage(a, toDevice);
                pendingTiles_.emplace_back(sampled->raster, sampled->toRaster);
                return;
            }
            multiplyPendingTiles();
            setSamplingSource(cr, *sampled);
        } else {
            multiplyPendingTiles();
            if (!setSource(cr, f.color, toDevice, insideTile))
                return;
        }
        appendPath(cr, a, toDevice);
        cairo_set_fill_rule(cr, a.pathStyle.evenodd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_set_operator(cr, op);
        if (multiplyOntoPage) {
            multiplyFill(cr);
        } else if (opacity >= 1.0) {
            cairo_fill(cr);
        } else {
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, opacity);
        }
    }

    // How much of each page pixel a shape covers, over the pixels its outline spans; a style's many fills
    // share one.
    struct Coverage {
        const Art* art = nullptr;
        int left = 0, top = 0, width = 0, height = 0;
        Surface mask;  // A8; null when the shape covers no pixel
    };

    const Coverage& shapeCoverage(const Art& a, const Affine& toDevice) {
        if (coverage_.art == &a)
            return coverage_;
        coverage_ = Coverage{};
        coverage_.art = &a;
        // A curve lies within its control points.
        double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
        for (const PathSegment& segment : a.segments)
            for (AIRealPoint p : {segment.in, segment.p, segment.out}) {
                double x, y;
                toDevice.apply(p.h, p.v, x, y);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        const int left = std::max(0, static_cast<int>(std::floor(std::max(minX, -1.0))));
        const int top = std::max(0, static_cast<int>(std::floor(std::max(minY, -1.0))));
        const int right = std::min(options_.width, static_cast<int>(std::ceil(std::min(maxX, 1e9))));
        const int bottom = std::min(options_.height, static_cast<int>(std::ceil(std::min(maxY, 1e9))));
        if (left >= right || top >= bottom)
            return coverage_;
        Surface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, right - left, bottom - top));
        if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS)
            throw HostError("there is not enough memory to draw the picture");
        Context cr(cairo_create(mask.get()));
        appendPath(cr.get(), a, Affine::translate(-left, -top) * toDevice);
        cairo_set_fill_rule(cr.get(), a.pathStyle.evenodd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr.get());
        cr.reset();
        cairo_surface_flush(mask.get());
        coverage_.left = left;
        coverage_.top = top;
        coverage_.width = right - left;
        coverage_.height = bottom - top;
        coverage_.mask = std::move(mask);
        return coverage_;
    }

    // Multiplied tiles of the shape being drawn wait here, in drawing order, and go onto the page together:
    // row by row, every layer in turn, so that each row of the page is read and written while it is in the
    // processor's cache.
    void multiplyPendingTiles() {
        if (pendingTiles_.empty())
            return;
        const Coverage& shape = coverage_;
        if (shape.mask) {
            cairo_surface_flush(pageSurface_);
            const unsigned char* mask = cairo_image_surface_get_data(shape.mask.get());
            const std::ptrdiff_t maskStride = cairo_image_surface_get_stride(shape.mask.get());
            unsigned char* page = cairo_image_surface_get_data(pageSurface_);
            const std::ptrdiff_t pageStride = cairo_image_surface_get_stride(pageSurface_);
            const auto band = [&](int firstRow, int endRow) {
                for (int row = firstRow; row < endRow; ++row) {
                    const int y = shape.top + row;
                    auto* to = reinterpret_cast<std::uint32_t*>(page + y * pageStride) + shape.left;
                    for (const TileWalk& layer : pendingTiles_)
                        layer.multiplyRow(y, shape.left, shape.width, mask + row * maskStride, to);
                }
            };
            // Rows are independent: a large job is shared with a second thread, as a host's renderer would
            // use the processor's other core. A thread that cannot be started leaves the work to this one.
            const double work =
                static_cast<double>(shape.width) * shape.height * static_cast<double>(pendingTiles_.size());
            const int split = work >= kWorkWorthAThread ? shape.height / 2 : shape.height;
            std::optional<std::thread> helper;
            if (split < shape.height) {
                try {
                    helper.emplace(band, split, shape.height);
                } catch (const std::system_error&) {
                    band(split, shape.height);
                }
            }
            band(0, split);
            if (helper)
                helper->join();
            cairo_surface_mark_dirty_rectangle(pageSurface_, shape.left, shape.top, shape.width, shape.height);
        }
        pendingTiles_.clear();
    }

    // Smoothed tiles and other sources take cairo's way to a clear sheet first.
    // cairo's own multiply runs pixman's general path, blending one pixel at a time: the costliest step of a
    // picture with many layers. Here the source, already clipped to the shape, is drawn onto a clear sheet
    // (cairo's quick paths) and multiplied in with pixman's own arithmetic, four pixels at a time.
    void multiplyFill(cairo_t* cr) {
        double x1, y1, x2, y2;
        cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
        const int left = std::max(0, static_cast<int>(std::floor(x1)));
        const int top = std::max(0, static_cast<int>(std::floor(y1)));
        const int right = std::min(options_.width, static_cast<int>(std::ceil(x2)));
        const int bottom = std::min(options_.height, static_cast<int>(std::ceil(y2)));
        if (left >= right || top >= bottom) {
            cairo_new_path(cr);
            return;
        }
        if (!scratch_ && keptScratch && cairo_image_surface_get_width(keptScratch.get()) == options_.width &&
            cairo_image_surface_get_height(keptScratch.get()) == options_.height)
            scratch_ = std::move(keptScratch);
        if (!scratch_)
            scratch_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, options_.width, options_.height));
        if (cairo_surface_status(scratch_.get()) != CAIRO_STATUS_SUCCESS) {
            cairo_fill(cr);  // no memory for the sheet: cairo's slower way still draws it
            return;
        }
        {
            Context sc(cairo_create(scratch_.get()));
            cairo_set_source(sc.get(), cairo_get_source(cr));
            cairo_path_t* path = cairo_copy_path(cr);
            cairo_append_path(sc.get(), path);
            cairo_path_destroy(path);
            cairo_set_fill_rule(sc.get(), cairo_get_fill_rule(cr));
            cairo_fill(sc.get());
        }
        cairo_new_path(cr);
        cairo_surface_flush(scratch_.get());
        cairo_surface_flush(pageSurface_);
        unsigned char* from = cairo_image_surface_get_data(scratch_.get());
        unsigned char* to = cairo_image_surface_get_data(pageSurface_);
        const std::ptrdiff_t fromStride = cairo_image_surface_get_stride(scratch_.get());
        const std::ptrdiff_t toStride = cairo_image_surface_get_stride(pageSurface_);
        for (int y = top; y < bottom; ++y) {
            auto* src = reinterpret_cast<std::uint32_t*>(from + y * fromStride) + left;
            auto* dst = reinterpret_cast<std::uint32_t*>(to + y * toStride) + left;
            multiplyRow(src, dst, right - left);
        }
        cairo_surface_mark_dirty_rectangle(pageSurface_, left, top, right - left, bottom - top);
        cairo_surface_mark_dirty_rectangle(scratch_.get(), left, top, right - left, bottom - top);
    }

    // dst = src multiply dst over a row; src is cleared.
    static void multiplyRow(std::uint32_t* src, std::uint32_t* dst, int count) {
        int i = 0;
#ifdef __SSE2__
        for (; i + 4 <= count; i += 4) {
            __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), multipliedFour(s, d));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(src + i), _mm_setzero_si128());
        }
#endif
        for (; i < count; ++i) {
            dst[i] = multiplied(src[i], dst[i]);
            src[i] = 0;
        }
    }

    void stroke(cairo_t* cr, const Art& a, const PaintField& f, cairo_operator_t op, double opacity,
                const Affine& toDevice, bool insideTile) {
        const AIStrokeStyle& s = f.stroke;
        double scale = std::sqrt(std::abs(toDevice.determinant()));
        if (!std::isfinite(s.width) || s.width <= 0)
            return;
        multiplyPendingTiles();
        if (opacity < 1.0)
            cairo_push_group(cr);
        if (!setSource(cr, s.color, toDevice, insideTile)) {
            if (opacity < 1.0)
                cairo_pattern_destroy(cairo_pop_group(cr));
            return;
        }
        appendPath(cr, a, toDevice);
        cairo_set_line_width(cr, s.width * scale);
        static const cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE};
        static const cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                  CAIRO_LINE_JOIN_BEVEL};
        cairo_set_line_cap(cr, s.cap >= 0 && s.cap < 3 ? caps[s.cap] : CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, s.join >= 0 && s.join < 3 ? joins[s.join] : CAIRO_LINE_JOIN_MITER);
        if (std::isfinite(s.miterLimit) && s.miterLimit >= 1)
            cairo_set_miter_limit(cr, s.miterLimit);
        if (s.dash.length > 0 && s.dash.length <= kMaxDashComponents) {
            double dashes[kMaxDashComponents];
            bool usable = std::isfinite(s.dash.offset);
            double total = 0;
            for (int32_t i = 0; i < s.dash.length; ++i) {
                dashes[i] = s.dash.array[i] * scale;
                usable = usable && std::isfinite(dashes[i]) && dashes[i] >= 0;
                total += dashes[i];
            }
            if (usable && total > 0)
                cairo_set_dash(cr, dashes, s.dash.length, s.dash.offset * scale);
        }
        if (opacity < 1.0) {
            cairo_stroke(cr);
            cairo_pop_group_to_source(cr);
            cairo_set_operator(cr, op);
            cairo_paint_with_alpha(cr, opacity);
        } else {
            cairo_set_operator(cr, op);
            cairo_stroke(cr);
        }
    }

    const Document& doc_;
    const RenderOptions& options_;
    Affine page_;
    std::map<ObjectId, Tile> tiles_;
    cairo_surface_t* pageSurface_ = nullptr;
    Surface scratch_;    // clear outside multiplyFill
    Coverage coverage_;  // of the shape being drawn
    std::vector<TileWalk> pendingTiles_;
};

}  // namespace

Image renderImage(const Document& document, const RenderOptions& options) {
    return PngRenderer(document, options).render();
}

#endif

}  // namespace simhost::render
