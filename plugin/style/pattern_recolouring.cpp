#include "style/pattern_recolouring.h"

#include <cstring>

#include "shell/suite_table.h"
#include "style/color_modification.h"

/* Reads, changes and writes back one child. A child whose style cannot be read is skipped: changing and
 * setting a record that still holds the previous child's style would copy that style onto this one. */
static void RecolourChild(AIArtHandle child, ColorChange change, RandomSource* random, AIPathStyle* style) {
    if (sAIPathStyle->GetPathStyle(child, style) != kNoErr)
        return;
    ModifyFillColor(&style->fill.color, change, random);
    // The style goes back even when its fill kind was not changed; the host's result does not stop the walk.
    (void)sAIPathStyle->SetPathStyle(child, style);
}

/* Visits the art's direct children in order. Returns the first error of the walk itself. */
static AIErr RecolourChildren(AIArtHandle art, ColorChange change, RandomSource* random) {
    AIPathStyle style;
    std::memset(&style, 0, sizeof(style));
    AIArtHandle child = nullptr;
    if (AIErr error = sAIArt->GetArtFirstChild(art, &child))
        return error;
    while (child != nullptr) {
        RecolourChild(child, change, random, &style);
        AIArtHandle sibling = nullptr;
        if (AIErr error = sAIArt->GetArtSibling(child, &sibling))
            return error;
        child = sibling;
    }
    return kNoErr;
}

AIErr RecolourPattern(AIPatternHandle pattern, int32_t mode, RandomSource* random) {
    AIArtHandle art = nullptr;
    // Without its art there is nothing to walk, and storing a null art back would empty the swatch.
    if (AIErr error = sAIPattern->GetPatternArt(pattern, &art))
        return error;
    ColorChange change = ColorChangeForMode(mode);
    if (change != kNoColorChange) {
        if (AIErr error = RecolourChildren(art, change, random))
            return error;
    }
    return sAIPattern->SetPatternArt(pattern, art);
}
