/* The suite bracket around every call but the "SP Access" bookkeeping: the acquisition pass fills the
 * suite pointers of suite_table.h before the dispatch, the release pass empties them after it. Calls that
 * arrive while another call is inside the bracket reuse what that call holds. */
#ifndef TESSELWRIGHT_SUITE_BRACKET_H
#define TESSELWRIGHT_SUITE_BRACKET_H

#include "hostapi/hostapi.h"

/* Acquires every suite of the table, in table order, on an outermost call. Returns 0 or the code of the
 * acquisition that failed; the entries after it are not acquired. Always counts the call as inside the
 * bracket, so it must be matched by one ReleaseSuites. */
ASErr AcquireSuites(SPBasicSuite* basic);

/* Releases the held suites on the outermost call and counts the call out of the bracket. Returns 0 or the
 * code of the release that failed; that suite and the ones after it stay held. */
ASErr ReleaseSuites(SPBasicSuite* basic);

/* "Reload": the host may have unloaded us in the middle of nothing, so no call is inside the bracket. */
void ResetSuiteNesting(void);

#endif
