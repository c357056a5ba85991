/* Suites of the plug-in architecture itself: suite acquisition, memory blocks and plug-in access. */
#ifndef HOSTAPI_SP_SUITES_H
#define HOSTAPI_SP_SUITES_H

#include <stddef.h>

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    /* Fills *suite with the function table of suite `name` at `version` and counts one reference.
     * Returns kSPSuiteNotFoundError (and leaves *suite unchanged) when the host has no such suite. */
    ASErr(HOSTAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);
    /* Drops one reference taken by AcquireSuite. Returns an error when none is held. */
    ASErr(HOSTAPI* ReleaseSuite)(const char* name, int32_t version);
    /* True when the two zero-terminated strings are equal. */
    ASBoolean(HOSTAPI* IsEqual)(const char* token1, const char* token2);
} SPBasicSuite;

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2

typedef struct SPBlocksSuite {
    /* Allocates `size` bytes (contents undefined) into *block; `debugLabel` names it in the host's records. */
    ASErr(HOSTAPI* AllocateBlock)(size_t size, const char* debugLabel, void** block);
    /* Frees a block from AllocateBlock. Freeing anything else is an error. */
    ASErr(HOSTAPI* FreeBlock)(void* block);
} SPBlocksSuite;

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3

/* Acquired with the others; the plug-in calls none of its operations. */
typedef struct SPAccessSuite {
    void* reserved;
} SPAccessSuite;

#ifdef __cplusplus
}
#endif

#endif
