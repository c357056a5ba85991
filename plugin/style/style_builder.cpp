#include "style/style_builder.h"

/* Placeholder until the style builder is written: does nothing and reports success. */
AIErr BuildStyle(FilterParameters* parameters) {
    (void)parameters;
    return kNoErr;
}
