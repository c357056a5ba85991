#include "style/style_builder.h"

#include <cstring>

#include "shell/suite_table.h"
#include "style/color_modification.h"
#include "style/fill_layer_values.h"
#include "style/pattern_recolouring.h"

/* The most repeat layers one build stacks. The dialog offers 1 to 40, the presets use at most 4 and Tumble
 * at most 7, but a record can come from anywhere (an old document, another plug-in, a damaged file), and
 * every repeat is a paint field that the host stores and draws on each redraw. A count of two billion would
 * keep the host busy for hours inside the modal dialog and exhaust its memory; a thousand layers is far
 * beyond any visible difference and still builds in a fraction of a second. */
enum { kMaxRepeatLayers = 1000 };

static const char kEmptyStyleName[] = " Empty style";
static const char kResultStyleName[] = " Tesselwright Style";

enum { kAppendPaintField = -1 };

/* Everything one run works on; it lives on the stack of BuildStyle and nothing of it survives the run. */
struct BuildState {
    FilterParameters* parameters;
    RandomSource random;
    AIRealMatrix identity;
    LayerValueSet front;
    LayerValueSet behind;
    int32_t frontIndex;
    int32_t behindIndex;
    int32_t patternCount;
    AIPatternHandle frontPattern;
    AIPatternHandle behindPattern;
    AIPathStyle scratch;
    AIPathStyle frontCopy;
    AIPathStyle readBack;
    AIArtHandle shape;
    AIStyleParser parser;
};

static AIReal DrawFloatRnd(void* context) {
    (void)context;
    return sAIRandom->FloatRnd();
}

/* A suite that could not be acquired leaves its pointer null; a build without one cannot start. */
static bool BuilderSuitesHeld() {
    return sAIUndo != nullptr && sAIRealMath != nullptr && sAIPattern != nullptr && sAIPathStyle != nullptr &&
           sAIShapeConstruction != nullptr && sAIArtStyleParser != nullptr && sAIArtStyle != nullptr &&
           sAIDictionary != nullptr && sAIRandom != nullptr && sAIArt != nullptr && sAISymbol != nullptr &&
           sAIDocument != nullptr;
}

/* A "Go" after a drawn preview keeps that preview as the result. */
static bool TakeDrawnPreview(FilterParameters* parameters) {
    if (parameters->finalRun == 0 || parameters->previewDrawn == 0)
        return false;
    parameters->previewDrawn = 0;
    return true;
}

static void LoadIndices(BuildState* state) {
    state->frontIndex = state->parameters->frontPatternIndex;
    state->behindIndex = state->parameters->behindPatternIndex;
    // The stored front index, before any draw: a random front pattern does not carry over to the behind one.
    if (state->parameters->linkPatterns != 0)
        state->behindIndex = state->parameters->frontPatternIndex;
}

static int32_t RandomIndex(AIReal r, int32_t count) {
    double position = static_cast<double>(r) * static_cast<double>(count);
    // A draw outside [0, 1) from a faulty source lands on the first pattern instead of an undefined conversion.
    if (!(position >= 0.0 && position < static_cast<double>(count)))
        return 0;
    return static_cast<int32_t>(position);
}

/* Out-of-range indices, negative ones included, fall back to the first pattern. */
static int32_t GuardIndex(int32_t index, int32_t count) {
    return index >= 0 && index < count ? index : 0;
}

static void DrawIndices(BuildState* state) {
    if (state->parameters->randomFrontPattern != 0)
        state->frontIndex = RandomIndex(DrawRandom(&state->random), state->patternCount);
    if (state->parameters->randomBehindPattern != 0)
        state->behindIndex = RandomIndex(DrawRandom(&state->random), state->patternCount);
    state->frontIndex = GuardIndex(state->frontIndex, state->patternCount);
    state->behindIndex = GuardIndex(state->behindIndex, state->patternCount);
}

/* *found is false when "Use swatch" is set but the current fill is no pattern: nothing to build then. */
static AIErr ChoosePatterns(BuildState* state, bool* found) {
    *found = true;
    if (state->parameters->useSwatch != 0) {
        if (state->scratch.fill.color.kind != kPattern || state->scratch.fill.color.c.p.pattern == nullptr) {
            *found = false;
            return kNoErr;
        }
        state->frontPattern = state->scratch.fill.color.c.p.pattern;
        state->behindPattern = state->frontPattern;
        return kNoErr;
    }
    if (AIErr error = sAIPattern->GetNthPattern(state->frontIndex, &state->frontPattern))
        return error;
    return sAIPattern->GetNthPattern(state->behindIndex, &state->behindPattern);
}

