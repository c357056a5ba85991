#include "dialog_renderer.hpp"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#ifdef SIMHOST_HAVE_CAIRO
#include <cairo.h>
#endif

#ifdef _WIN32
#include <process.h>
#define SIMHOST_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define SIMHOST_PROCESS_ID getpid()
#endif

#include "core/host_error.hpp"
#include "dialog_toolkit.hpp"

namespace simhost {

namespace {

struct Color {
    uint8_t r, g, b;
};

// The classic Windows palette.
constexpr Color kFace{212, 208, 200};
constexpr Color kHighlight{255, 255, 255};
constexpr Color kShadow{128, 128, 128};
constexpr Color kDarkShadow{64, 64, 64};
constexpr Color kBlack{0, 0, 0};
constexpr Color kWindow{255, 255, 255};
constexpr Color kGreyText{128, 128, 128};
constexpr Color kTitleFrom{10, 36, 106};
constexpr Color kTitleTo{166, 202, 240};

constexpr int kBorder = 4;        // window frame around the client area
constexpr int kTitle = 19;        // title bar and the line below it
constexpr double kFontSize = 11;  // MS Sans Serif 8 point at 96 dpi
constexpr int kArrowWidth = 16;   // the drop button of a popup
constexpr int kSpinWidth = 12;    // the arrows of a spin edit

struct Point {
    double x, y;
};

enum class Anchor { Start, Middle };

struct TextStyle {
    Color color = kBlack;
    bool bold = false;
    bool italic = false;
    Anchor anchor = Anchor::Start;
};

// What both pictures are drawn with, so the SVG and the PNG show exactly the same thing.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void rect(int x, int y, int w, int h, Color color) = 0;
    virtual void gradient(int x, int y, int w, int h, Color from, Color to) = 0;
    virtual void polygon(const std::vector<Point>& points, Color color) = 0;
    virtual void polyline(const std::vector<Point>& points, Color color, double width) = 0;
    // Text on a baseline, clipped to the box it belongs to.
    virtual void text(double x, double baseline, const std::string& text, const TextStyle& style, int clipX,
                      int clipY, int clipW, int clipH) = 0;

    // How wide the text will be drawn, to wrap long captions.
    virtual double textWidth(const std::string& text, bool bold) = 0;

    void hline(int x, int y, int w, Color c) { rect(x, y, w, 1, c); }
    void vline(int x, int y, int h, Color c) { rect(x, y, 1, h, c); }
};

// ---- SVG

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string hex(Color c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
    return buffer;
}

class SvgCanvas : public Canvas {
  public:
    void rect(int x, int y, int w, int h, Color color) override {
        if (w > 0 && h > 0)
            body_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
                  << "\" fill=\"" << hex(color) << "\"/>\n";
    }
    void gradient(int x, int y, int w, int h, Color from, Color to) override {
        int id = ++gradients_;
        defs_ << "<linearGradient id=\"g" << id << "\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\"><stop offset=\"0\" "
              << "stop-color=\"" << hex(from) << "\"/><stop offset=\"1\" stop-color=\"" << hex(to)
              << "\"/></linearGradient>\n";
        body_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
              << "\" fill=\"url(#g" << id << ")\"/>\n";
    }
    void polygon(const std::vector<Point>& points, Color color) override {
        body_ << "<polygon points=\"" << pointList(points) << "\" fill=\"" << hex(color) << "\"/>\n";
    }
    void polyline(const std::vector<Point>& points, Color color, double width) override {
        body_ << "<polyline points=\"" << pointList(points) << "\" fill=\"none\" stroke=\"" << hex(color)
              << "\" stroke-width=\"" << width << "\"/>\n";
    }
    void text(double x, double baseline, const std::string& text, const TextStyle& style, int clipX, int clipY,
              int clipW, int clipH) override {
        if (text.empty())
            return;
        int id = ++clips_;
        defs_ << "<clipPath id=\"c" << id << "\"><rect x=\"" << clipX << "\" y=\"" << clipY << "\" width=\""
              << clipW << "\" height=\"" << clipH << "\"/></clipPath>\n";
        body_ << "<text x=\"" << x << "\" y=\"" << baseline << "\" clip-path=\"url(#c" << id << ")\" fill=\""
              << hex(style.color) << "\"" << (style.bold ? " font-weight=\"bold\"" : "")
              << (style.italic ? " font-style=\"italic\"" : "")
              << (style.anchor == Anchor::Middle ? " text-anchor=\"middle\"" : "") << " xml:space=\"preserve\">"
              << escaped(text) << "</text>\n";
    }

