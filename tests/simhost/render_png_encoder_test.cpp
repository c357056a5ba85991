#include <gtest/gtest.h>

#ifdef SIMHOST_HAVE_CAIRO
#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/host_error.hpp"
#include "render/render.hpp"

namespace {

namespace render = simhost::render;

struct Bytes {
    const std::vector<std::uint8_t>* data;
    std::size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* out, unsigned int length) {
    auto* in = static_cast<Bytes*>(closure);
    if (in->data->size() - in->at < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, in->data->data() + in->at, length);
    in->at += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// A PNG file read back by cairo (libpng), as premultiplied ARGB rows without padding.
std::vector<std::uint32_t> decode(const std::vector<std::uint8_t>& png, int& width, int& height) {
    Bytes in{&png};
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_from_png_stream(readBytes, &in), cairo_surface_destroy);
    EXPECT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS);
    width = cairo_image_surface_get_width(surface.get());
    height = cairo_image_surface_get_height(surface.get());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height && data != nullptr; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(width) * 4);
    return pixels;
}

// What cairo's own PNG writer makes of the same pixels, read back the same way.
std::vector<std::uint32_t> cairoRoundTrip(render::Image image) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_for_data(image.pixels.data(), CAIRO_FORMAT_ARGB32, image.width, image.height,
                                            image.stride),
        cairo_surface_destroy);
    std::vector<std::uint8_t> png;
    EXPECT_EQ(cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png), CAIRO_STATUS_SUCCESS);
    int w = 0, h = 0;
    return decode(png, w, h);
}

enum class Content { Opaque, Translucent, Noise };

// Premultiplied pixels: every channel at most its alpha.
render::Image picture(int width, int height, Content content) {
    render::Image image{width, height, width * 4 + 8, {}};  // a padded stride, as cairo may use
    image.pixels.assign(static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(height), 0xee);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t a = 255;
            if (content == Content::Translucent)
                a = static_cast<std::uint32_t>((x * 37 + y * 11) % 256);
            else if (content == Content::Noise)
                a = static_cast<std::uint32_t>(random() % 256);
            auto channel = [&](int k) {
                std::uint32_t v = content == Content::Noise ? static_cast<std::uint32_t>(random())
                                                            : static_cast<std::uint32_t>(x * k + y);
                return a == 0 ? 0u : v % (a + 1);
            };
            std::uint32_t p = a << 24 | channel(3) << 16 | channel(5) << 8 | channel(7);
            std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * image.stride + x * 4, &p, 4);
        }
    return image;
}

struct EncodeCase {
    const char* what;
    int width, height;
    Content content;
};

TEST(EncodePng, ReadsBackAsCairosOwnWriterWould) {
    const EncodeCase cases[] = {
        {"opaque", 61, 17, Content::Opaque},
        {"one pixel", 1, 1, Content::Opaque},
        {"translucent, fully clear pixels too", 64, 40, Content::Translucent},
        // Noise hardly compresses: the data spans several IDAT chunks.
        {"noise", 700, 600, Content::Noise},
    };
    for (const EncodeCase& c : cases) {
        render::Image image = picture(c.width, c.height, c.content);
        std::vector<std::uint8_t> png = render::encodePng(image);
        int w = 0, h = 0;
        std::vector<std::uint32_t> ours = decode(png, w, h);
        ASSERT_EQ(w, c.width) << c.what;
        ASSERT_EQ(h, c.height) << c.what;
        EXPECT_TRUE(ours == cairoRoundTrip(image)) << c.what;
        if (c.content == Content::Opaque) {
            for (int y = 0; y < h; ++y)
                ASSERT_EQ(std::memcmp(ours.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w),
                                      image.pixels.data() + static_cast<std::size_t>(y) * image.stride,
                                      static_cast<std::size_t>(w) * 4),
                          0)
                    << c.what << ", row " << y;
        }
    }
}

TEST(EncodePng, RefusesAMissingPicture) {
    render::Image empty;
    EXPECT_THROW(render::encodePng(empty), simhost::HostError);
    render::Image shortPixels{4, 4, 16, std::vector<std::uint8_t>(40)};
    EXPECT_THROW(render::encodePng(shortPixels), simhost::HostError);
    render::Image narrowStride{4, 1, 8, std::vector<std::uint8_t>(16)};
    EXPECT_THROW(render::encodePng(narrowStride), simhost::HostError);
}

}  // namespace
#endif
