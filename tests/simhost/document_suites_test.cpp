#include <cmath>
#include <set>
#include <string>

#include "document/document.hpp"
#include "document_fixture.hpp"
#include "report/document_json.hpp"

namespace document_tests {
namespace {

using simhost::Document;
using simhost::idOf;

std::vector<AIRealPoint> anchors(Document& doc, AIArtHandle handle) {
    std::vector<AIRealPoint> points;
    for (const auto& s : doc.art(idOf(handle))->segments)
        points.push_back(s.p);
    return points;
}

TEST_F(DocumentTest, RectangleAndOvalSpanTheirEdges) {
    AIArtHandle rect = nullptr, oval = nullptr;
    ASSERT_EQ(shapes->NewRect(0, 0, 500, 500, kASFalse, &rect), kNoErr);
    ASSERT_EQ(shapes->NewInscribedOval(0, 0, 500, 500, kASFalse, &oval), kNoErr);
    for (AIArtHandle h : {rect, oval}) {
        auto b = doc().bounds(idOf(h));
        ASSERT_TRUE(b);
        EXPECT_FLOAT_EQ(b->left, 0);
        EXPECT_FLOAT_EQ(b->right, 500);
        EXPECT_FLOAT_EQ(b->bottom, 0);
        EXPECT_FLOAT_EQ(b->top, 500);
        EXPECT_TRUE(doc().art(idOf(h))->closed);
    }
    // Every bezier point of the oval lies on the ellipse (within the quarter-circle approximation).
    for (const auto& s : doc().art(idOf(oval))->segments)
        EXPECT_NEAR(std::hypot(s.p.h - 250, s.p.v - 250), 250, 1e-3);
}

TEST_F(DocumentTest, PolygonsAndStarsStartStraightUp) {
    AIArtHandle hexagon = nullptr, star = nullptr;
    ASSERT_EQ(shapes->NewRegularPolygon(6, 10, 20, 100, kASFalse, &hexagon), kNoErr);
    ASSERT_EQ(shapes->NewStar(5, 0, 0, 100, 40, kASFalse, &star), kNoErr);
    auto h = anchors(doc(), hexagon);
    ASSERT_EQ(h.size(), 6u);
    EXPECT_NEAR(h[0].h, 10, 1e-4);
    EXPECT_NEAR(h[0].v, 120, 1e-4);
    for (auto p : h)
        EXPECT_NEAR(std::hypot(p.h - 10, p.v - 20), 100, 1e-3);
    auto s = anchors(doc(), star);
    ASSERT_EQ(s.size(), 10u);
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_NEAR(std::hypot(s[i].h, s[i].v), i % 2 == 0 ? 100 : 40, 1e-3) << i;
    EXPECT_NEAR(s[0].v, 100, 1e-4);
}

TEST_F(DocumentTest, ShapesRefuseWhatCannotBeDrawn) {
    AIArtHandle shape = nullptr;
    EXPECT_EQ(shapes->NewRegularPolygon(2, 0, 0, 10, kASFalse, &shape), kBadParameterErr);
    EXPECT_EQ(shapes->NewRect(NAN, 0, 1, 1, kASFalse, &shape), kBadParameterErr);
    EXPECT_TRUE(doc().topLevelArt().empty());
}

TEST_F(DocumentTest, NewArtTakesTheCurrentPathStyle) {
    AIPathStyle current{}, got{};
    ASSERT_EQ(pathStyles->GetCurrentPathStyle(&current, nullptr), kNoErr);
    EXPECT_EQ(current.fill.color.kind, kPattern);
    EXPECT_TRUE(current.strokePaint);
    AIArtHandle shape = nullptr;
    ASSERT_EQ(shapes->NewStar(3, 0, 0, 10, 5, kASFalse, &shape), kNoErr);
    ASSERT_EQ(pathStyles->GetPathStyle(shape, &got), kNoErr);
    EXPECT_EQ(got.fill.color.c.p.pattern, current.fill.color.c.p.pattern);
    EXPECT_FLOAT_EQ(got.stroke.width, current.stroke.width);
}

TEST_F(DocumentTest, ViewPointsMapToArtworkWithTheVerticalAxisFlipped) {
    AIDocumentViewHandle view = nullptr;
    ASSERT_EQ(views->GetNthDocumentView(0, &view), kNoErr);
    ASSERT_EQ(views->SetDocumentViewZoom(view, 2.0f), kNoErr);
    struct Case {
        AIPoint in;
        AIRealPoint out;
    };
    // The default view: 800 × 600 pixels about (250, 250).
    for (const Case& c : {Case{{400, 300}, {250, 250}}, Case{{0, 0}, {50, 400}}, Case{{800, 600}, {450, 100}}}) {
        AIRealPoint p{};
        ASSERT_EQ(views->ViewPointToArtworkPoint(view, &c.in, &p), kNoErr);
        EXPECT_FLOAT_EQ(p.h, c.out.h);
        EXPECT_FLOAT_EQ(p.v, c.out.v);
    }
    AIRealPoint center{};
    ASSERT_EQ(views->GetDocumentViewCenter(view, &center), kNoErr);
    EXPECT_FLOAT_EQ(center.h, 250);

    doc().removeViews();
    AIDocumentViewHandle none = nullptr;
    EXPECT_NE(views->GetNthDocumentView(0, &none), kNoErr);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(views->SetDocumentViewZoom(view, 1.0f), kBadParameterErr);
    EXPECT_EQ(host->ledger().violations().size(), 1u);
}

TEST_F(DocumentTest, NamedStylesGetUniqueNames) {
    Built first = buildResult({layer(nthPattern(0))});
    Built second = buildResult({layer(nthPattern(1))});
    auto named = doc().namedStyles();
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0]->name, " Tesselwright Style");
    EXPECT_EQ(named[1]->name, " Tesselwright Style 2");

