#include "document.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simhost {

namespace {

constexpr double kPi = std::numbers::pi;
// Handle length of a quarter-circle bezier, relative to the radius.
constexpr float kKappa = 0.5522847498f;

PathSegment corner(float x, float y) {
    AIRealPoint p{x, y};
    return {p, p, p};
}

void reverseSegments(std::vector<PathSegment>& segments) {
    std::reverse(segments.begin(), segments.end());
    for (auto& s : segments)
        std::swap(s.in, s.out);
}

// Points that are not finite have no place on a page; they are left out of every bounds.
void extend(std::optional<Bounds>& b, AIRealPoint p) {
    if (!std::isfinite(p.h) || !std::isfinite(p.v))
        return;
    if (!b) {
        b = Bounds{p.h, p.v, p.h, p.v};
        return;
    }
    b->left = std::min(b->left, p.h);
    b->right = std::max(b->right, p.h);
    b->bottom = std::min(b->bottom, p.v);
    b->top = std::max(b->top, p.v);
}

}  // namespace

Document::Document() : Document(Blank{}) {
    buildSample();
    snapshot_ = contents_;
}

Document::Document(Blank) {
    addView(800, 600, 1.0f, {250.0f, 250.0f});
    AIPathStyle style = fillStyle(gray(0.0f));
    style.fillPaint = kASFalse;
    style.strokePaint = kASTrue;
    style.stroke = strokeStyle(gray(1.0f), 1.0f);
    contents_.currentPathStyle = style;
}

Document Document::blank() {
    Document document{Blank{}};
    document.snapshot_ = document.contents_;
    return document;
}

void Document::beginMessage() {
    snapshot_ = contents_;
}

void Document::undoChanges() {
    contents_ = snapshot_;
}

// ----- contents -----

const Art* Document::art(ObjectId id) const {
    auto it = contents_.arts.find(id);
    return it == contents_.arts.end() ? nullptr : &it->second;
}

Art* Document::art(ObjectId id) {
    auto it = contents_.arts.find(id);
    return it == contents_.arts.end() ? nullptr : &it->second;
}

const PatternSwatch* Document::pattern(ObjectId id) const {
    for (const auto& p : contents_.patterns)
        if (p.id == id)
            return &p;
    return nullptr;
}

PatternSwatch* Document::pattern(ObjectId id) {
    for (auto& p : contents_.patterns)
        if (p.id == id)
            return &p;
    return nullptr;
}

const ArtStyle* Document::style(ObjectId id) const {
    auto it = contents_.styles.find(id);
    return it == contents_.styles.end() ? nullptr : &it->second;
}

ArtStyle* Document::style(ObjectId id) {
    auto it = contents_.styles.find(id);
    return it == contents_.styles.end() ? nullptr : &it->second;
}

std::vector<const ArtStyle*> Document::namedStyles() const {
    std::vector<const ArtStyle*> result;
    for (ObjectId id : contents_.named)
        if (const ArtStyle* s = style(id))
            result.push_back(s);
    return result;
}

const CustomColor* Document::customColor(ObjectId id) const {
    for (const auto& c : contents_.customColors)
        if (c.id == id)
            return &c;
    return nullptr;
}

std::vector<PaintField> Document::plainFields(const AIPathStyle& style) {
    std::vector<PaintField> fields;
    if (style.strokePaint) {
        PaintField stroke;
        stroke.kind = PaintField::Kind::Stroke;
        stroke.stroke = style.stroke;
        fields.push_back(stroke);
    }
    if (style.fillPaint) {
        PaintField fill;
        fill.color = style.fill.color;
        fill.overprint = style.fill.overprint != 0;
        fields.push_back(fill);
    }
    return fields;
}

std::vector<PaintField> Document::effectiveFields(const Art& a) const {
    if (a.artStyle)
        if (const ArtStyle* s = style(*a.artStyle))
            return s->fields;
    return plainFields(a.pathStyle);
}

