/* Reading entries of the plug-in's string lists. */
#ifndef TESSELWRIGHT_INDEX_STRING_H
#define TESSELWRIGHT_INDEX_STRING_H

#include "hostapi/hostapi.h"

/* Entry `index` of string list `listID` through the ADM Basic Suite's GetIndexString: at most `maxLength`
 * characters and a terminating zero, so `buffer` must hold maxLength + 1 bytes. A failed read leaves an
 * empty text (what the host left in the buffer is not to be trusted) and returns the host's code. */
ASErr ReadIndexString(SPPluginRef self, int32_t listID, int32_t index, char* buffer, int32_t maxLength);

#endif