    AIArtStyleHandle exact = nullptr;
    EXPECT_EQ(styles->AddNamedStyle(first.style, " Tesselwright Style", kASFalse, &exact), kBadParameterErr);
    EXPECT_EQ(doc().namedStyles().size(), 2u);

    // Withdrawn, the name is free again and the art keeps its look.
    AIArtStyleHandle unnamed = nullptr;
    ASSERT_EQ(styles->WithdrawNamedStyle(first.named, &unnamed), kNoErr);
    EXPECT_EQ(doc().namedStyles().size(), 1u);
    EXPECT_EQ(doc().effectiveFields(*doc().art(idOf(first.shape))).size(), 2u);
    EXPECT_EQ(styles->AddNamedStyle(first.style, " Tesselwright Style", kASFalse, &exact), kNoErr);
    EXPECT_EQ(styles->WithdrawNamedStyle(first.style, &unnamed), kBadParameterErr);  // never listed
    (void)second;
}

TEST_F(DocumentTest, ParserBuildsTheStyleInOrderAndTheLedgerBalances) {
    float opacity = 0.25f;
    AIStyleParser parser = nullptr;
    ASSERT_EQ(parsers->NewParser(&parser), kNoErr);
    ASSERT_EQ(parsers->PrepareParser(parser), kNoErr);
    AIColor red = Document::rgb(1, 0, 0);
    appendFill(parser, red, kAIScreenBlendMode, &opacity);
    AIParserPaintField loose = nullptr;
    ASSERT_EQ(parsers->NewFillPaintField(&red, kASTrue, kAIArtStyleNoPaintData, &loose), kNoErr);
    EXPECT_EQ(host->ledger().outstanding("paint field"), 1u);
    ASSERT_EQ(parsers->InsertNthPaintField(parser, 0, loose), kNoErr);
    EXPECT_EQ(host->ledger().outstanding("paint field"), 0u);

    AIArtStyleHandle style = nullptr;
    ASSERT_EQ(parsers->CreateArtStyle(parser, &style), kNoErr);
    const auto& fields = doc().style(idOf(style))->fields;
    ASSERT_EQ(fields.size(), 4u);  // loose field, the two host defaults, the blended fill
    EXPECT_TRUE(fields[0].overprint);
    EXPECT_EQ(fields[2].kind, simhost::PaintField::Kind::Stroke);
    EXPECT_EQ(fields[3].mode, kAIScreenBlendMode);
    EXPECT_EQ(fields[3].opacity, 0.25f);
    EXPECT_EQ(doc().liveDictionaries(), 1u);  // the field's own reference

    ASSERT_EQ(parsers->DisposeParser(parser), kNoErr);
    EXPECT_EQ(doc().liveDictionaries(), 0u);
    EXPECT_EQ(doc().liveParserFields(), 0u);
    EXPECT_TRUE(host->ledger().outstanding().count("parser") == 0);
    EXPECT_TRUE(host->ledger().outstanding().count("dictionary") == 0);
    EXPECT_TRUE(host->ledger().violations().empty());

    // A handle the parser freed, and a parser already disposed, are refused.
    EXPECT_EQ(parsers->PrepareParser(parser), kBadParameterErr);
    EXPECT_EQ(parsers->InsertNthPaintField(parser, -1, loose), kBadParameterErr);
    EXPECT_EQ(host->ledger().violations().size(), 2u);
}

