// The document's suites: real math, random numbers, art, document, views, undo, shapes, path styles,
// patterns, dictionaries, art styles, the style parser and symbols. Every operation journals itself,
// honours fault injection, and checks each handle it is given: a stale or foreign one is answered with
// kBadParameterErr (or a neutral value) and recorded in the ledger, never followed.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>

#include "core/host.hpp"
#include "core/suite_registry.hpp"
#include "document.hpp"
#include "suites/suites.hpp"

namespace simhost {

namespace {

Host& host() {
    return Host::current();
}
Document& doc() {
    return host().document();
}

std::string text(const void* p) {
    if (p == nullptr)
        return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", p);
    return buffer;
}
std::string text(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}
std::string text(const char* s) {
    return s == nullptr ? "null" : "\"" + std::string(s) + "\"";
}
template <class... Parts>
std::string args(const Parts&... parts) {
    std::string result;
    ((result += (result.empty() ? "" : ", ") + parts), ...);
    return result;
}

ASErr refuse(const std::string& operation, const std::string& what) {
    host().ledger().violation(operation + ": " + what);
    return kBadParameterErr;
}
ASErr staleHandle(const std::string& operation, const char* kind, const void* handle) {
    return refuse(operation, (handle ? std::string("stale or foreign ") : std::string("null ")) + kind + " (" +
                                 text(handle) + ")");
}
ASErr nullOut(const std::string& operation) {
    return refuse(operation, "null result pointer");
}

const Art* artOf(AIArtHandle handle) {
    return doc().art(idOf(handle));
}

// Colours may name other objects; those must be live too.
bool colorValid(const AIColor& color) {
    switch (color.kind) {
        case kGrayColor:
        case kFourColor:
        case kThreeColor:
        case kNoneColor:
        case kGradient:
            return true;
        case kPattern:
            return doc().pattern(idOf(color.c.p.pattern)) != nullptr;
        case kCustomColor:
            return doc().customColor(idOf(color.c.c.color)) != nullptr;
    }
    return false;
}

ASErr checkColor(const std::string& operation, const AIColor& color) {
    if (colorValid(color))
        return kNoErr;
    return refuse(operation, "colour of kind " + std::to_string(static_cast<int>(color.kind)) +
                                 " names a stale or foreign object");
}

// ----- AI Real Math Suite -----

void HOSTAPI AIRealMatrixSetIdentity(AIRealMatrix* matrix) {
    host().enter("AIRealMathSuite.AIRealMatrixSetIdentity", text(matrix));
    if (matrix == nullptr) {
        refuse("AIRealMathSuite.AIRealMatrixSetIdentity", "null matrix");
        return;
    }
    *matrix = {1, 0, 0, 1, 0, 0};
}

AIReal HOSTAPI AIRealPointAngle(const AIRealPoint* p1, const AIRealPoint* p2) {
    host().enter("AIRealMathSuite.AIRealPointAngle", p1 && p2 ? args("(" + text(p1->h) + ", " + text(p1->v) + ")",
                                                                     "(" + text(p2->h) + ", " + text(p2->v) + ")")
                                                              : args(text(p1), text(p2)));
    if (p1 == nullptr || p2 == nullptr) {
        refuse("AIRealMathSuite.AIRealPointAngle", "null point");
        return 0.0f;
    }
    return static_cast<AIReal>(std::atan2(static_cast<double>(p1->v) - p2->v, static_cast<double>(p1->h) - p2->h));
}

AIReal HOSTAPI RadianToDegree(AIReal radians) {
    host().enter("AIRealMathSuite.RadianToDegree", text(radians));
    return static_cast<AIReal>(radians * 180.0 / std::numbers::pi);
}

const AIRealMathSuite kRealMath = {AIRealMatrixSetIdentity, AIRealPointAngle, RadianToDegree};

// ----- AI Random Suite -----

AIReal HOSTAPI FloatRnd() {
    Host& h = host();
    h.enter("AIRandomSuite.FloatRnd");
    if (auto value = h.random().next())
        return *value;
    std::string message = "the scripted random numbers ran out after " + std::to_string(h.random().drawn()) +
                          (h.random().drawn() == 1 ? " value" : " values");
    // Reported once: every later draw of the same run fails for the same reason.
    if (h.failures().empty() || h.failures().back() != message)
        h.fail(message);
    return 0.0f;
}

const AIRandomSuite kRandom = {FloatRnd};

// ----- AI Art Suite -----

ASErr HOSTAPI GetArtFirstChild(AIArtHandle art, AIArtHandle* child) {
    const std::string op = "AIArtSuite.GetArtFirstChild";
    if (ASErr fault = host().enter(op, text(art)))
        return fault;
    const Art* a = artOf(art);
    if (a == nullptr)
        return staleHandle(op, "art", art);
    if (child == nullptr)
        return nullOut(op);
    *child = a->children.empty() ? nullptr : handleOf<AIArtHandle>(a->children.front());
    return kNoErr;
}

ASErr HOSTAPI GetArtSibling(AIArtHandle art, AIArtHandle* sibling) {
    const std::string op = "AIArtSuite.GetArtSibling";
    if (ASErr fault = host().enter(op, text(art)))
        return fault;
    const Art* a = artOf(art);
    if (a == nullptr)
        return staleHandle(op, "art", art);
    if (sibling == nullptr)
        return nullOut(op);
    *sibling = nullptr;
    const std::vector<ObjectId>* list = nullptr;
    if (a->parent != 0) {
        if (const Art* parent = doc().art(a->parent))
            list = &parent->children;
    } else {
        list = &doc().topLevelArt();
    }
    if (list != nullptr) {
        for (std::size_t i = 0; i + 1 < list->size(); ++i)
            if ((*list)[i] == a->id) {
                *sibling = handleOf<AIArtHandle>((*list)[i + 1]);
                break;
            }
    }
    return kNoErr;
}

const AIArtSuite kArt = {GetArtFirstChild, GetArtSibling};

// ----- AI Document Suite -----

ASErr HOSTAPI RedrawDocument() {
    if (ASErr fault = host().enter("AIDocumentSuite.RedrawDocument"))
        return fault;
    doc().redraw();
    return kNoErr;
}

const AIDocumentSuite kDocument = {RedrawDocument};

// ----- AI Document View Suite -----

DocumentView* viewOf(AIDocumentViewHandle view) {
    return doc().view(idOf(view));
}

ASErr HOSTAPI GetNthDocumentView(int32_t n, AIDocumentViewHandle* view) {
    const std::string op = "AIDocumentViewSuite.GetNthDocumentView";
    if (ASErr fault = host().enter(op, std::to_string(n)))
        return fault;
    if (view == nullptr)
        return nullOut(op);
    auto& views = doc().views();
    if (n < 0 || static_cast<std::size_t>(n) >= views.size()) {
        *view = nullptr;
        return kBadParameterErr;  // no such view: an answer, not a fault of the caller's handles
    }
    *view = handleOf<AIDocumentViewHandle>(views[static_cast<std::size_t>(n)].id);
    return kNoErr;
}

ASErr HOSTAPI SetDocumentViewZoom(AIDocumentViewHandle view, AIReal zoom) {
    const std::string op = "AIDocumentViewSuite.SetDocumentViewZoom";
    if (ASErr fault = host().enter(op, args(text(view), text(zoom))))
        return fault;
    DocumentView* v = viewOf(view);
    if (v == nullptr)
        return staleHandle(op, "view", view);
    if (!std::isfinite(zoom) || zoom <= 0.0f)
        return kBadParameterErr;
    // The zoom range of a real document window.
    v->zoom = std::clamp(zoom, 1.0f / 32.0f, 64.0f);
    return kNoErr;
}

ASErr HOSTAPI ViewPointToArtworkPoint(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                      AIRealPoint* artworkPoint) {
    const std::string op = "AIDocumentViewSuite.ViewPointToArtworkPoint";
    if (ASErr fault = host().enter(op, args(text(view), viewPoint ? "(" + std::to_string(viewPoint->h) + ", " +
                                                                        std::to_string(viewPoint->v) + ")"
                                                                  : std::string("null"))))
        return fault;
    DocumentView* v = viewOf(view);
    if (v == nullptr)
        return staleHandle(op, "view", view);
    if (viewPoint == nullptr || artworkPoint == nullptr)
        return refuse(op, "null point");
    *artworkPoint = Document::viewToArtwork(*v, *viewPoint);
    return kNoErr;
}

ASErr HOSTAPI GetDocumentViewCenter(AIDocumentViewHandle view, AIRealPoint* center) {
    const std::string op = "AIDocumentViewSuite.GetDocumentViewCenter";
    if (ASErr fault = host().enter(op, text(view)))
        return fault;
    DocumentView* v = viewOf(view);
    if (v == nullptr)
        return staleHandle(op, "view", view);
    if (center == nullptr)
        return nullOut(op);
    *center = v->center;
    return kNoErr;
}

const AIDocumentViewSuite kDocumentView = {GetNthDocumentView, SetDocumentViewZoom, ViewPointToArtworkPoint,
                                           GetDocumentViewCenter};

// ----- AI Undo Suite -----

ASErr HOSTAPI UndoChanges() {
    if (ASErr fault = host().enter("AIUndoSuite.UndoChanges"))
        return fault;
    doc().undoChanges();
    return kNoErr;
}

const AIUndoSuite kUndo = {UndoChanges};

// ----- AI Shape Construction Suite -----

bool finite(std::initializer_list<float> values) {
    for (float v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

// More corners than any screen can show would only exhaust memory.
constexpr int32_t kMaxCorners = 100000;

// Rectangles and ovals take the same four edges; only the outline differs.
ASErr newRectangularArt(const std::string& op, Document::Shape shape, AIReal top, AIReal left, AIReal bottom,
                        AIReal right, AIBoolean reversed, AIArtHandle* newArt) {
    if (ASErr fault =
            host().enter(op, args(text(top), text(left), text(bottom), text(right), std::to_string(reversed))))
        return fault;
    if (newArt == nullptr)
        return nullOut(op);
    if (!finite({top, left, bottom, right}))
        return kBadParameterErr;
    *newArt = handleOf<AIArtHandle>(doc().newRectangular(shape, top, left, bottom, right, reversed));
    return kNoErr;
}

ASErr HOSTAPI NewRect(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed,
                      AIArtHandle* newArt) {
    return newRectangularArt("AIShapeConstructionSuite.NewRect", Document::Shape::Rect, top, left, bottom, right,
                             reversed, newArt);
}

ASErr HOSTAPI NewInscribedOval(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed,
                               AIArtHandle* newArt) {
    return newRectangularArt("AIShapeConstructionSuite.NewInscribedOval", Document::Shape::Oval, top, left, bottom,
                             right, reversed, newArt);
}

ASErr HOSTAPI NewRegularPolygon(int32_t numSides, AIReal centerX, AIReal centerY, AIReal radius,
                                AIBoolean reversed, AIArtHandle* newArt) {
    const std::string op = "AIShapeConstructionSuite.NewRegularPolygon";
    if (ASErr fault = host().enter(op, args(std::to_string(numSides), text(centerX), text(centerY), text(radius),
                                            std::to_string(reversed))))
        return fault;
    if (newArt == nullptr)
        return nullOut(op);
    if (numSides < 3 || numSides > kMaxCorners || !finite({centerX, centerY, radius}))
        return kBadParameterErr;
    *newArt = handleOf<AIArtHandle>(doc().newRegularPolygon(numSides, centerX, centerY, radius, reversed));
    return kNoErr;
}

ASErr HOSTAPI NewStar(int32_t numPoints, AIReal centerX, AIReal centerY, AIReal radius1, AIReal radius2,
                      AIBoolean reversed, AIArtHandle* newArt) {
    const std::string op = "AIShapeConstructionSuite.NewStar";
    if (ASErr fault = host().enter(op, args(std::to_string(numPoints), text(centerX), text(centerY), text(radius1),
                                            text(radius2), std::to_string(reversed))))
        return fault;
    if (newArt == nullptr)
        return nullOut(op);
    if (numPoints < 2 || numPoints > kMaxCorners || !finite({centerX, centerY, radius1, radius2}))
        return kBadParameterErr;
    *newArt = handleOf<AIArtHandle>(doc().newStar(numPoints, centerX, centerY, radius1, radius2, reversed));
    return kNoErr;
}

const AIShapeConstructionSuite kShapes = {NewRect, NewInscribedOval, NewRegularPolygon, NewStar};

// ----- AI Path Suite, AI Blend Style Suite (held, never called) -----

const AIPathSuite kPath = {nullptr};
const AIBlendStyleSuite kBlendStyle = {nullptr};

// ----- AI Path Style Suite -----

ASErr HOSTAPI GetCurrentPathStyle(AIPathStyle* style, AIPathStyleMap* map) {
    const std::string op = "AIPathStyleSuite.GetCurrentPathStyle";
    if (ASErr fault = host().enter(op, args(text(style), text(map))))
        return fault;
    if (style == nullptr)
        return nullOut(op);
    *style = doc().currentPathStyle();
    if (map != nullptr)
        *map = {kASTrue, kASTrue, kASTrue, kASTrue, kASTrue, kASTrue};
    return kNoErr;
}

ASErr HOSTAPI GetPathStyle(AIArtHandle art, AIPathStyle* style) {
    const std::string op = "AIPathStyleSuite.GetPathStyle";
    if (ASErr fault = host().enter(op, text(art)))
        return fault;
    const Art* a = artOf(art);
    if (a == nullptr)
        return staleHandle(op, "art", art);
    if (style == nullptr)
        return nullOut(op);
    *style = a->pathStyle;
    return kNoErr;
}

ASErr HOSTAPI SetPathStyle(AIArtHandle art, const AIPathStyle* style) {
    const std::string op = "AIPathStyleSuite.SetPathStyle";
    if (ASErr fault = host().enter(op, args(text(art), text(style))))
        return fault;
    if (artOf(art) == nullptr)
        return staleHandle(op, "art", art);
    if (style == nullptr)
        return refuse(op, "null path style");
    if (ASErr bad = checkColor(op, style->fill.color))
        return bad;
    if (ASErr bad = checkColor(op, style->stroke.color))
        return bad;
    doc().setPathStyle(idOf(art), *style);
    return kNoErr;
}

const AIPathStyleSuite kPathStyle = {GetCurrentPathStyle, GetPathStyle, SetPathStyle};

// ----- AI Pattern Suite -----

ASErr HOSTAPI CountPatterns(int32_t* count) {
    const std::string op = "AIPatternSuite.CountPatterns";
    if (ASErr fault = host().enter(op))
        return fault;
    if (count == nullptr)
        return nullOut(op);
    *count = static_cast<int32_t>(doc().patterns().size());
    return kNoErr;
}

ASErr HOSTAPI GetNthPattern(int32_t n, AIPatternHandle* pattern) {
    const std::string op = "AIPatternSuite.GetNthPattern";
    if (ASErr fault = host().enter(op, std::to_string(n)))
        return fault;
    if (pattern == nullptr)
        return nullOut(op);
    const auto& patterns = doc().patterns();
    if (n < 0 || static_cast<std::size_t>(n) >= patterns.size()) {
        *pattern = nullptr;
        return kBadParameterErr;
    }
    *pattern = handleOf<AIPatternHandle>(patterns[static_cast<std::size_t>(n)].id);
    return kNoErr;
}

ASErr HOSTAPI GetPatternArt(AIPatternHandle pattern, AIArtHandle* art) {
    const std::string op = "AIPatternSuite.GetPatternArt";
    if (ASErr fault = host().enter(op, text(pattern)))
        return fault;
    const PatternSwatch* p = doc().pattern(idOf(pattern));
    if (p == nullptr)
        return staleHandle(op, "pattern", pattern);
    if (art == nullptr)
        return nullOut(op);
    *art = handleOf<AIArtHandle>(p->art);
    return kNoErr;
}

ASErr HOSTAPI SetPatternArt(AIPatternHandle pattern, AIArtHandle art) {
    const std::string op = "AIPatternSuite.SetPatternArt";
    if (ASErr fault = host().enter(op, args(text(pattern), text(art))))
        return fault;
    PatternSwatch* p = doc().pattern(idOf(pattern));
    if (p == nullptr)
        return staleHandle(op, "pattern", pattern);
    const Art* a = artOf(art);
    if (a == nullptr)
        return staleHandle(op, "art", art);
    if (a->kind != ArtKind::Group)
        return refuse(op, "a pattern's definition must be a group");
    p->art = a->id;
    return kNoErr;
}

const AIPatternSuite kPattern = {CountPatterns, GetNthPattern, GetPatternArt, SetPatternArt};

// ----- AI Dictionary Suite -----
// The plug-in's references are counted in the ledger under "dictionary"; a paint field's reference is
// the host's own and is not.

bool dictionaryHeld(const std::string& op, AIDictionaryRef dictionary) {
    return host().ledger().check("dictionary", dictionary, op) && doc().dictionary(idOf(dictionary)) != nullptr;
}

ASErr HOSTAPI CreateDictionary(AIDictionaryRef* dictionary) {
    const std::string op = "AIDictionarySuite.CreateDictionary";
    if (ASErr fault = host().enter(op))
        return fault;
    if (dictionary == nullptr)
        return nullOut(op);
    *dictionary = handleOf<AIDictionaryRef>(doc().newDictionary());
    host().ledger().take("dictionary", *dictionary);
    return kNoErr;
}

AIDictKey HOSTAPI Key(const char* keyString) {
    host().enter("AIDictionarySuite.Key", text(keyString));
    if (keyString == nullptr) {
        refuse("AIDictionarySuite.Key", "null key text");
        return nullptr;
    }
    return handleOf<AIDictKey>(doc().key(keyString));
}

ASErr setEntry(const std::string& op, AIDictionaryRef dictionary, AIDictKey key, std::variant<int32_t, float> v) {
    if (!dictionaryHeld(op, dictionary))
        return kBadParameterErr;
    if (key == nullptr || doc().keyText(idOf(key)) == nullptr)
        return staleHandle(op, "key", key);
    doc().dictionary(idOf(dictionary))->entries[idOf(key)] = v;
    return kNoErr;
}

std::string keyName(AIDictKey key) {
    const std::string* t = key ? host().document().keyText(idOf(key)) : nullptr;
    return t ? "\"" + *t + "\"" : text(key);
}

ASErr HOSTAPI SetIntegerEntry(AIDictionaryRef dictionary, AIDictKey key, int32_t value) {
    const std::string op = "AIDictionarySuite.SetIntegerEntry";
    if (ASErr fault = host().enter(op, args(text(dictionary), keyName(key), std::to_string(value))))
        return fault;
    return setEntry(op, dictionary, key, value);
}

ASErr HOSTAPI SetRealEntry(AIDictionaryRef dictionary, AIDictKey key, AIReal value) {
    const std::string op = "AIDictionarySuite.SetRealEntry";
    if (ASErr fault = host().enter(op, args(text(dictionary), keyName(key), text(value))))
        return fault;
    return setEntry(op, dictionary, key, value);
}

int32_t HOSTAPI ReleaseDictionary(AIDictionaryRef dictionary) {
    const std::string op = "AIDictionarySuite.ReleaseDictionary";
    host().enter(op, text(dictionary));
    if (!dictionaryHeld(op, dictionary))
        return 0;
    host().ledger().give("dictionary", dictionary);
    return doc().releaseDictionary(idOf(dictionary));
}

const AIDictionarySuite kDictionary = {CreateDictionary, Key, SetIntegerEntry, SetRealEntry, ReleaseDictionary};

// ----- AI Art Style Suite -----

ASErr HOSTAPI AddNamedStyle(AIArtStyleHandle style, const char* name, AIBoolean uniquify,
                            AIArtStyleHandle* named) {
    const std::string op = "AIArtStyleSuite.AddNamedStyle";
    if (ASErr fault = host().enter(op, args(text(style), text(name), std::to_string(uniquify))))
        return fault;
    if (doc().style(idOf(style)) == nullptr)
        return staleHandle(op, "art style", style);
    if (name == nullptr || *name == '\0')
        return refuse(op, "a named style needs a name");
    if (named == nullptr)
        return nullOut(op);
    auto id = doc().addNamedStyle(idOf(style), name, uniquify != 0);
    if (!id)
        return kBadParameterErr;  // the name is taken and the caller asked for it exactly
    *named = handleOf<AIArtStyleHandle>(*id);
    return kNoErr;
}

ASErr HOSTAPI SetArtStyle(AIArtHandle art, AIArtStyleHandle style) {
    const std::string op = "AIArtStyleSuite.SetArtStyle";
    if (ASErr fault = host().enter(op, args(text(art), text(style))))
        return fault;
    Art* a = doc().art(idOf(art));
    if (a == nullptr)
        return staleHandle(op, "art", art);
    if (doc().style(idOf(style)) == nullptr)
        return staleHandle(op, "art style", style);
    a->artStyle = idOf(style);
    return kNoErr;
}

ASErr HOSTAPI WithdrawNamedStyle(AIArtStyleHandle named, AIArtStyleHandle* unnamed) {
    const std::string op = "AIArtStyleSuite.WithdrawNamedStyle";
    if (ASErr fault = host().enter(op, text(named)))
        return fault;
    const ArtStyle* s = doc().style(idOf(named));
    if (s == nullptr)
        return staleHandle(op, "art style", named);
    if (!s->listed)
        return refuse(op, "art style " + text(named) + " is not in the list of named styles");
    doc().withdrawNamedStyle(idOf(named));
    if (unnamed != nullptr)
        *unnamed = named;
    return kNoErr;
}

const AIArtStyleSuite kArtStyle = {AddNamedStyle, SetArtStyle, WithdrawNamedStyle};

// ----- AI Art Style Parser Suite -----
// Parsers are held in the ledger as "parser" until disposed; a new paint field is held as "paint field"
// until a parser takes it (or it is deleted).

bool parserValid(const std::string& op, AIStyleParser parser) {
    if (doc().hasParser(idOf(parser)))
        return true;
    staleHandle(op, "parser", parser);
    return false;
}

ParserField* fieldOf(const std::string& op, AIParserPaintField field) {
    ParserField* f = doc().parserField(idOf(field));
    if (f == nullptr)
        staleHandle(op, "paint field", field);
    return f;
}

ASErr HOSTAPI NewParser(AIStyleParser* parser) {
    const std::string op = "AIArtStyleParserSuite.NewParser";
    if (ASErr fault = host().enter(op))
        return fault;
    if (parser == nullptr)
        return nullOut(op);
    *parser = handleOf<AIStyleParser>(doc().newParser());
    host().ledger().take("parser", *parser);
    return kNoErr;
}

ASErr HOSTAPI DisposeParser(AIStyleParser parser) {
    const std::string op = "AIArtStyleParserSuite.DisposeParser";
    if (ASErr fault = host().enter(op, text(parser)))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    doc().disposeParser(idOf(parser));
    host().ledger().give("parser", parser);
    return kNoErr;
}

ASErr HOSTAPI PrepareParser(AIStyleParser parser) {
    const std::string op = "AIArtStyleParserSuite.PrepareParser";
    if (ASErr fault = host().enter(op, text(parser)))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    doc().prepareParser(idOf(parser));
    return kNoErr;
}

ASErr newField(const std::string& op, PaintField paint, AIParserPaintField* paintField) {
    if (paintField == nullptr)
        return nullOut(op);
    *paintField = handleOf<AIParserPaintField>(doc().newParserField(std::move(paint)));
    host().ledger().take("paint field", *paintField);
    return kNoErr;
}

ASErr HOSTAPI NewStrokePaintField(const AIStrokeStyle* stroke, const AIArtStylePaintData* paintData,
                                  AIParserPaintField* paintField) {
    const std::string op = "AIArtStyleParserSuite.NewStrokePaintField";
    if (ASErr fault = host().enter(op, args(text(stroke), text(paintData))))
        return fault;
    if (stroke == nullptr)
        return refuse(op, "null stroke style");
    if (ASErr bad = checkColor(op, stroke->color))
        return bad;
    PaintField paint;
    paint.kind = PaintField::Kind::Stroke;
    paint.stroke = *stroke;
    return newField(op, paint, paintField);
}

ASErr HOSTAPI NewFillPaintField(const AIColor* color, AIBoolean overprint, const AIArtStylePaintData* paintData,
                                AIParserPaintField* paintField) {
    const std::string op = "AIArtStyleParserSuite.NewFillPaintField";
    if (ASErr fault = host().enter(op, args(text(color), std::to_string(overprint), text(paintData))))
        return fault;
    if (color == nullptr)
        return refuse(op, "null colour");
    if (ASErr bad = checkColor(op, *color))
        return bad;
    PaintField paint;
    paint.color = *color;
    paint.overprint = overprint != 0;
    return newField(op, paint, paintField);
}

ASErr HOSTAPI SetPaintFieldBlendDictionary(AIParserPaintField paintField, AIDictionaryRef dictionary) {
    const std::string op = "AIArtStyleParserSuite.SetPaintFieldBlendDictionary";
    if (ASErr fault = host().enter(op, args(text(paintField), text(dictionary))))
        return fault;
    ParserField* f = fieldOf(op, paintField);
    if (f == nullptr)
        return kBadParameterErr;
    if (!dictionaryHeld(op, dictionary))
        return kBadParameterErr;
    ObjectId previous = f->dictionary;
    doc().retainDictionary(idOf(dictionary));
    f->dictionary = idOf(dictionary);
    if (previous != 0)
        doc().releaseDictionary(previous);
    return kNoErr;
}

ASErr HOSTAPI InsertNthPaintField(AIStyleParser parser, int32_t n, AIParserPaintField paintField) {
    const std::string op = "AIArtStyleParserSuite.InsertNthPaintField";
    if (ASErr fault = host().enter(op, args(text(parser), std::to_string(n), text(paintField))))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    ParserField* f = fieldOf(op, paintField);
    if (f == nullptr)
        return kBadParameterErr;
    if (f->parser != 0)
        return refuse(op, "paint field " + text(paintField) + " is already in a parser");
    auto& list = doc().parserFields(idOf(parser));
    if (n < -1 || n > static_cast<int32_t>(list.size()))
        return kBadParameterErr;
    list.insert(n == -1 ? list.end() : list.begin() + n, f->id);
    f->parser = idOf(parser);
    host().ledger().give("paint field", paintField);
    return kNoErr;
}

ASErr HOSTAPI GetNthPaintField(AIStyleParser parser, int32_t n, AIParserPaintField* paintField) {
    const std::string op = "AIArtStyleParserSuite.GetNthPaintField";
    if (ASErr fault = host().enter(op, args(text(parser), std::to_string(n))))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    if (paintField == nullptr)
        return nullOut(op);
    auto& list = doc().parserFields(idOf(parser));
    if (n < 0 || static_cast<std::size_t>(n) >= list.size()) {
        *paintField = nullptr;
        return kBadParameterErr;
    }
    *paintField = handleOf<AIParserPaintField>(list[static_cast<std::size_t>(n)]);
    return kNoErr;
}

ASErr HOSTAPI RemovePaintField(AIStyleParser parser, AIParserPaintField paintField, AIBoolean deleteIt) {
    const std::string op = "AIArtStyleParserSuite.RemovePaintField";
    if (ASErr fault = host().enter(op, args(text(parser), text(paintField), std::to_string(deleteIt))))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    ParserField* f = fieldOf(op, paintField);
    if (f == nullptr)
        return kBadParameterErr;
    if (f->parser != idOf(parser))
        return refuse(op, "paint field " + text(paintField) + " is not in parser " + text(parser));
    std::erase(doc().parserFields(idOf(parser)), f->id);
    if (deleteIt) {
        doc().deleteParserField(f->id);
    } else {
        f->parser = 0;
        host().ledger().take("paint field", paintField);
    }
    return kNoErr;
}

ASErr HOSTAPI CreateArtStyle(AIStyleParser parser, AIArtStyleHandle* style) {
    const std::string op = "AIArtStyleParserSuite.CreateArtStyle";
    if (ASErr fault = host().enter(op, text(parser)))
        return fault;
    if (!parserValid(op, parser))
        return kBadParameterErr;
    if (style == nullptr)
        return nullOut(op);
    *style = handleOf<AIArtStyleHandle>(doc().createStyleFromParser(idOf(parser)));
    return kNoErr;
}

const AIArtStyleParserSuite kParser = {NewParser,           DisposeParser,     PrepareParser,
                                       NewStrokePaintField, NewFillPaintField, SetPaintFieldBlendDictionary,
                                       InsertNthPaintField, GetNthPaintField,  RemovePaintField,
                                       CreateArtStyle};

// ----- AI Symbol Suite -----

ASErr HOSTAPI NewSymbolFromArt(AISymbolHandle* symbol, AIArtHandle art, AIBoolean deleteArt) {
    const std::string op = "AISymbolSuite.NewSymbolFromArt";
    if (ASErr fault = host().enter(op, args(text(art), std::to_string(deleteArt))))
        return fault;
    if (artOf(art) == nullptr)
        return staleHandle(op, "art", art);
    ObjectId id = doc().newSymbol(idOf(art), deleteArt != 0);
    if (symbol != nullptr)
        *symbol = handleOf<AISymbolHandle>(id);
    return kNoErr;
}

const AISymbolSuite kSymbol = {NewSymbolFromArt};

}  // namespace

void registerDocumentSuites(SuiteRegistry& registry) {
    registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMath);
    registry.add(kAIArtSuite, kAIArtSuiteVersion, &kArt);
    registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kDocument);
    registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &kDocumentView);
    registry.add(kAIUndoSuite, kAIUndoSuiteVersion, &kUndo);
    registry.add(kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion, &kShapes);
    registry.add(kAIPathSuite, kAIPathSuiteVersion, &kPath);
    registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyle);
    registry.add(kAIRandomSuite, kAIRandomSuiteVersion, &kRandom);
    registry.add(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, &kBlendStyle);
    registry.add(kAIPatternSuite, kAIPatternSuiteVersion, &kPattern);
    registry.add(kAIDictionarySuite, kAIDictionarySuiteVersion, &kDictionary);
    registry.add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, &kArtStyle);
    registry.add(kAIArtStyleParserSuite, kAIArtStyleParserSuiteVersion, &kParser);
    registry.add(kAISymbolSuite, kAISymbolSuiteVersion, &kSymbol);
}

}  // namespace simhost
