#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "hostapi/types.h"

namespace simhost {

// Every object the plug-in can hold a handle to is named by an id. Ids are never reused, not even across
// an undo, so a handle to something that vanished stays recognisably stale instead of naming a newcomer.
using ObjectId = std::uint64_t;

template <class Handle>
Handle handleOf(ObjectId id) {
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(id));
}
template <class Handle>
ObjectId idOf(Handle handle) {
    return static_cast<ObjectId>(reinterpret_cast<std::uintptr_t>(handle));
}

// An anchor of a path with its two bezier handles; a corner has both handles on the anchor.
struct PathSegment {
    AIRealPoint p{};
    AIRealPoint in{};
    AIRealPoint out{};
};

// Artwork coordinates: points, the vertical axis pointing up.
struct Bounds {
    float left = 0, bottom = 0, right = 0, top = 0;
    float width() const { return right - left; }
    float height() const { return top - bottom; }
};

enum class ArtKind { Path, Group };

// The paint of one entry of an art style's appearance list.
struct PaintField {
    enum class Kind { Fill, Stroke };
    Kind kind = Kind::Fill;
    AIColor color{};         // a fill's colour (strokes keep theirs in `stroke`)
    bool overprint = false;  // a fill's overprint
    AIStrokeStyle stroke{};
    std::optional<int32_t> mode;   // the blend dictionary's "Mode", when it had one
    std::optional<float> opacity;  // its "Opacity"
};

struct Art {
    ObjectId id = 0;
    ArtKind kind = ArtKind::Path;
    ObjectId parent = 0;  // 0: top level of the document, or the root of a definition
    std::vector<ObjectId> children;
    std::vector<PathSegment> segments;
    bool closed = true;
    AIPathStyle pathStyle{};
    // The art style the art shows; none means the plain style of its path style.
    std::optional<ObjectId> artStyle;
};

struct ArtStyle {
    ObjectId id = 0;
    std::string name;                // set once the style was added to the named list
    bool listed = false;             // in the document's list of named styles now
    std::vector<PaintField> fields;  // top-most first, as the host's appearance list reads
};

struct PatternSwatch {
    ObjectId id = 0;
    std::string name;
    ObjectId art = 0;  // the definition: a group whose direct children make the tile
    Bounds tile;       // one period of the tiling, in the definition art's coordinates
};

struct Symbol {
    ObjectId id = 0;
    std::string name;
    ObjectId art = 0;  // a copy of the art it was made from
};

// A spot colour: its appearance is the base colour at the tint of the fill.
struct CustomColor {
    ObjectId id = 0;
    std::string name;
    AIColor base{};
};

// A window onto the document. The view point (0, 0) is the window's top left corner, in pixels.
struct DocumentView {
    ObjectId id = 0;
    int32_t width = 800;
    int32_t height = 600;
    float zoom = 1.0f;
    AIRealPoint center{250.0f, 250.0f};
};

// A paint field the plug-in is assembling: loose, or held by a parser.
struct ParserField {
    ObjectId id = 0;
    PaintField paint;
    ObjectId dictionary = 0;  // the blend dictionary the field holds a reference to, if any
    ObjectId parser = 0;      // 0 while loose
    bool hostDefault = false;
};

struct Dictionary {
    ObjectId id = 0;
    int32_t references = 1;
    std::map<ObjectId, std::variant<int32_t, float>> entries;  // by key id
};

// The in-memory document: art, pattern swatches, styles, symbols, spot colours and the current path style
// (all taken back by undo), plus what lives beside the document and is not undone: views, the redraw
// count, and the parsers, paint fields and dictionaries the plug-in is working with.
//
// Default-constructed it is the built-in sample document. The methods here do no checking of their own
// beyond staying safe; the suites check every handle before they call them.
class Document {
  public:
    Document();               // the built-in sample document
    static Document blank();  // no art, swatches, spot colours or named styles; one view

    // Undo: `beginMessage` is called when an outermost message begins; `undoChanges` returns the contents
    // to that state (the state at construction before any message).
    void beginMessage();
    void undoChanges();

    // ----- the contents -----
    const Art* art(ObjectId id) const;
    Art* art(ObjectId id);
    const std::vector<ObjectId>& topLevelArt() const { return contents_.layer; }
    const std::vector<PatternSwatch>& patterns() const { return contents_.patterns; }
    const PatternSwatch* pattern(ObjectId id) const;
    PatternSwatch* pattern(ObjectId id);
    const std::vector<Symbol>& symbols() const { return contents_.symbols; }
    const ArtStyle* style(ObjectId id) const;
    ArtStyle* style(ObjectId id);
    std::vector<const ArtStyle*> namedStyles() const;  // in the order they were listed
    const std::vector<CustomColor>& customColors() const { return contents_.customColors; }
    const CustomColor* customColor(ObjectId id) const;
    const AIPathStyle& currentPathStyle() const { return contents_.currentPathStyle; }

    // The appearance list art shows: its art style's fields, or the plain fields of its path style.
    std::vector<PaintField> effectiveFields(const Art& art) const;
    static std::vector<PaintField> plainFields(const AIPathStyle& style);
    // Anchor and handle bounds of art (and of a group's descendants); nothing for empty art.
    std::optional<Bounds> bounds(ObjectId art) const;
    std::optional<Bounds> artworkBounds() const;  // all top-level art