std::optional<Bounds> Document::bounds(ObjectId id) const {
    std::optional<Bounds> b;
    const Art* a = art(id);
    if (a == nullptr)
        return b;
    for (const auto& s : a->segments) {
        extend(b, s.p);
        extend(b, s.in);
        extend(b, s.out);
    }
    for (ObjectId child : a->children)
        if (auto cb = bounds(child)) {
            extend(b, {cb->left, cb->bottom});
            extend(b, {cb->right, cb->top});
        }
    return b;
}

std::optional<Bounds> Document::artworkBounds() const {
    std::optional<Bounds> b;
    for (ObjectId id : contents_.layer)
        if (auto ab = bounds(id)) {
            extend(b, {ab->left, ab->bottom});
            extend(b, {ab->right, ab->top});
        }
    return b;
}

// ----- operations -----

ObjectId Document::addShape(std::vector<PathSegment> segments, bool reversed) {
    if (reversed)
        reverseSegments(segments);
    Art a;
    a.id = nextId();
    a.segments = std::move(segments);
    a.pathStyle = contents_.currentPathStyle;
    contents_.layer.push_back(a.id);
    ObjectId id = a.id;
    contents_.arts.emplace(id, std::move(a));
    return id;
}

ObjectId Document::newRectangular(Shape shape, float top, float left, float bottom, float right, bool reversed) {
    if (shape == Shape::Rect)
        return addShape({corner(left, top), corner(right, top), corner(right, bottom), corner(left, bottom)},
                        reversed);
    float cx = (left + right) / 2, cy = (top + bottom) / 2;
    float rx = (right - left) / 2, ry = (top - bottom) / 2;
    float kx = rx * kKappa, ky = ry * kKappa;
    // Counter-clockwise in artwork space from the right-most point, like the rectangle's turn.
    std::vector<PathSegment> s = {
        {{cx + rx, cy}, {cx + rx, cy - ky}, {cx + rx, cy + ky}},
        {{cx, cy + ry}, {cx + kx, cy + ry}, {cx - kx, cy + ry}},
        {{cx - rx, cy}, {cx - rx, cy + ky}, {cx - rx, cy - ky}},
        {{cx, cy - ry}, {cx - kx, cy - ry}, {cx + kx, cy - ry}},
    };
    return addShape(std::move(s), reversed);
}

ObjectId Document::newRegularPolygon(int32_t sides, float cx, float cy, float radius, bool reversed) {
    std::vector<PathSegment> s;
    for (int32_t i = 0; i < sides; ++i) {
        double angle = kPi / 2 + 2 * kPi * i / sides;  // the first corner straight up
        s.push_back(corner(static_cast<float>(cx + radius * std::cos(angle)),
                           static_cast<float>(cy + radius * std::sin(angle))));
    }
    return addShape(std::move(s), reversed);
}

ObjectId Document::newStar(int32_t points, float cx, float cy, float radius1, float radius2, bool reversed) {
    std::vector<PathSegment> s;
    for (int32_t i = 0; i < 2 * points; ++i) {
        double angle = kPi / 2 + kPi * i / points;
        double r = i % 2 == 0 ? radius1 : radius2;
        s.push_back(
            corner(static_cast<float>(cx + r * std::cos(angle)), static_cast<float>(cy + r * std::sin(angle))));
    }
    return addShape(std::move(s), reversed);
}

void Document::setPathStyle(ObjectId id, const AIPathStyle& style) {
    if (Art* a = art(id)) {
        a->pathStyle = style;
        a->artStyle.reset();
    }
}

ObjectId Document::newStyle(std::vector<PaintField> fields) {
    ArtStyle s;
    s.id = nextId();
    s.fields = std::move(fields);
    ObjectId id = s.id;
    contents_.styles.emplace(id, std::move(s));
    return id;
}

bool Document::nameTaken(const std::string& name) const {
    for (const ArtStyle* s : namedStyles())
        if (s->name == name)
            return true;
    return false;
}