TEST_F(DocumentTest, DictionaryReferencesAreCounted) {
    AIDictionaryRef d = nullptr;
    ASSERT_EQ(dictionaries->CreateDictionary(&d), kNoErr);
    EXPECT_EQ(dictionaries->Key("Mode"), dictionaries->Key("Mode"));
    EXPECT_NE(dictionaries->Key("Mode"), dictionaries->Key("Opacity"));
    EXPECT_EQ(host->ledger().outstanding("dictionary"), 1u);
    EXPECT_EQ(dictionaries->ReleaseDictionary(d), 0);
    EXPECT_EQ(host->ledger().outstanding("dictionary"), 0u);
    EXPECT_EQ(dictionaries->SetIntegerEntry(d, dictionaries->Key("Mode"), 1), kBadParameterErr);
    dictionaries->ReleaseDictionary(d);
    EXPECT_EQ(host->ledger().violations().size(), 2u);
}

TEST_F(DocumentTest, UndoRestoresEverythingExactly) {
    doc().beginMessage();
    auto before = simhost::documentToJson(doc());
    auto swatchesBefore = simhost::swatchColours(doc());

    Built built = buildResult({layer(nthPattern(0), 150, 30), layer(nthPattern(2))});
    AISymbolHandle symbol = nullptr;
    ASSERT_EQ(symbols->NewSymbolFromArt(&symbol, built.shape, kASFalse), kNoErr);
    AIArtHandle definition = nullptr, child = nullptr;
    ASSERT_EQ(patterns->GetPatternArt(nthPattern(0), &definition), kNoErr);
    ASSERT_EQ(art->GetArtFirstChild(definition, &child), kNoErr);
    AIPathStyle recoloured = Document::fillStyle(Document::rgb(0.1f, 0.9f, 0.2f));
    ASSERT_EQ(pathStyles->SetPathStyle(child, &recoloured), kNoErr);
    ASSERT_NE(simhost::documentToJson(doc()), before);
    ASSERT_NE(simhost::swatchColours(doc()), swatchesBefore);

    ASSERT_EQ(undo->UndoChanges(), kNoErr);
    EXPECT_EQ(simhost::documentToJson(doc()), before);
    EXPECT_EQ(simhost::swatchColours(doc()), swatchesBefore);

    // Handles of what vanished are stale now: errors and violations, not crashes.
    AIPathStyle style{};
    AIArtHandle sibling = nullptr;
    AIArtStyleHandle unnamed = nullptr;
    EXPECT_EQ(pathStyles->GetPathStyle(built.shape, &style), kBadParameterErr);
    EXPECT_EQ(styles->SetArtStyle(child, built.style), kBadParameterErr);
    EXPECT_EQ(styles->WithdrawNamedStyle(built.named, &unnamed), kBadParameterErr);
    EXPECT_EQ(art->GetArtSibling(built.shape, &sibling), kBadParameterErr);
    EXPECT_EQ(symbols->NewSymbolFromArt(&symbol, built.shape, kASFalse), kBadParameterErr);
    EXPECT_EQ(host->ledger().violations().size(), 5u);
    // What survived is still usable.
    EXPECT_EQ(pathStyles->GetPathStyle(child, &style), kNoErr);
}

TEST_F(DocumentTest, OperationsHonourFaultInjection) {
    host->faults().failCall("AIUndoSuite.UndoChanges", 1, kOutOfMemoryErr);
    AIArtHandle shape = nullptr;
    ASSERT_EQ(shapes->NewRect(0, 0, 10, 10, kASFalse, &shape), kNoErr);
    EXPECT_EQ(undo->UndoChanges(), kOutOfMemoryErr);
    EXPECT_EQ(doc().topLevelArt().size(), 1u);
    EXPECT_EQ(undo->UndoChanges(), kNoErr);
    EXPECT_TRUE(doc().topLevelArt().empty());
    EXPECT_EQ(host->journal().count("AIUndoSuite.UndoChanges"), 2u);
    ASSERT_EQ(document->RedrawDocument(), kNoErr);
    EXPECT_EQ(doc().redrawCount(), 1);
}

