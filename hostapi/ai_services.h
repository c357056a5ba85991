/* Host services that are not about the document's art: memory, real math, number text, random numbers,
 * menus and filters. */
#ifndef HOSTAPI_AI_SERVICES_H
#define HOSTAPI_AI_SERVICES_H

#include <stddef.h>

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1

typedef struct AIMdMemorySuite {
    /* *handle = a new relocatable block of `size` bytes (contents undefined), kept until the host frees it. */
    AIErr(HOSTAPI* MdMemoryNewHandle)(size_t size, AIMdMemoryHandle* handle);
} AIMdMemorySuite;

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1

typedef struct AIRealMathSuite {
    /* *matrix = the identity. */
    void(HOSTAPI* AIRealMatrixSetIdentity)(AIRealMatrix* matrix);
    /* The angle of the line from `p2` to `p1` against the positive horizontal axis, counter-clockwise, in
     * radians from -pi to pi. */
    AIReal(HOSTAPI* AIRealPointAngle)(const AIRealPoint* p1, const AIRealPoint* p2);
    /* The angle in degrees. */
    AIReal(HOSTAPI* RadianToDegree)(AIReal radians);
} AIRealMathSuite;

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 5

/* Texts of these two operations are length-prefixed: one length byte, then that many characters. */
typedef struct AIUserSuite {
    /* Reads a decimal number; an error when the text is not one. */
    AIErr(HOSTAPI* StringToAIReal)(const unsigned char* text, AIReal* value);
    /* Writes `value` with `precision` decimals into `text`, which has room for 256 bytes. */
    AIErr(HOSTAPI* AIRealToString)(AIReal value, int32_t precision, unsigned char* text);
} AIUserSuite;

#define kAIRandomSuite "AI Random Suite"
#define kAIRandomSuiteVersion 3

typedef struct AIRandomSuite {
    /* A fresh real r with 0 <= r < 1. The host seeds the generator; plug-ins never do. */
    AIReal(HOSTAPI* FloatRnd)(void);
} AIRandomSuite;

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 7

/* Actions and conditions of UpdateMenuItemAutomatically. */
#define kAutoEnableMenuItemAction 1
#define kIfOpenDocument 1

typedef struct AIMenuSuite {
    /* Lets the host enable a menu item by itself: `action` applies while all given conditions hold.
     * The four art conditions are art-type masks (0: no condition); the last two are document
     * conditions that must hold and must not hold. */
    AIErr(HOSTAPI* UpdateMenuItemAutomatically)(AIMenuItemHandle menuItem, int32_t action,
                                                int32_t ifObjectIsInArtwork, int32_t ifObjectIsNotInArtwork,
                                                int32_t ifIsSelected, int32_t ifIsNotSelected, int32_t ifIsTrue,
                                                int32_t ifIsNotTrue);
} AIMenuSuite;

#define kAIFilterSuite "AI Filter Suite"
#define kAIFilterSuiteVersion 2

/* Where a filter appears: both texts are length-prefixed (at most 255 characters). */
typedef struct PlatformAddFilterData {
    unsigned char* category;
    unsigned char* title;
} PlatformAddFilterData;

typedef struct AIFilterSuite {
    /* Registers a filter under the internal `name`, listed as `data` says; *filter = its handle. */
    AIErr(HOSTAPI* AddFilter)(SPPluginRef self, const char* name, PlatformAddFilterData* data, int32_t options,
                              AIFilterHandle* filter);
    /* *menuItem = the menu item through which the user chooses the filter. */
    AIErr(HOSTAPI* GetFilterMenuItem)(AIFilterHandle filter, AIMenuItemHandle* menuItem);
} AIFilterSuite;

#ifdef __cplusplus
}
#endif

#endif