std::optional<ObjectId> Document::addNamedStyle(ObjectId source, const std::string& name, bool uniquify) {
    const ArtStyle* s = style(source);
    if (s == nullptr)
        return std::nullopt;
    std::string unique = name;
    if (nameTaken(unique)) {
        if (!uniquify)
            return std::nullopt;
        for (int n = 2; nameTaken(unique); ++n)
            unique = name + " " + std::to_string(n);
    }
    ObjectId id = newStyle(s->fields);
    ArtStyle& listed = contents_.styles.at(id);
    listed.name = unique;
    listed.listed = true;
    contents_.named.push_back(id);
    return id;
}

void Document::withdrawNamedStyle(ObjectId id) {
    if (ArtStyle* s = style(id))
        s->listed = false;
    std::erase(contents_.named, id);
}

ObjectId Document::copyArt(ObjectId id, ObjectId parent) {
    Art copy = *art(id);
    copy.id = nextId();
    copy.parent = parent;
    std::vector<ObjectId> children;
    for (ObjectId child : copy.children)
        children.push_back(copyArt(child, copy.id));
    copy.children = std::move(children);
    ObjectId result = copy.id;
    contents_.arts.emplace(result, std::move(copy));
    return result;
}

void Document::removeArtTree(ObjectId id) {
    Art* a = art(id);
    if (a == nullptr)
        return;
    std::vector<ObjectId> children = a->children;
    for (ObjectId child : children)
        removeArtTree(child);
    contents_.arts.erase(id);
}

ObjectId Document::newSymbol(ObjectId id, bool deleteArt) {
    Symbol symbol;
    symbol.id = nextId();
    symbol.art = copyArt(id, 0);
    std::string base = "New Symbol";
    symbol.name = base;
    auto taken = [&](const std::string& n) {
        return std::any_of(contents_.symbols.begin(), contents_.symbols.end(),
                           [&](const Symbol& s) { return s.name == n; });
    };
    for (int n = 2; taken(symbol.name); ++n)
        symbol.name = base + " " + std::to_string(n);
    if (deleteArt) {
        const Art* a = art(id);
        if (a != nullptr && a->parent != 0) {
            if (Art* parent = art(a->parent))
                std::erase(parent->children, id);
        }
        std::erase(contents_.layer, id);
        removeArtTree(id);
    }
    contents_.symbols.push_back(symbol);
    return symbol.id;
}

// ----- views -----

DocumentView* Document::view(ObjectId id) {
    for (auto& v : views_)
        if (v.id == id)
            return &v;
    return nullptr;
}

AIRealPoint Document::viewToArtwork(const DocumentView& v, AIPoint p) {
    double x = v.center.h + (p.h - v.width / 2.0) / v.zoom;
    double y = v.center.v - (p.v - v.height / 2.0) / v.zoom;
    return {static_cast<float>(x), static_cast<float>(y)};
}

ObjectId Document::addView(int32_t width, int32_t height, float zoom, AIRealPoint center) {
    DocumentView v;
    v.id = nextId();
    v.width = width;
    v.height = height;
    v.zoom = zoom;
    v.center = center;
    views_.push_back(v);
    return v.id;
}

// ----- parsers, fields, dictionaries -----

ObjectId Document::newParser() {
    ObjectId id = nextId();
    parsers_[id];
    return id;
}

void Document::disposeParser(ObjectId parser) {
    auto it = parsers_.find(parser);
    if (it == parsers_.end())
        return;
    std::vector<ObjectId> fields = std::move(it->second);
    parsers_.erase(it);
    for (ObjectId f : fields)
        deleteParserField(f);
}

