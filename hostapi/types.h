/* Basic types, result codes and value records shared by the host and its plug-ins.
 *
 * Everything here is plain C: fixed-size integers, IEEE single reals and structs with no behaviour, so that
 * a plug-in built by any C or C++ compiler for the host's platform agrees with the host on every layout. */
#ifndef HOSTAPI_TYPES_H
#define HOSTAPI_TYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Calling convention of every host operation and every procedure a plug-in hands to the host. */
#if defined(_WIN32) && !defined(_WIN64)
#define HOSTAPI __cdecl
#else
#define HOSTAPI
#endif

typedef int32_t ASErr;
typedef ASErr AIErr;
typedef uint8_t ASBoolean;
typedef ASBoolean AIBoolean;
typedef int32_t ASInt32;
typedef float AIReal;

#define kASTrue ((ASBoolean)1)
#define kASFalse ((ASBoolean)0)

/* Four-character codes: the first character lands in the most significant byte. */
#define HOSTAPI_FOURCC(a, b, c, d)                                                                             \
    ((ASErr)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) | ((uint32_t)(uint8_t)(c) << 8) | \
             (uint32_t)(uint8_t)(d)))

/* Result codes with a meaning of their own. */
#define kNoErr 0
#define kCanceledErr ((ASErr)0x53544F50)      /* 'STOP': the user cancelled; never reported to the user */
#define kSPSuiteNotFoundError ((ASErr)0x53214664) /* 'S!Fd': the requested suite (or version) is not provided */
#define kBadSelectorErr ((ASErr)0x2173656C)   /* '!sel': the request does not apply to this plug-in */
#define kOutOfMemoryErr ((ASErr)0x214D454D)   /* '!MEM': the host could not provide memory */
#define kBadParameterErr ((ASErr)0x5041523F)  /* 'PAR?': a handle or argument the host does not recognise */

/* Opaque references. The host decides what they point at; a plug-in only stores and passes them back. */
typedef struct SPPlugin* SPPluginRef;
typedef struct AIArtOpaque* AIArtHandle;
typedef struct AIPatternOpaque* AIPatternHandle;
typedef struct AICustomColorOpaque* AICustomColorHandle;
typedef struct AIGradientOpaque* AIGradientHandle;
typedef struct AIArtStyleOpaque* AIArtStyleHandle;
typedef struct AIStyleParserOpaque* AIStyleParser;
typedef struct AIParserPaintFieldOpaque* AIParserPaintField;
typedef struct AIDictionaryOpaque* AIDictionaryRef;
typedef struct AIDictKeyOpaque* AIDictKey;
typedef struct AIDocumentViewOpaque* AIDocumentViewHandle;
typedef struct AIMenuItemOpaque* AIMenuItemHandle;
typedef struct AIFilterOpaque* AIFilterHandle;
typedef AIPatternHandle AISymbolHandle; /* symbols are patterns of another kind */

/* A relocatable block of host memory: the handle stays put, the block it names is reached by one
 * dereference at each use. */
typedef void** AIMdMemoryHandle;

typedef struct AIPoint {
    int32_t h;
    int32_t v;
} AIPoint;

typedef struct AIRealPoint {
    AIReal h;
    AIReal v;
} AIRealPoint;

/* x' = a·x + c·y + tx, y' = b·x + d·y + ty */
typedef struct AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
} AIRealMatrix;

/* Colours. Channels are reals, normally 0 to 1. */
typedef enum AIColorTag {
    kGrayColor = 0,
    kFourColor = 1,
    kPattern = 2,
    kCustomColor = 3,
    kGradient = 4,
    kThreeColor = 5,
    kNoneColor = 6
} AIColorTag;

typedef struct AIGrayColorStyle {
    AIReal gray;
} AIGrayColorStyle;

typedef struct AIFourColorStyle {
    AIReal cyan, magenta, yellow, black;
} AIFourColorStyle;

typedef struct AIThreeColorStyle {
    AIReal red, green, blue;
} AIThreeColorStyle;

typedef struct AICustomColorStyle {
    AICustomColorHandle color;
    AIReal tint;
} AICustomColorStyle;

typedef struct AIGradientStyle {
    AIGradientHandle gradient;
    AIRealPoint gradientOrigin;
    AIReal gradientAngle;
    AIReal gradientLength;
} AIGradientStyle;

/* How a pattern swatch's tile is laid into a fill: angles in degrees, the shift distance in points, the
 * two scales in percent (100 is the tile's own size). */
typedef struct AIPatternStyle {
    AIPatternHandle pattern;
    AIReal shiftDist;
    AIReal shiftAngle;
    AIRealPoint scale;
    AIReal rotate;
    AIBoolean reflect;
    AIReal reflectAngle;
    AIReal shearAngle;
    AIReal shearAxis;
    AIRealMatrix transform;
} AIPatternStyle;

typedef union AIColorUnion {
    AIGrayColorStyle g;
    AIFourColorStyle f;
    AIPatternStyle p;
    AICustomColorStyle c;
    AIGradientStyle b;
    AIThreeColorStyle rgb;
} AIColorUnion;

typedef struct AIColor {
    AIColorTag kind;
    AIColorUnion c;
} AIColor;

typedef struct AIFillStyle {
    AIColor color;
    AIBoolean overprint;
} AIFillStyle;

#define kMaxDashComponents 6
typedef struct AIDashStyle {
    int32_t length;
    AIReal offset;
    AIReal array[kMaxDashComponents];
} AIDashStyle;

typedef enum AILineCap { kAIButtCap = 0, kAIRoundCap = 1, kAIProjectingCap = 2 } AILineCap;
typedef enum AILineJoin { kAIMiterJoin = 0, kAIRoundJoin = 1, kAIBevelJoin = 2 } AILineJoin;

typedef struct AIStrokeStyle {
    AIColor color;
    AIBoolean overprint;
    AIReal width;
    AIDashStyle dash;
    AILineCap cap;
    AILineJoin join;
    AIReal miterLimit;
} AIStrokeStyle;

typedef struct AIPathStyle {
    AIBoolean fillPaint;
    AIBoolean strokePaint;
    AIFillStyle fill;
    AIStrokeStyle stroke;
    AIBoolean clip;
    AIBoolean lockClip;
    AIBoolean evenodd;
    AIReal resolution;
} AIPathStyle;

/* Which members of an AIPathStyle are the same across a selection; reported alongside the current style. */
typedef struct AIPathStyleMap {
    AIBoolean fillPaint;
    AIBoolean strokePaint;
    AIBoolean fill;
    AIBoolean stroke;
    AIBoolean clip;
    AIBoolean evenodd;
} AIPathStyleMap;

#ifdef __cplusplus
}
#endif

#endif
