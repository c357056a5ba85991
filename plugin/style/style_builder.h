/* The style builder: puts the filter's result into the document, a base shape carrying a generated art
 * style of stacked pattern fills. */
#ifndef TESSELWRIGHT_STYLE_BUILDER_H
#define TESSELWRIGHT_STYLE_BUILDER_H

#include "hostapi/hostapi.h"
#include "params/filter_parameters.h"

/* Builds the result for the record. The caller sets finalRun (and, for a preview, previewDrawn) first.
 * Returns 0, or the code of the host operation that stopped the run. A record asking for more than 1000
 * repeat layers gets 1000: any count the dialog, the presets or Tumble produce is built in full, while a
 * stray count from elsewhere cannot hold the host for hours. */
AIErr BuildStyle(FilterParameters* parameters);

#endif
