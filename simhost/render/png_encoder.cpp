// PNG files written straight with zlib. cairo's own writer compresses at zlib's default level through
// libpng, which took longer than drawing the picture; a live preview wants the file within a frame, and
// the pixels come out the same, only the file is somewhat larger.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/host_error.hpp"
#include "render.hpp"

#ifdef SIMHOST_HAVE_CAIRO
#include <zlib.h>
#endif

namespace simhost::render {

#ifndef SIMHOST_HAVE_CAIRO

std::vector<std::uint8_t> encodePng(const Image&) {
    throw HostError("this build of the host has no cairo, so it cannot write PNG pictures (SVG works)");
}

#else

namespace {

constexpr std::uint8_t kFilterNone = 0;
// IDAT chunks are cut at this size so that no chunk length comes near the format's limit.
constexpr std::size_t kMaxChunk = std::size_t{1} << 20;

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::uint8_t* data, std::size_t size) {
    putU32(out, static_cast<std::uint32_t>(size));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0)
        out.insert(out.end(), data, data + size);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<std::uint32_t>(crc));
}

bool opaque(const Image& image) {
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t p;
            std::memcpy(&p, row + 4 * x, 4);
            if ((p >> 24) != 0xff)
                return false;
        }
    }
    return true;
}

// One row as PNG samples: RGB, or straight (not premultiplied) RGBA rounded as cairo rounds it.
void unpack(const std::uint8_t* row, int width, bool withAlpha, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t p;
        std::memcpy(&p, row + 4 * x, 4);
        unsigned a = p >> 24, r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        if (!withAlpha) {
            out[0] = static_cast<std::uint8_t>(r);
            out[1] = static_cast<std::uint8_t>(g);
            out[2] = static_cast<std::uint8_t>(b);
            out += 3;
            continue;
        }
        if (a == 0) {
            r = g = b = 0;
        } else if (a != 0xff) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
        }
        out[0] = static_cast<std::uint8_t>(r);
        out[1] = static_cast<std::uint8_t>(g);
        out[2] = static_cast<std::uint8_t>(b);
        out[3] = static_cast<std::uint8_t>(a);
        out += 4;
    }
}

class Deflater {
  public:
    Deflater() {
        stream_.zalloc = Z_NULL;
        stream_.zfree = Z_NULL;
        stream_.opaque = Z_NULL;
        // The fastest level: the pictures repeat tiles along their rows, which even its short search finds.
        if (deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw HostError("writing the PNG picture failed: zlib could not start");
    }
    ~Deflater() { deflateEnd(&stream_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    void add(const std::uint8_t* data, std::size_t size, bool last, std::vector<std::uint8_t>& out) {
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = static_cast<uInt>(size);
        int flush = last ? Z_FINISH : Z_NO_FLUSH;
        while (true) {
            std::size_t used = out.size();
            out.resize(used + 65536);
            stream_.next_out = out.data() + used;
            stream_.avail_out = 65536;
            int status = deflate(&stream_, flush);
            out.resize(out.size() - stream_.avail_out);
            if (status == Z_STREAM_ERROR)
                throw HostError("writing the PNG picture failed: zlib refused the data");
            if (last ? status == Z_STREAM_END : stream_.avail_in == 0 && stream_.avail_out != 0)
                return;
        }
    }

  private:
    z_stream stream_{};
};

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    if (image.width <= 0 || image.height <= 0 || image.stride < image.width * 4 ||
        image.pixels.size() < static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height))
        throw HostError("there is no picture to write as PNG");
    const bool withAlpha = !opaque(image);
    const std::size_t channels = withAlpha ? 4 : 3;
    const std::size_t rowBytes = channels * static_cast<std::size_t>(image.width);

    // Rows go unfiltered: tiled pictures repeat themselves along a row, which deflate's matching finds
    // anyway; measured, filtering made the files no smaller and the writing slower.
    std::vector<std::uint8_t> row(rowBytes + 1);
    std::vector<std::uint8_t> compressed;
    compressed.reserve(rowBytes * static_cast<std::size_t>(image.height) / 8 + 1024);
    Deflater deflater;
    for (int y = 0; y < image.height; ++y) {
        row[0] = kFilterNone;
        unpack(image.pixels.data() + static_cast<std::size_t>(y) * image.stride, image.width, withAlpha,
               row.data() + 1);
        deflater.add(row.data(), row.size(), y + 1 == image.height, compressed);
    }

    std::vector<std::uint8_t> out;
    out.reserve(compressed.size() + compressed.size() / kMaxChunk * 12 + 64);
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.insert(out.end(), std::begin(signature), std::end(signature));
    std::vector<std::uint8_t> header;
    putU32(header, static_cast<std::uint32_t>(image.width));
    putU32(header, static_cast<std::uint32_t>(image.height));
    header.push_back(8);                     // bits per sample
    header.push_back(withAlpha ? 6 : 2);     // colour type: RGBA or RGB
    header.insert(header.end(), {0, 0, 0});  // deflate, adaptive filtering, no interlace
    putChunk(out, "IHDR", header.data(), header.size());
    for (std::size_t at = 0; at < compressed.size(); at += kMaxChunk)
        putChunk(out, "IDAT", compressed.data() + at, std::min(kMaxChunk, compressed.size() - at));
    putChunk(out, "IEND", nullptr, 0);
    return out;
}

#endif

}  // namespace simhost::render