/* The current stroke stays in the scratch style throughout; only its fill becomes a pattern. */
static void MakeScratchPatternFill(BuildState* state) {
    std::memset(&state->scratch.fill.color.c, 0, sizeof(state->scratch.fill.color.c));
    state->scratch.fill.color.kind = kPattern;
    state->scratch.fill.color.c.p.pattern = state->frontPattern;
    state->scratch.fillPaint = kASTrue;
    state->scratch.strokePaint = kASFalse;
}

/* The base shape of `baseShape`. *made is false for a value outside 0 to 10. The same four numbers go to
 * every constructor in the same order: edges for rectangle and oval, centre and radii for the others. */
static AIErr MakeBaseShape(const FilterParameters* p, AIArtHandle* shape, bool* made) {
    static const int32_t kStarPoints[] = {3, 4, 5, 6, 7, 8, 12};
    const AIShapeConstructionSuite* shapes = sAIShapeConstruction;
    *made = true;
    switch (p->baseShape) {
        case 0:
            return shapes->NewRect(p->shapeX, p->shapeY, p->shapeWidth, p->shapeHeight, kASFalse, shape);
        case 1:
            return shapes->NewInscribedOval(p->shapeX, p->shapeY, p->shapeWidth, p->shapeHeight, kASFalse, shape);
        case 2:
            return shapes->NewRegularPolygon(3, p->shapeX, p->shapeY, p->shapeWidth, kASFalse, shape);
        case 3:
            return shapes->NewRegularPolygon(6, p->shapeX, p->shapeY, p->shapeWidth, kASFalse, shape);
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
            return shapes->NewStar(kStarPoints[p->baseShape - 4], p->shapeX, p->shapeY, p->shapeWidth,
                                   p->shapeHeight, kASFalse, shape);
        default:
            *made = false;
            return kNoErr;
    }
}

/* A failed creation is ignored like the host's other answers here, but its handle is never passed on. */
static AIStyleParser NewPreparedParser() {
    AIStyleParser parser = nullptr;
    if (sAIArtStyleParser->NewParser(&parser) != kNoErr || parser == nullptr)
        return nullptr;
    (void)sAIArtStyleParser->PrepareParser(parser);
    return parser;
}

/* Creates the style of the parser's fields and disposes of the parser; null when no style came of it. */
static AIArtStyleHandle CreateStyleAndDispose(AIStyleParser parser) {
    if (parser == nullptr)
        return nullptr;
    AIArtStyleHandle style = nullptr;
    if (sAIArtStyleParser->CreateArtStyle(parser, &style) != kNoErr)
        style = nullptr;
    (void)sAIArtStyleParser->DisposeParser(parser);
    return style;
}

/* Lists the style under `name` (made unique by the host) and gives it to the shape. Returns the listed
 * style, or null when the host did not list it (the shape then shows the unlisted style). */
static AIArtStyleHandle NameAndApplyStyle(AIArtHandle shape, AIArtStyleHandle style, const char* name) {
    if (style == nullptr)
        return nullptr;
    AIArtStyleHandle named = nullptr;
    if (sAIArtStyle->AddNamedStyle(style, name, kASTrue, &named) != kNoErr)
        named = nullptr;
    (void)sAIArtStyle->SetArtStyle(shape, named != nullptr ? named : style);
    return named;
}

static AIErr WithdrawStyle(AIArtStyleHandle named) {
    if (named == nullptr)
        return kNoErr;
    AIArtStyleHandle unnamed = nullptr;
    return sAIArtStyle->WithdrawNamedStyle(named, &unnamed);
}

/* Clears whatever art style the shape was made with, through a plain style that does not stay listed. */
static AIErr ApplyPlainStyle(AIArtHandle shape) {
    AIArtStyleHandle plain = CreateStyleAndDispose(NewPreparedParser());
    return WithdrawStyle(NameAndApplyStyle(shape, plain, kEmptyStyleName));
}

static AIErr RecolourChosenPatterns(BuildState* state) {
    int32_t mode = state->parameters->colorModification;
    if (ModeRecoloursFront(mode)) {
        if (AIErr error = RecolourPattern(state->frontPattern, mode, &state->random))
            return error;
    }
    if (ModeRecoloursBehind(mode))
        return RecolourPattern(state->behindPattern, mode, &state->random);
    return kNoErr;
}

