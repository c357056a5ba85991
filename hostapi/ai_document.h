/* The document: art, shapes, path styles, pattern swatches, symbols, views, redraw and undo. */
#ifndef HOSTAPI_AI_DOCUMENT_H
#define HOSTAPI_AI_DOCUMENT_H

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 9

typedef struct AIArtSuite {
    /* *child = the first child of a group (or of a swatch's definition art), or null when it has none. */
    AIErr(HOSTAPI* GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
    /* *sibling = the next art in the same parent, or null after the last one. */
    AIErr(HOSTAPI* GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
} AIArtSuite;

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 7

typedef struct AIDocumentSuite {
    /* Brings the document's windows up to date now, also while a modal dialog is open. */
    AIErr(HOSTAPI* RedrawDocument)(void);
} AIDocumentSuite;

#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 7

typedef struct AIDocumentViewSuite {
    /* *view = the n-th (0-based) view of the current document; an error when there is none. */
    AIErr(HOSTAPI* GetNthDocumentView)(int32_t n, AIDocumentViewHandle* view);
    /* Sets the view's zoom factor: 1.0 shows the artwork at 100 %. */
    AIErr(HOSTAPI* SetDocumentViewZoom)(AIDocumentViewHandle view, AIReal zoom);
    /* Converts a point of the view's window (pixels) to artwork coordinates (points). */
    AIErr(HOSTAPI* ViewPointToArtworkPoint)(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                            AIRealPoint* artworkPoint);
    /* *center = the artwork point shown at the middle of the view. */
    AIErr(HOSTAPI* GetDocumentViewCenter)(AIDocumentViewHandle view, AIRealPoint* center);
} AIDocumentViewSuite;

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 4

typedef struct AIUndoSuite {
    /* Takes back every change made to the document since the current outermost message began. */
    AIErr(HOSTAPI* UndoChanges)(void);
} AIUndoSuite;

#define kAIShapeConstructionSuite "AI Shape Construction Suite"
#define kAIShapeConstructionSuiteVersion 4

typedef struct AIShapeConstructionSuite {
    /* A new closed rectangular path with the given edges, painted with the current path style. */
    AIErr(HOSTAPI* NewRect)(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed,
                            AIArtHandle* newArt);
    /* A new closed path: the ellipse inscribed in the rectangle of the given edges. */
    AIErr(HOSTAPI* NewInscribedOval)(AIReal top, AIReal left, AIReal bottom, AIReal right, AIBoolean reversed,
                                     AIArtHandle* newArt);
    /* A new regular polygon of `numSides` sides whose corners lie on a circle of `radius` about the centre. */
    AIErr(HOSTAPI* NewRegularPolygon)(int32_t numSides, AIReal centerX, AIReal centerY, AIReal radius,
                                      AIBoolean reversed, AIArtHandle* newArt);
    /* A new star of `numPoints` points alternating between the two radii about the centre. */
    AIErr(HOSTAPI* NewStar)(int32_t numPoints, AIReal centerX, AIReal centerY, AIReal radius1, AIReal radius2,
                            AIBoolean reversed, AIArtHandle* newArt);
} AIShapeConstructionSuite;

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 4

/* Acquired with the others; the plug-in calls none of its operations. */
typedef struct AIPathSuite {
    void* reserved;
} AIPathSuite;

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5

typedef struct AIPathStyleSuite {
    /* The style new art gets: the document's current fill and stroke. `map` may be null. */
    AIErr(HOSTAPI* GetCurrentPathStyle)(AIPathStyle* style, AIPathStyleMap* map);
    /* The path style of `art`, as the host stores it. */
    AIErr(HOSTAPI* GetPathStyle)(AIArtHandle art, AIPathStyle* style);
    /* Gives `art` the path style; the art's art style becomes the plain style of that path style. */
    AIErr(HOSTAPI* SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

#define kAIPatternSuite "AI Pattern Suite"
#define kAIPatternSuiteVersion 7

typedef struct AIPatternSuite {
    /* *count = the number of pattern swatches in the current document. */
    AIErr(HOSTAPI* CountPatterns)(int32_t* count);
    /* *pattern = the n-th (0-based) pattern swatch; an error when n is out of range. */
    AIErr(HOSTAPI* GetNthPattern)(int32_t n, AIPatternHandle* pattern);
    /* *art = the swatch's definition art, a group whose children make the tile. */
    AIErr(HOSTAPI* GetPatternArt)(AIPatternHandle pattern, AIArtHandle* art);
    /* Makes `art` the swatch's definition again, so every use of the pattern shows its current state. */
    AIErr(HOSTAPI* SetPatternArt)(AIPatternHandle pattern, AIArtHandle art);
} AIPatternSuite;

#define kAISymbolSuite "AI Symbol Suite"
#define kAISymbolSuiteVersion 1

typedef struct AISymbolSuite {
    /* A new symbol whose definition is a copy of `art`; with `deleteArt` false the art stays in place. */
    AIErr(HOSTAPI* NewSymbolFromArt)(AISymbolHandle* symbol, AIArtHandle art, AIBoolean deleteArt);
} AISymbolSuite;

#ifdef __cplusplus
}
#endif

#endif