    // ----- what the document operations do -----
    enum class Shape { Rect, Oval };
    ObjectId newRectangular(Shape shape, float top, float left, float bottom, float right, bool reversed);
    ObjectId newRegularPolygon(int32_t sides, float cx, float cy, float radius, bool reversed);
    ObjectId newStar(int32_t points, float cx, float cy, float radius1, float radius2, bool reversed);
    void setPathStyle(ObjectId art, const AIPathStyle& style);
    ObjectId newStyle(std::vector<PaintField> fields);
    // Adds a listed copy of `style` as `name`; with `uniquify` a taken name becomes "name 2", "name 3", ...
    // Nothing (and no change) when the name is taken and `uniquify` is false.
    std::optional<ObjectId> addNamedStyle(ObjectId style, const std::string& name, bool uniquify);
    void withdrawNamedStyle(ObjectId style);
    bool nameTaken(const std::string& name) const;
    ObjectId newSymbol(ObjectId art, bool deleteArt);

    // ----- views and redraws (not undone) -----
    std::vector<DocumentView>& views() { return views_; }
    const std::vector<DocumentView>& views() const { return views_; }
    DocumentView* view(ObjectId id);
    // The artwork point shown at a view point: centre + (p − size/2) / zoom, the vertical axis flipped
    // because view pixels count down and artwork points count up.
    static AIRealPoint viewToArtwork(const DocumentView& view, AIPoint p);
    int redrawCount() const { return redraws_; }
    void redraw() { ++redraws_; }

    // ----- parsers, paint fields and dictionaries (not undone) -----
    ObjectId newParser();
    bool hasParser(ObjectId id) const { return parsers_.count(id) != 0; }
    std::vector<ObjectId>& parserFields(ObjectId parser) { return parsers_.at(parser); }
    void disposeParser(ObjectId parser);
    void prepareParser(ObjectId parser);
    ObjectId newParserField(PaintField paint);
    ParserField* parserField(ObjectId id);
    void deleteParserField(ObjectId id);
    ObjectId createStyleFromParser(ObjectId parser);

    ObjectId newDictionary();
    Dictionary* dictionary(ObjectId id);
    void retainDictionary(ObjectId id);
    int32_t releaseDictionary(ObjectId id);  // the references left
    ObjectId key(const std::string& text);   // the same text always gives the same key
    const std::string* keyText(ObjectId key) const;
    std::size_t liveDictionaries() const { return dictionaries_.size(); }
    std::size_t liveParserFields() const { return fields_.size(); }

    // ----- building documents (the sample, tests, tools) -----
    void clearPatterns();
    // A swatch whose tile is a grid of squares, one per colour, in a square tile of `tileSize` points.
    ObjectId addPattern(const std::string& name, const std::vector<AIColor>& childFills, float tileSize = 40.0f);
    // A swatch from ready art: `children` are paths (and groups) in tile coordinates.
    ObjectId addPatternFromArt(const std::string& name, Bounds tile, std::vector<ObjectId> children);
    // Loose art for a definition; it belongs to nothing until it is made a child.
    ObjectId addPath(std::vector<PathSegment> segments, const AIPathStyle& style);
    ObjectId addGroup(std::vector<ObjectId> children);
    ObjectId addCustomColor(const std::string& name, AIColor base);
    void setCurrentPathStyle(const AIPathStyle& style) { contents_.currentPathStyle = style; }
    void removeViews() { views_.clear(); }
    ObjectId addView(int32_t width, int32_t height, float zoom, AIRealPoint center);

    // Colour and style helpers for builders.
    static AIColor gray(float g);
    static AIColor rgb(float r, float g, float b);
    static AIColor cmyk(float c, float m, float y, float k);
    static AIColor spot(ObjectId customColor, float tint);
    static AIColor patternColor(ObjectId pattern);
    static AIColor none();
    static AIPathStyle fillStyle(AIColor fill);
    static AIStrokeStyle strokeStyle(AIColor color, float width);

  private:
    struct Blank {};
    explicit Document(Blank);

    struct Contents {
        std::unordered_map<ObjectId, Art> arts;
        std::vector<ObjectId> layer;
        std::vector<PatternSwatch> patterns;
        std::vector<Symbol> symbols;
        std::unordered_map<ObjectId, ArtStyle> styles;
        std::vector<ObjectId> named;
        std::vector<CustomColor> customColors;
        AIPathStyle currentPathStyle{};
    };

    ObjectId nextId() { return nextId_ += 16; }
    ObjectId addShape(std::vector<PathSegment> segments, bool reversed);
    ObjectId copyArt(ObjectId art, ObjectId parent);
    void removeArtTree(ObjectId art);
    void buildSample();

    Contents contents_;
    Contents snapshot_;
    ObjectId nextId_ = 0x10000;

    std::vector<DocumentView> views_;
    int redraws_ = 0;

    std::unordered_map<ObjectId, std::vector<ObjectId>> parsers_;
    std::unordered_map<ObjectId, ParserField> fields_;
    std::unordered_map<ObjectId, Dictionary> dictionaries_;
    std::map<std::string, ObjectId> keys_;
};

}  // namespace simhost