static void ApplyFrontLayer(BuildState* state) {
    LayerSwitches switches = FrontLayerSwitches(state->parameters);
    ComputeLayerValues(&state->front, &switches, kFrontLayer, state->frontPattern, state->behindPattern,
                       &state->identity, &state->random, &state->scratch.fill.color.c.p);
    (void)sAIPathStyle->SetPathStyle(state->shape, &state->scratch);
    state->frontCopy = state->scratch;
}

static void AppendField(AIStyleParser parser, AIParserPaintField field) {
    if (parser != nullptr && field != nullptr)
        (void)sAIArtStyleParser->InsertNthPaintField(parser, kAppendPaintField, field);
}

static void AppendStrokeField(AIStyleParser parser, const AIStrokeStyle* stroke) {
    if (parser == nullptr)
        return;
    AIParserPaintField field = nullptr;
    if (sAIArtStyleParser->NewStrokePaintField(stroke, kAIArtStyleNoPaintData, &field) != kNoErr)
        field = nullptr;
    AppendField(parser, field);
}

/* The blend mode and opacity are drawn whether or not the host gave a dictionary, so a host failure does not
 * shift the draws of the layers after it. The field keeps its own reference; ours is always dropped. */
static void SetBlend(AIParserPaintField field, int32_t storedMode, int32_t opacitySwitch, RandomSource* random) {
    AIDictionaryRef dictionary = nullptr;
    if (sAIDictionary->CreateDictionary(&dictionary) != kNoErr)
        dictionary = nullptr;
    int32_t mode = LayerBlendMode(storedMode, random);
    if (dictionary != nullptr)
        (void)sAIDictionary->SetIntegerEntry(dictionary, sAIDictionary->Key(kAIBlendModeKey), mode);
    AIReal opacity = 0.0f;
    if (LayerOpacity(opacitySwitch, random, &opacity) && dictionary != nullptr)
        (void)sAIDictionary->SetRealEntry(dictionary, sAIDictionary->Key(kAIBlendOpacityKey), opacity);
    if (dictionary == nullptr)
        return;
    if (field != nullptr)
        (void)sAIArtStyleParser->SetPaintFieldBlendDictionary(field, dictionary);
    (void)sAIDictionary->ReleaseDictionary(dictionary);
}

/* A fill field of `color` with its blend, appended after every field the parser holds. Without a parser no
 * field is made (it could never be freed), but the blend still draws its numbers. */
static void AppendFillField(AIStyleParser parser, const AIColor* color, AIBoolean overprint, int32_t storedMode,
                            int32_t opacitySwitch, RandomSource* random) {
    AIParserPaintField field = nullptr;
    if (parser != nullptr &&
        sAIArtStyleParser->NewFillPaintField(color, overprint, kAIArtStyleNoPaintData, &field) != kNoErr)
        field = nullptr;
    SetBlend(field, storedMode, opacitySwitch, random);
    AppendField(parser, field);
}

static void AppendRandomColorFill(BuildState* state) {
    if (state->parameters->fillBlendMode == kNoRandomColorFill)
        return;
    AIColor color = RandomColor(&state->random);
    AppendFillField(state->parser, &color, kASTrue, state->parameters->fillBlendMode, 0, &state->random);
}

static void AppendFrontFill(BuildState* state) {
    AppendFillField(state->parser, &state->frontCopy.fill.color, kASFalse, state->parameters->patternBlendMode,
                    state->parameters->randomFrontOpacity, &state->random);
}

static int32_t RepeatLayerCount(int32_t repeatCount) {
    if (repeatCount <= 0)
        return 0;
    return repeatCount < kMaxRepeatLayers ? repeatCount : kMaxRepeatLayers;
}

/* Each repeat goes through the shape so that the fill is the one the host stores; a read-back the host
 * refuses falls back to the style the shape was just given. */
static void AppendRepeatLayer(BuildState* state, int32_t repeatIndex, const LayerSwitches* switches) {
    LinkRepeat(state->parameters->transformLinking, repeatIndex, &state->front, &state->behind);
    ComputeLayerValues(&state->behind, switches, kRepeatLayer, state->frontPattern, state->behindPattern,
                       &state->identity, &state->random, &state->scratch.fill.color.c.p);
    (void)sAIPathStyle->SetPathStyle(state->shape, &state->scratch);
    if (sAIPathStyle->GetPathStyle(state->shape, &state->readBack) != kNoErr)
        state->readBack = state->scratch;
    AppendFillField(state->parser, &state->readBack.fill.color, kASFalse, state->parameters->patternBlendMode,
                    state->parameters->randomBehindOpacity, &state->random);
}