    // The viewer chooses the font, so the width is an estimate from typical glyph widths of an 11 pixel
    // sans-serif face.
    double textWidth(const std::string& text, bool bold) override {
        double width = 0;
        for (unsigned char c : text) {
            if (std::string_view(" il.,:;'!|[]()/").find(static_cast<char>(c)) != std::string_view::npos)
                width += 3.2;
            else if (c == 'm' || c == 'w' || c == 'M' || c == 'W')
                width += 9;
            else if (c >= 'A' && c <= 'Z')
                width += 7.2;
            else
                width += 6.1;
        }
        return bold ? width * 1.1 : width;
    }

    std::string document(int width, int height) const {
        std::ostringstream out;
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
            << "\" viewBox=\"0 0 " << width << " " << height << "\" font-family=\"'MS Sans Serif', Tahoma, "
            << "Arial, sans-serif\" font-size=\"" << kFontSize << "\" style=\"white-space: pre\">\n"
            << "<defs>\n"
            << defs_.str() << "</defs>\n"
            << body_.str() << "</svg>\n";
        return out.str();
    }

  private:
    static std::string pointList(const std::vector<Point>& points) {
        std::ostringstream out;
        for (const auto& p : points)
            out << p.x << "," << p.y << " ";
        return out.str();
    }

    std::ostringstream defs_;
    std::ostringstream body_;
    int gradients_ = 0;
    int clips_ = 0;
};

// ---- cairo

#ifdef SIMHOST_HAVE_CAIRO
class CairoCanvas : public Canvas {
  public:
    explicit CairoCanvas(cairo_t* cr) : cr_(cr) {}

    void rect(int x, int y, int w, int h, Color color) override {
        setColor(color);
        cairo_rectangle(cr_, x, y, w, h);
        cairo_fill(cr_);
    }
    void gradient(int x, int y, int w, int h, Color from, Color to) override {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(x, 0, x + w, 0);
        cairo_pattern_add_color_stop_rgb(pattern, 0, from.r / 255.0, from.g / 255.0, from.b / 255.0);
        cairo_pattern_add_color_stop_rgb(pattern, 1, to.r / 255.0, to.g / 255.0, to.b / 255.0);
        cairo_set_source(cr_, pattern);
        cairo_rectangle(cr_, x, y, w, h);
        cairo_fill(cr_);
        cairo_pattern_destroy(pattern);
    }
    void polygon(const std::vector<Point>& points, Color color) override {
        path(points);
        cairo_close_path(cr_);
        setColor(color);
        cairo_fill(cr_);
    }
    void polyline(const std::vector<Point>& points, Color color, double width) override {
        path(points);
        setColor(color);
        cairo_set_line_width(cr_, width);
        cairo_stroke(cr_);
    }
    void text(double x, double baseline, const std::string& text, const TextStyle& style, int clipX, int clipY,
              int clipW, int clipH) override {
        if (text.empty())
            return;
        cairo_save(cr_);
        cairo_rectangle(cr_, clipX, clipY, clipW, clipH);
        cairo_clip(cr_);
        cairo_select_font_face(cr_, "Sans", style.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                               style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, kFontSize);
        if (style.anchor == Anchor::Middle) {
            cairo_text_extents_t extents;
            cairo_text_extents(cr_, text.c_str(), &extents);
            x -= extents.x_advance / 2;
        }
        setColor(style.color);
        cairo_move_to(cr_, x, baseline);
        cairo_show_text(cr_, text.c_str());
        cairo_restore(cr_);
    }

    double textWidth(const std::string& text, bool bold) override {
        cairo_select_font_face(cr_, "Sans", CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, kFontSize);
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, text.c_str(), &extents);
        return extents.x_advance;
    }

  private:
    void setColor(Color c) { cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0); }
    void path(const std::vector<Point>& points) {
        cairo_new_path(cr_);
        for (const auto& p : points)
            cairo_line_to(cr_, p.x, p.y);
    }
    cairo_t* cr_;
};
#endif

// ---- the dialog

void raised(Canvas& c, int x, int y, int w, int h) {
    c.rect(x, y, w, h, kFace);
    c.hline(x, y, w - 1, kHighlight);
    c.vline(x, y, h - 1, kHighlight);
    c.hline(x, y + h - 1, w, kDarkShadow);
    c.vline(x + w - 1, y, h, kDarkShadow);
    c.hline(x + 1, y + h - 2, w - 2, kShadow);
    c.vline(x + w - 2, y + 1, h - 2, kShadow);
}

