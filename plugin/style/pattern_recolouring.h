/* Pattern recolouring: changes the fill colours of a pattern swatch's own definition art and stores it back,
 * so every use of the swatch in the document shows the new colours. */
#ifndef TESSELWRIGHT_PATTERN_RECOLOURING_H
#define TESSELWRIGHT_PATTERN_RECOLOURING_H

#include "hostapi/hostapi.h"
#include "style/fill_layer_values.h"

/* Recolours the direct children of the pattern's art by `mode` (a colorModification value, 1 to 13; any
 * other value stores the art back unchanged). Groups among the children are not entered; a child whose
 * path style cannot be read is left alone. Returns the code of GetPatternArt, GetArtFirstChild or
 * GetArtSibling when one fails (the art is then not stored back), otherwise that of SetPatternArt. */
AIErr RecolourPattern(AIPatternHandle pattern, int32_t mode, RandomSource* random);

#endif