void Document::prepareParser(ObjectId parser) {
    auto& list = parsers_.at(parser);
    // Any defaults of an earlier preparation go first, so the parser holds exactly two of them.
    std::vector<ObjectId> old;
    for (ObjectId f : list)
        if (fields_.at(f).hostDefault)
            old.push_back(f);
    for (ObjectId f : old) {
        std::erase(list, f);
        deleteParserField(f);
    }
    PaintField fill;
    fill.color = gray(0.0f);
    PaintField stroke;
    stroke.kind = PaintField::Kind::Stroke;
    stroke.stroke = strokeStyle(gray(1.0f), 1.0f);
    ObjectId fillId = newParserField(fill);
    ObjectId strokeId = newParserField(stroke);
    for (ObjectId f : {fillId, strokeId}) {
        fields_.at(f).hostDefault = true;
        fields_.at(f).parser = parser;
    }
    list.insert(list.begin(), {fillId, strokeId});
}

ObjectId Document::newParserField(PaintField paint) {
    ParserField f;
    f.id = nextId();
    f.paint = std::move(paint);
    ObjectId id = f.id;
    fields_.emplace(id, std::move(f));
    return id;
}

ParserField* Document::parserField(ObjectId id) {
    auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : &it->second;
}

void Document::deleteParserField(ObjectId id) {
    auto it = fields_.find(id);
    if (it == fields_.end())
        return;
    if (it->second.dictionary != 0)
        releaseDictionary(it->second.dictionary);
    fields_.erase(it);
}

ObjectId Document::createStyleFromParser(ObjectId parser) {
    std::vector<PaintField> fields;
    for (ObjectId f : parsers_.at(parser)) {
        const ParserField& pf = fields_.at(f);
        PaintField paint = pf.paint;
        paint.mode.reset();
        paint.opacity.reset();
        // The field's blend is what its dictionary says when the style is made.
        if (const Dictionary* d = pf.dictionary ? dictionary(pf.dictionary) : nullptr) {
            auto number = [&](const std::string& text) -> std::optional<std::variant<int32_t, float>> {
                auto k = keys_.find(text);
                if (k == keys_.end())
                    return std::nullopt;
                auto e = d->entries.find(k->second);
                if (e == d->entries.end())
                    return std::nullopt;
                return e->second;
            };
            if (auto m = number("Mode"))
                paint.mode = std::holds_alternative<int32_t>(*m) ? std::get<int32_t>(*m)
                                                                 : static_cast<int32_t>(std::get<float>(*m));
            if (auto o = number("Opacity"))
                paint.opacity = std::holds_alternative<float>(*o) ? std::get<float>(*o)
                                                                  : static_cast<float>(std::get<int32_t>(*o));
        }
        fields.push_back(std::move(paint));
    }
    return newStyle(std::move(fields));
}

ObjectId Document::newDictionary() {
    Dictionary d;
    d.id = nextId();
    ObjectId id = d.id;
    dictionaries_.emplace(id, std::move(d));
    return id;
}

Dictionary* Document::dictionary(ObjectId id) {
    auto it = dictionaries_.find(id);
    return it == dictionaries_.end() ? nullptr : &it->second;
}

void Document::retainDictionary(ObjectId id) {
    if (Dictionary* d = dictionary(id))
        ++d->references;
}

int32_t Document::releaseDictionary(ObjectId id) {
    Dictionary* d = dictionary(id);
    if (d == nullptr)
        return 0;
    int32_t left = --d->references;
    if (left <= 0) {
        dictionaries_.erase(id);
        return 0;
    }
    return left;
}

ObjectId Document::key(const std::string& text) {
    auto it = keys_.find(text);
    if (it != keys_.end())
        return it->second;
    ObjectId id = nextId();
    keys_.emplace(text, id);
    return id;
}

const std::string* Document::keyText(ObjectId id) const {
    for (const auto& [text, k] : keys_)
        if (k == id)
            return &text;
    return nullptr;
}

// ----- building -----

void Document::clearPatterns() {
    for (const auto& p : contents_.patterns)
        removeArtTree(p.art);
    contents_.patterns.clear();
}