void sunken(Canvas& c, int x, int y, int w, int h, Color fill) {
    c.rect(x, y, w, h, fill);
    c.hline(x, y, w - 1, kShadow);
    c.vline(x, y, h - 1, kShadow);
    c.hline(x + 1, y + 1, w - 3, kDarkShadow);
    c.vline(x + 1, y + 1, h - 3, kDarkShadow);
    c.hline(x, y + h - 1, w, kHighlight);
    c.vline(x + w - 1, y, h, kHighlight);
    c.hline(x + 1, y + h - 2, w - 2, kFace);
    c.vline(x + w - 2, y + 1, h - 2, kFace);
}

void triangle(Canvas& c, double cx, double cy, bool up, Color color) {
    double d = up ? -1 : 1;
    c.polygon({{cx - 3.5, cy - 1.5 * d}, {cx + 3.5, cy - 1.5 * d}, {cx, cy + 2 * d}}, color);
}

// A caption: greyed and embossed when the item is disabled, as Windows draws it.
void caption(Canvas& c, const Item& item, double x, double baseline, const std::string& text, Anchor anchor,
             int clipX, int clipY, int clipW, int clipH) {
    TextStyle style;
    style.bold = item.font == kADMBoldDialogFont || item.font == kADMBoldPaletteFont;
    style.italic = item.font == kADMItalicDialogFont || item.font == kADMItalicPaletteFont;
    style.anchor = anchor;
    if (!item.enabled) {
        TextStyle emboss = style;
        emboss.color = kHighlight;
        c.text(x + 1, baseline + 1, text, emboss, clipX, clipY, clipW + 1, clipH + 1);
        style.color = kGreyText;
    }
    c.text(x, baseline, text, style, clipX, clipY, clipW, clipH);
}

// A static text wraps at spaces to the width of its box, as a Windows static control does.
std::vector<std::string> wrapped(Canvas& c, const std::string& text, bool bold, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t space = text.find(' ', at);
        std::string word = text.substr(at, space == std::string::npos ? std::string::npos : space - at);
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && c.textWidth(candidate, bold) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        if (space == std::string::npos)
            break;
        at = space + 1;
    }
    lines.push_back(line);
    return lines;
}

double middleBaseline(int top, int height) {
    return top + height / 2.0 + 4;
}

void drawItem(Canvas& c, const Item& item, int ox, int oy) {
    int x = ox + item.bounds.left;
    int y = oy + item.bounds.top;
    int w = std::max(0, item.bounds.right - item.bounds.left);
    int h = std::max(0, item.bounds.bottom - item.bounds.top);
    if (w == 0 || h == 0)
        return;
    std::string shown = item.displayText();
    Color field = item.enabled ? kWindow : kFace;
    switch (item.kind()) {
        case ItemKind::TextStatic: {
            constexpr int kLineHeight = 13;
            bool bold = item.font == kADMBoldDialogFont || item.font == kADMBoldPaletteFont;
            std::vector<std::string> lines =
                h >= 2 * kLineHeight ? wrapped(c, shown, bold, w) : std::vector<std::string>{shown};
            for (std::size_t i = 0; i < lines.size(); ++i)
                caption(c, item, x, y + 10 + kLineHeight * static_cast<double>(i), lines[i], Anchor::Start, x, y,
                        w, h);
            break;
        }
        case ItemKind::Frame:
            c.hline(x, y, w, kBlack);
            c.hline(x, y + h - 1, w, kBlack);
            c.vline(x, y, h, kBlack);
            c.vline(x + w - 1, y, h, kBlack);
            break;
        case ItemKind::TextPushButton:
            if (item.id() == kADMDefaultItemID) {
                c.rect(x, y, w, h, kBlack);
                raised(c, x + 1, y + 1, w - 2, h - 2);
            } else {
                raised(c, x, y, w, h);
            }
            caption(c, item, x + w / 2.0, middleBaseline(y, h), shown, Anchor::Middle, x + 2, y + 2, w - 4, h - 4);
            break;
        case ItemKind::PicturePushButton:
            raised(c, x, y, w, h);
            break;
        case ItemKind::TextCheckBox: {
            int box = 13;
            int by = y + (h - box) / 2;
            sunken(c, x, by, box, box, field);
            if (item.booleanValue()) {
                Color mark = item.enabled ? kBlack : kGreyText;
                c.polyline({{x + 3.5, by + 6.0}, {x + 5.5, by + 8.5}, {x + 9.5, by + 3.5}}, mark, 2);
            }
            caption(c, item, x + box + 4, middleBaseline(y, h), shown, Anchor::Start, x + box + 2, y, w - box - 2,
                    h);
            break;
        }
        case ItemKind::SpinEdit: {
            int fieldWidth = std::max(0, w - kSpinWidth);
            sunken(c, x, y, fieldWidth, h, field);
            caption(c, item, x + 4, middleBaseline(y, h), shown, Anchor::Start, x + 2, y + 2, fieldWidth - 4,
                    h - 4);
            int half = h / 2;
            raised(c, x + fieldWidth, y, kSpinWidth, half);
            raised(c, x + fieldWidth, y + half, kSpinWidth, h - half);
            Color arrow = item.enabled ? kBlack : kGreyText;
            triangle(c, x + fieldWidth + kSpinWidth / 2.0, y + half / 2.0, true, arrow);
            triangle(c, x + fieldWidth + kSpinWidth / 2.0, y + half + (h - half) / 2.0, false, arrow);
            break;
        }
        case ItemKind::PopupList: {
            sunken(c, x, y, w, h, field);
            int button = std::min(kArrowWidth, std::max(0, w - 4));
            caption(c, item, x + 4, middleBaseline(y, h), shown, Anchor::Start, x + 2, y + 2, w - button - 6,
                    h - 4);
            raised(c, x + w - 2 - button, y + 2, button, h - 4);
            triangle(c, x + w - 2 - button / 2.0, y + h / 2.0, false, item.enabled ? kBlack : kGreyText);
            break;
        }
    }
}