TEST_F(DocumentTest, ScriptedRandomNumbersThatRunOutFailTheRunOnce) {
    host->random().script({0.25f});
    EXPECT_EQ(random->FloatRnd(), 0.25f);
    EXPECT_EQ(random->FloatRnd(), 0.0f);
    EXPECT_EQ(random->FloatRnd(), 0.0f);
    ASSERT_EQ(host->failures().size(), 1u);
    EXPECT_EQ(host->failures()[0], "the scripted random numbers ran out after 1 value");
}

TEST_F(DocumentTest, RealMath) {
    AIRealMatrix m{2, 3, 4, 5, 6, 7};
    math->AIRealMatrixSetIdentity(&m);
    EXPECT_EQ(m.a, 1);
    EXPECT_EQ(m.b, 0);
    EXPECT_EQ(m.tx, 0);
    AIRealPoint p1{1, 1}, p2{0, 0};
    EXPECT_NEAR(math->RadianToDegree(math->AIRealPointAngle(&p1, &p2)), 45, 1e-4);
}

TEST_F(DocumentTest, TheSampleDocumentHasEveryKindOfSwatch) {
    const auto& swatches = doc().patterns();
    ASSERT_GE(swatches.size(), 6u);
    std::set<int> kinds;
    bool nested = false;
    for (const auto& p : swatches) {
        EXPECT_FALSE(p.name.empty());
        EXPECT_GT(p.tile.width(), 0);
        for (auto id : doc().art(p.art)->children) {
            const auto* child = doc().art(id);
            kinds.insert(child->pathStyle.fill.color.kind);
            nested = nested || child->kind == simhost::ArtKind::Group;
        }
    }
    for (int kind : {kGrayColor, kThreeColor, kFourColor, kCustomColor})
        EXPECT_TRUE(kinds.count(kind)) << kind;
    EXPECT_TRUE(nested);
}

TEST_F(DocumentTest, TheArtWalkVisitsDirectChildrenOnly) {
    // The weave swatch ends with a group of four paths.
    AIArtHandle definition = nullptr, child = nullptr;
    ASSERT_EQ(patterns->GetPatternArt(nthPattern(5), &definition), kNoErr);
    ASSERT_EQ(art->GetArtFirstChild(definition, &child), kNoErr);
    int visited = 0;
    AIArtHandle last = nullptr;
    while (child != nullptr) {
        ++visited;
        last = child;
        ASSERT_EQ(art->GetArtSibling(child, &child), kNoErr);
    }
    EXPECT_EQ(visited, 4);
    EXPECT_EQ(doc().art(idOf(last))->kind, simhost::ArtKind::Group);
    AIArtHandle inner = nullptr;
    ASSERT_EQ(art->GetArtFirstChild(last, &inner), kNoErr);
    EXPECT_NE(inner, nullptr);
}

TEST_F(DocumentTest, BuilderMakesSmallDocuments) {
    doc().clearPatterns();
    int32_t count = -1;
    ASSERT_EQ(patterns->CountPatterns(&count), kNoErr);
    EXPECT_EQ(count, 0);
    doc().addPattern("Two", {Document::gray(0.5f), Document::cmyk(0.2f, 0.3f, 0.4f, 0.5f)});
    ASSERT_EQ(patterns->CountPatterns(&count), kNoErr);
    EXPECT_EQ(count, 1);
    auto colours = simhost::swatchColours(doc());
    EXPECT_EQ(colours[0]["name"], "Two");
    EXPECT_EQ(colours[0]["children"][1]["fill"]["kind"], "cmyk");
    EXPECT_FLOAT_EQ(colours[0]["children"][1]["fill"]["magenta"].get<float>(), 0.3f);
    AIPatternHandle none = nullptr;
    EXPECT_EQ(patterns->GetNthPattern(1, &none), kBadParameterErr);
}

}  // namespace
}  // namespace document_tests
