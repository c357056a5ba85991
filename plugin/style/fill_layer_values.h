/* Fill layer values: the pattern transformation, blend mode and opacity of each pattern fill of the
 * generated style, and the colour of the random colour fill.
 *
 * Pure computation over the record and a random source; no host suite is called here, so the same code
 * runs inside the plug-in (with the host's FloatRnd) and in unit tests (with a scripted source). */
#ifndef TESSELWRIGHT_FILL_LAYER_VALUES_H
#define TESSELWRIGHT_FILL_LAYER_VALUES_H

#include "hostapi/hostapi.h"
#include "params/filter_parameters.h"

/* One random number r with 0 <= r < 1 per call. */
typedef AIReal (*RandomDraw)(void* context);

struct RandomSource {
    RandomDraw draw;
    void* context;
};

inline AIReal DrawRandom(RandomSource* random) {
    return random->draw(random->context);
}

/* The eight transformation values of one side. Scales in percent, angles in degrees, distance in points. */
struct LayerValueSet {
    AIReal rotate;
    AIReal scaleH;
    AIReal scaleV;
    AIReal shiftAngle;
    AIReal shiftDist;
    AIReal shearAngle;
    AIReal shearAxis;
    AIReal reflectAngle;
};

/* Which members of a layer are multiplied by a draw, and the layer's fixed choices. */
struct LayerSwitches {
    int32_t randomRotate;
    int32_t randomScale;
    int32_t randomShift;
    int32_t randomReflectAngle;
    int32_t randomShear;
    int32_t randomOpacity;
    int32_t reflect;
    int32_t swapPatterns;
};

enum LayerKind { kFrontLayer = 0, kRepeatLayer = 1 };

/* transformLinking values. */
enum TransformLinking {
    kNoLinking = 0,
    kLinkToFront = 1,
    kLinkToFrontPerpendicular = 2,
    kLinkToHalfFront = 3,
    kLinkAccumulate = 4,
    kLinkRotateFactor = 5
};

/* Stored blend mode values above the host's modes. */
enum { kHighestBlendMode = 15, kRandomBlendMode = 16, kNoRandomColorFill = 17 };

/* The smallest scale a layer gets, in percent: a tile scaled to nothing cannot be drawn. */
const AIReal kMinimumLayerScale = 0.05f;

/* Fills the front set and the behind working values from the record; with linkScaling the vertical scales
 * are the horizontal ones. */
void LoadLayerValueSets(const FilterParameters* parameters, LayerValueSet* front, LayerValueSet* behind);

/* The random switches and flags of the front layer and of every repeat layer. */
LayerSwitches FrontLayerSwitches(const FilterParameters* parameters);
LayerSwitches RepeatLayerSwitches(const FilterParameters* parameters);

/* The complete pattern style of one layer, drawing in this order as the switches ask: pattern choice,
 * rotation, horizontal scale, vertical scale, shift angle, shift distance, reflection angle, shear angle,
 * shear axis. `identity` becomes the layer's transform. */
void ComputeLayerValues(const LayerValueSet* values, const LayerSwitches* switches, LayerKind kind,
                        AIPatternHandle frontPattern, AIPatternHandle behindPattern, const AIRealMatrix* identity,
                        RandomSource* random, AIPatternStyle* patternStyle);

/* Changes the behind working values at the start of repeat `repeatIndex` (0-based) by the linking mode;
 * the changes carry over to later repeats. Unknown modes change nothing. */
void LinkRepeat(int32_t transformLinking, int32_t repeatIndex, const LayerValueSet* front, LayerValueSet* behind);

/* The host blending mode for a stored value: the value itself up to 15, otherwise a random mode 1 to 15
 * (never Normal). */
int32_t LayerBlendMode(int32_t storedMode, RandomSource* random);

/* With the switch set, *opacity = a random fraction and the result is true; otherwise nothing is drawn
 * and the layer keeps the host's default opacity. */
bool LayerOpacity(int32_t opacitySwitch, RandomSource* random, AIReal* opacity);

/* An RGB colour of three draws: red, green, blue. */
AIColor RandomColor(RandomSource* random);

#endif