void drawDialog(Canvas& c, const Dialog& dialog, int width, int height) {
    // Window frame: raised outer edge, face, then the title bar.
    raised(c, 0, 0, width, height);
    c.rect(2, 2, width - 4, height - 4, kFace);
    c.gradient(kBorder - 1, kBorder - 1, width - 2 * (kBorder - 1), kTitle - 1, kTitleFrom, kTitleTo);
    TextStyle title;
    title.color = kHighlight;
    title.bold = true;
    int closeSize = 14;
    int closeX = width - kBorder - 2 - closeSize;
    int closeY = kBorder + 1;
    c.text(kBorder + 3, kBorder + 12, dialog.title.empty() ? dialog.name() : dialog.title, title, kBorder,
           kBorder - 1, std::max(0, closeX - kBorder - 2), kTitle - 1);
    raised(c, closeX, closeY, closeSize + 2, closeSize);
    c.polyline({{closeX + 4.5, closeY + 3.5}, {closeX + 11.5, closeY + 10.5}}, kBlack, 1.5);
    c.polyline({{closeX + 11.5, closeY + 3.5}, {closeX + 4.5, closeY + 10.5}}, kBlack, 1.5);

    int ox = kBorder;
    int oy = kBorder + kTitle;
    for (const auto& item : dialog.items())
        if (item->visible)
            drawItem(c, *item, ox, oy);
}

std::pair<int, int> pictureSize(const Dialog& dialog) {
    return {std::max(1, dialog.width()) + 2 * kBorder, std::max(1, dialog.height()) + 2 * kBorder + kTitle};
}

}  // namespace

std::string renderDialogSvg(const Dialog& dialog) {
    auto [width, height] = pictureSize(dialog);
    SvgCanvas canvas;
    drawDialog(canvas, dialog, width, height);
    return canvas.document(width, height);
}

std::vector<unsigned char> renderDialogPng(const Dialog& dialog) {
#ifdef SIMHOST_HAVE_CAIRO
    auto [width, height] = pictureSize(dialog);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    CairoCanvas canvas(cr);
    drawDialog(canvas, dialog, width, height);
    cairo_destroy(cr);
    std::vector<unsigned char> bytes;
    auto append = [](void* closure, const unsigned char* data, unsigned int length) -> cairo_status_t {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, append, &bytes);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        throw HostError(std::string("cannot draw the dialog as PNG: ") + cairo_status_to_string(status));
    return bytes;
#else
    (void)dialog;
    throw HostError("this build of the stand-in host draws no PNG pictures (it was built without cairo); use SVG");
#endif
}

void saveDialogPicture(const Dialog& dialog, const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    std::string contents;
    if (extension == ".svg") {
        contents = renderDialogSvg(dialog);
    } else if (extension == ".png") {
        auto bytes = renderDialogPng(dialog);
        contents.assign(bytes.begin(), bytes.end());
    } else {
        throw HostError("cannot save a picture of the dialog as \"" + file.string() +
                        "\": the name must end in .png or .svg");
    }
    std::filesystem::path partial = file;
    partial += ".partial-" + std::to_string(SIMHOST_PROCESS_ID);
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw HostError("cannot write \"" + file.string() + "\"");
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, file, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw HostError("cannot write \"" + file.string() + "\": " + error.message());
    }
}

}  // namespace simhost