ObjectId Document::addPath(std::vector<PathSegment> segments, const AIPathStyle& style) {
    Art a;
    a.id = nextId();
    a.segments = std::move(segments);
    a.pathStyle = style;
    ObjectId id = a.id;
    contents_.arts.emplace(id, std::move(a));
    return id;
}

ObjectId Document::addGroup(std::vector<ObjectId> children) {
    Art g;
    g.id = nextId();
    g.kind = ArtKind::Group;
    g.closed = false;
    // A group reports the style of its first path, as a host shows a selection's focal style.
    for (ObjectId c : children) {
        Art& child = contents_.arts.at(c);
        child.parent = g.id;
        if (g.children.empty())
            g.pathStyle = child.pathStyle;
        g.children.push_back(c);
    }
    ObjectId id = g.id;
    contents_.arts.emplace(id, std::move(g));
    return id;
}

ObjectId Document::addPatternFromArt(const std::string& name, Bounds tile, std::vector<ObjectId> children) {
    PatternSwatch p;
    p.id = nextId();
    p.name = name;
    p.art = addGroup(std::move(children));
    p.tile = tile;
    contents_.patterns.push_back(p);
    return p.id;
}

ObjectId Document::addPattern(const std::string& name, const std::vector<AIColor>& childFills, float tileSize) {
    std::vector<ObjectId> children;
    auto n = static_cast<int>(childFills.size());
    int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))));
    int rows = std::max(1, (n + columns - 1) / columns);
    float w = tileSize / static_cast<float>(columns), h = tileSize / static_cast<float>(rows);
    for (int i = 0; i < n; ++i) {
        float x = static_cast<float>(i % columns) * w;
        float y = tileSize - static_cast<float>(i / columns + 1) * h;
        children.push_back(addPath({corner(x, y), corner(x + w, y), corner(x + w, y + h), corner(x, y + h)},
                                   fillStyle(childFills[static_cast<std::size_t>(i)])));
    }
    return addPatternFromArt(name, {0, 0, tileSize, tileSize}, std::move(children));
}

ObjectId Document::addCustomColor(const std::string& name, AIColor base) {
    CustomColor c;
    c.id = nextId();
    c.name = name;
    c.base = base;
    contents_.customColors.push_back(c);
    return c.id;
}

AIColor Document::gray(float g) {
    AIColor c{};
    c.kind = kGrayColor;
    c.c.g.gray = g;
    return c;
}

AIColor Document::rgb(float r, float g, float b) {
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {r, g, b};
    return c;
}

AIColor Document::cmyk(float cyan, float magenta, float yellow, float black) {
    AIColor c{};
    c.kind = kFourColor;
    c.c.f = {cyan, magenta, yellow, black};
    return c;
}

AIColor Document::spot(ObjectId customColor, float tint) {
    AIColor c{};
    c.kind = kCustomColor;
    c.c.c.color = handleOf<AICustomColorHandle>(customColor);
    c.c.c.tint = tint;
    return c;
}

AIColor Document::patternColor(ObjectId patternId) {
    AIColor c{};
    c.kind = kPattern;
    c.c.p.pattern = handleOf<AIPatternHandle>(patternId);
    c.c.p.scale = {100.0f, 100.0f};
    c.c.p.transform = {1, 0, 0, 1, 0, 0};
    return c;
}

AIColor Document::none() {
    AIColor c{};
    c.kind = kNoneColor;
    return c;
}

AIStrokeStyle Document::strokeStyle(AIColor color, float width) {
    AIStrokeStyle s{};
    s.color = color;
    s.width = width;
    s.cap = kAIButtCap;
    s.join = kAIMiterJoin;
    s.miterLimit = 4.0f;
    return s;
}

AIPathStyle Document::fillStyle(AIColor fill) {
    AIPathStyle s{};
    s.fillPaint = kASTrue;
    s.strokePaint = kASFalse;
    s.fill.color = fill;
    s.stroke = strokeStyle(gray(1.0f), 1.0f);
    s.resolution = 800.0f;
    return s;
}

}  // namespace simhost
