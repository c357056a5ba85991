/* Colour modification of a pattern swatch's fills: which swatches a colorModification value names and how
 * it changes one fill colour. Pure computation over a colour and a random source. */
#ifndef TESSELWRIGHT_COLOR_MODIFICATION_H
#define TESSELWRIGHT_COLOR_MODIFICATION_H

#include "hostapi/hostapi.h"
#include "style/fill_layer_values.h"

/* colorModification values. Pattern 1 is the front pattern, pattern 2 the behind pattern. */
enum ColorModification {
    kNoColorModification = 0,
    kRandomColorBoth = 1,
    kRandomColorFront = 2,
    kRandomColorBehind = 3,
    kNegativeBoth = 4,
    kNegativeFront = 5,
    kNegativeBehind = 6,
    kJitterBoth = 7,
    kJitterFront = 8,
    kJitterBehind = 9,
    kRandomChannel1 = 10,
    kRandomChannel2 = 11,
    kRandomChannel3 = 12,
    kRandomChannel4 = 13
};

/* What a mode does to one colour. */
enum ColorChange {
    kNoColorChange = 0,
    kRandomColorChange,
    kNegativeColorChange,
    kJitterColorChange,
    kChannel1Change,
    kChannel2Change,
    kChannel3Change,
    kChannel4Change
};

/* How far one jitter step moves a channel at most. */
const AIReal kJitterAmount = 0.2f;

/* Whether the mode recolours the front pattern, the behind pattern. */
bool ModeRecoloursFront(int32_t mode);
bool ModeRecoloursBehind(int32_t mode);

/* The change of a mode; kNoColorChange for 0 and every value outside 1 to 13. */
ColorChange ColorChangeForMode(int32_t mode);

/* Changes a gray, CMYK or RGB colour in place, drawing in channel order; every other kind stays as it is
 * and draws nothing. Returns whether the colour is of a kind the change applies to. */
bool ModifyFillColor(AIColor* color, ColorChange change, RandomSource* random);

#endif
