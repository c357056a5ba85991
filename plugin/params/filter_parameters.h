/* The filter's persistent settings: one flat record of 62 32-bit words that the host keeps in the
 * filter's parameters handle between runs, and the two filter requests that work on it. */
#ifndef TESSELWRIGHT_FILTER_PARAMETERS_H
#define TESSELWRIGHT_FILTER_PARAMETERS_H

#include "hostapi/hostapi.h"

/* Booleans are int32 words holding 0 or 1; any non-zero value counts as set. Angles in degrees, lengths
 * in points, scales in percent. */
struct FilterParameters {
    int32_t frontPatternIndex;        /*  0 */
    AIReal viewZoom;                  /*  1 */
    AIReal shapeWidth;                /*  2 */
    AIReal shapeHeight;               /*  3 */
    AIReal shapeX;                    /*  4 */
    AIReal shapeY;                    /*  5 */
    AIReal frontScaleH;               /*  6 */
    AIReal behindScaleH;              /*  7 */
    AIReal frontScaleV;               /*  8 */
    AIReal behindScaleV;              /*  9 */
    AIReal frontRotate;               /* 10 */
    AIReal behindRotate;              /* 11 */
    AIReal frontShiftAngle;           /* 12 */
    AIReal behindShiftAngle;          /* 13 */
    AIReal frontShiftDistance;        /* 14 */
    AIReal behindShiftDistance;       /* 15 */
    AIReal frontShearAngle;           /* 16 */
    AIReal behindShearAngle;          /* 17 */
    AIReal frontShearAxis;            /* 18 */
    AIReal behindShearAxis;           /* 19 */
    AIReal frontReflectAngle;         /* 20 */
    AIReal behindReflectAngle;        /* 21 */
    int32_t randomFrontRotate;        /* 22 */
    int32_t frontReflect;             /* 23 */
    int32_t behindReflect;            /* 24 */
    int32_t randomFrontScale;         /* 25 */
    int32_t randomFrontOpacity;       /* 26 */
    int32_t randomFrontPattern;       /* 27 */
    int32_t linkScaling;              /* 28 */
    int32_t linkPatterns;             /* 29 */
    int32_t randomFrontReflectAngle;  /* 30 */
    int32_t randomBehindReflectAngle; /* 31 */
    int32_t randomFrontShear;         /* 32 */
    int32_t randomBehindShear;        /* 33 */
    int32_t randomFrontShift;         /* 34 */
    int32_t randomBehindShift;        /* 35 */
    int32_t createSymbol;             /* 36 */
    int32_t useSwatch;                /* 37 */
    int32_t swapPatterns;             /* 38 */
    int32_t behindPatternIndex;       /* 39 */
    int32_t repeatCount;              /* 40 */
    int32_t presetIndex;              /* 41 */
    int32_t randomBehindRotate;       /* 42 */
    int32_t randomBehindScale;        /* 43 */
    int32_t randomBehindOpacity;      /* 44 */
    int32_t randomBehindPattern;      /* 45 */
    int32_t noPermanentStyle;         /* 46 */
    int32_t colorModification;        /* 47 */
    int32_t patternBlendMode;         /* 48 */
    int32_t baseShape;                /* 49 */
    int32_t reserved;                 /* 50: never read or written */
    int32_t transformLinking;         /* 51 */
    int32_t activePage;               /* 52 */
    int32_t fillBlendMode;            /* 53 */
    int32_t preview;                  /* 54 */
    int32_t finalRun;                 /* 55 */
    int32_t previewDrawn;             /* 56 */
    int32_t dialogLeft;               /* 57 */
    int32_t dialogTop;                /* 58 */
    int32_t dialogRight;              /* 59 */
    int32_t dialogBottom;             /* 60 */
    int32_t dialogBoundsSaved;        /* 61 */
};

enum { kFilterParametersWords = 62 };
static_assert(sizeof(FilterParameters) == kFilterParametersWords * 4, "the record is 62 packed words");

/* "AI Filter" / "AI Get Parameters": creates the record with its defaults the first time, runs the
 * settings dialog over it, and on Cancel undoes the request's document changes and restores the record.
 * Returns 0 on OK, kCanceledErr on Cancel, or a host error code. */
ASErr GetParameters(AIFilterMessage* message);

/* "AI Filter" / "AI Go": builds the final result from the record. Always returns 0. */
ASErr Go(AIFilterMessage* message);

/* Writes the defaults of a new record; the words without a default are left as they are. */
void WriteDefaultParameters(FilterParameters* parameters);

#endif