static void AppendRepeatLayers(BuildState* state) {
    LayerSwitches switches = RepeatLayerSwitches(state->parameters);
    int32_t count = RepeatLayerCount(state->parameters->repeatCount);
    for (int32_t i = 0; i < count; ++i)
        AppendRepeatLayer(state, i, &switches);
}

/* The two fields a prepared parser starts with are the host's defaults, not part of the design. */
static void DropPreparedFields(AIStyleParser parser) {
    if (parser == nullptr)
        return;
    for (int32_t i = 0; i < 2; ++i) {
        AIParserPaintField field = nullptr;
        if (sAIArtStyleParser->GetNthPaintField(parser, 0, &field) == kNoErr && field != nullptr)
            (void)sAIArtStyleParser->RemovePaintField(parser, field, kASTrue);
    }
}

/* Steps from the parser to the named style; the parser is disposed of before this returns. */
static AIArtStyleHandle AssembleStyle(BuildState* state) {
    state->parser = NewPreparedParser();
    AppendStrokeField(state->parser, &state->frontCopy.stroke);
    AppendRandomColorFill(state);
    AppendFrontFill(state);
    AppendRepeatLayers(state);
    DropPreparedFields(state->parser);
    AIArtStyleHandle style = CreateStyleAndDispose(state->parser);
    state->parser = nullptr;
    return NameAndApplyStyle(state->shape, style, kResultStyleName);
}

/* The symbol is made last, from the shape as it finally looks. */
static AIErr FinishResult(const FilterParameters* parameters, AIArtHandle shape, AIArtStyleHandle named) {
    if (parameters->noPermanentStyle != 0) {
        if (AIErr error = WithdrawStyle(named))
            return error;
    }
    if (parameters->createSymbol != 0) {
        AISymbolHandle symbol = nullptr;
        if (AIErr error = sAISymbol->NewSymbolFromArt(&symbol, shape, kASFalse))
            return error;
    }
    return kNoErr;
}

/* While the modal dialog is open the document window does not update by itself. */
static AIErr EndRun(const FilterParameters* parameters) {
    if (parameters->finalRun == 0)
        (void)sAIDocument->RedrawDocument();
    return kNoErr;
}

/* Steps up to the shape: undo, patterns, current style. *proceed is false for an ending with nothing to do. */
static AIErr PrepareRun(BuildState* state, bool* proceed) {
    *proceed = false;
    if (AIErr error = sAIUndo->UndoChanges())
        return error;
    sAIRealMath->AIRealMatrixSetIdentity(&state->identity);
    LoadLayerValueSets(state->parameters, &state->front, &state->behind);
    LoadIndices(state);
    if (AIErr error = sAIPattern->CountPatterns(&state->patternCount))
        return error;
    if (state->patternCount <= 0)
        return kNoErr;
    DrawIndices(state);
    // Without the current style the stroke of the result would be undefined; better no result than a
    // wrong one.
    if (AIErr error = sAIPathStyle->GetCurrentPathStyle(&state->scratch, nullptr))
        return error;
    if (AIErr error = ChoosePatterns(state, proceed))
        return error;
    return kNoErr;
}

static void InitBuildState(FilterParameters* parameters, BuildState* state) {
    std::memset(state, 0, sizeof(*state));
    state->parameters = parameters;
    state->random.draw = DrawFloatRnd;
    state->random.context = nullptr;
}

AIErr BuildStyle(FilterParameters* parameters) {
    if (parameters == nullptr)
        return kBadParameterErr;
    if (TakeDrawnPreview(parameters))
        return kNoErr;
    if (!BuilderSuitesHeld())
        return kSPSuiteNotFoundError;
    BuildState state;
    InitBuildState(parameters, &state);
    bool proceed = false;
    if (AIErr error = PrepareRun(&state, &proceed))
        return error;
    if (!proceed)
        return EndRun(parameters);
    MakeScratchPatternFill(&state);
    bool made = false;
    if (AIErr error = MakeBaseShape(parameters, &state.shape, &made))
        return error;
    // An unknown shape kind builds nothing, like a document without patterns.
    if (!made || state.shape == nullptr)
        return EndRun(parameters);
    if (AIErr error = ApplyPlainStyle(state.shape))
        return error;
    if (AIErr error = RecolourChosenPatterns(&state))
        return error;
    ApplyFrontLayer(&state);
    AIArtStyleHandle named = AssembleStyle(&state);
    if (AIErr error = FinishResult(parameters, state.shape, named))
        return error;
    return EndRun(parameters);
}
