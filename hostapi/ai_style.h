/* Art styles: dictionaries for blend settings, named styles, and the parser that assembles a style from a
 * stack of paint fields. */
#ifndef HOSTAPI_AI_STYLE_H
#define HOSTAPI_AI_STYLE_H

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIDictionarySuite "AI Dictionary Suite"
#define kAIDictionarySuiteVersion 5

/* Keys of a paint field's blend dictionary. */
#define kAIBlendModeKey "Mode"       /* integer: the blending mode, 0 to 15 (kAINormalBlendMode ...) */
#define kAIBlendOpacityKey "Opacity" /* real: a fraction of full opacity, 0 to 1 */

typedef struct AIDictionarySuite {
    /* A new empty dictionary holding one reference for the caller. */
    AIErr(HOSTAPI* CreateDictionary)(AIDictionaryRef* dictionary);
    /* The key for a text; the same text always gives the same key. Never fails. */
    AIDictKey(HOSTAPI* Key)(const char* keyString);
    /* Sets (or replaces) an integer entry. */
    AIErr(HOSTAPI* SetIntegerEntry)(AIDictionaryRef dictionary, AIDictKey key, int32_t value);
    /* Sets (or replaces) a real entry. */
    AIErr(HOSTAPI* SetRealEntry)(AIDictionaryRef dictionary, AIDictKey key, AIReal value);
    /* Drops one reference; the dictionary goes when no holder is left. Returns the references left. */
    int32_t(HOSTAPI* ReleaseDictionary)(AIDictionaryRef dictionary);
} AIDictionarySuite;

/* The host's blending modes, in its own numbering. */
typedef enum AIBlendingMode {
    kAINormalBlendMode = 0,
    kAIMultiplyBlendMode,
    kAIScreenBlendMode,
    kAIOverlayBlendMode,
    kAISoftLightBlendMode,
    kAIHardLightBlendMode,
    kAIColorDodgeBlendMode,
    kAIColorBurnBlendMode,
    kAIDarkenBlendMode,
    kAILightenBlendMode,
    kAIDifferenceBlendMode,
    kAIExclusionBlendMode,
    kAIHueBlendMode,
    kAISaturationBlendMode,
    kAIColorBlendMode,
    kAILuminosityBlendMode
} AIBlendingMode;

#define kAIBlendStyleSuite "AI Blend Style Suite"
#define kAIBlendStyleSuiteVersion 2

/* Acquired with the others; the plug-in calls none of its operations. */
typedef struct AIBlendStyleSuite {
    void* reserved;
} AIBlendStyleSuite;

#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 3

typedef struct AIArtStyleSuite {
    /* Enters `style` into the document's list of named styles as `name`. With `uniquify` the host makes the
     * name unique when it is taken; without it a taken name is an error. *named = the listed style. */
    AIErr(HOSTAPI* AddNamedStyle)(AIArtStyleHandle style, const char* name, AIBoolean uniquify,
                                  AIArtStyleHandle* named);
    /* `art` shows `style` from now on. */
    AIErr(HOSTAPI* SetArtStyle)(AIArtHandle art, AIArtStyleHandle style);
    /* Takes a named style out of the list of named styles; art that uses it keeps its look.
     * *unnamed = the same appearance as an unlisted style (may be null). */
    AIErr(HOSTAPI* WithdrawNamedStyle)(AIArtStyleHandle named, AIArtStyleHandle* unnamed);
} AIArtStyleSuite;

#define kAIArtStyleParserSuite "AI Art Style Parser Suite"
#define kAIArtStyleParserSuiteVersion 3

/* Extra data of a new paint field; pass kAIArtStyleNoPaintData for none. */
typedef struct AIArtStylePaintData {
    void* reserved;
} AIArtStylePaintData;
#define kAIArtStyleNoPaintData ((const AIArtStylePaintData*)0)

typedef struct AIArtStyleParserSuite {
    /* A new, empty parser owned by the caller until DisposeParser. */
    AIErr(HOSTAPI* NewParser)(AIStyleParser* parser);
    /* Frees the parser and every paint field it still holds. */
    AIErr(HOSTAPI* DisposeParser)(AIStyleParser parser);
    /* Readies a fresh parser for building: afterwards it holds exactly two paint fields of the host's own
     * (the default fill and stroke), ahead of every field appended later. */
    AIErr(HOSTAPI* PrepareParser)(AIStyleParser parser);
    /* A new stroke paint field, not yet in any parser. */
    AIErr(HOSTAPI* NewStrokePaintField)(const AIStrokeStyle* stroke, const AIArtStylePaintData* paintData,
                                        AIParserPaintField* paintField);
    /* A new fill paint field of `color`, not yet in any parser. */
    AIErr(HOSTAPI* NewFillPaintField)(const AIColor* color, AIBoolean overprint,
                                      const AIArtStylePaintData* paintData, AIParserPaintField* paintField);
    /* The field's blend takes the dictionary's "Mode" and "Opacity" entries; the field keeps its own
     * reference to the dictionary. */
    AIErr(HOSTAPI* SetPaintFieldBlendDictionary)(AIParserPaintField paintField, AIDictionaryRef dictionary);
    /* Puts a field into the parser at position n; -1 puts it after every field the parser holds. */
    AIErr(HOSTAPI* InsertNthPaintField)(AIStyleParser parser, int32_t n, AIParserPaintField paintField);
    /* *paintField = the field at position n (0 is the first). */
    AIErr(HOSTAPI* GetNthPaintField)(AIStyleParser parser, int32_t n, AIParserPaintField* paintField);
    /* Takes the field out of the parser; with `deleteIt` the field is freed as well. */
    AIErr(HOSTAPI* RemovePaintField)(AIStyleParser parser, AIParserPaintField paintField, AIBoolean deleteIt);
    /* *style = a new unlisted art style made of the parser's fields, in parser order. */
    AIErr(HOSTAPI* CreateArtStyle)(AIStyleParser parser, AIArtStyleHandle* style);
} AIArtStyleParserSuite;

#ifdef __cplusplus
}
#endif

#endif
