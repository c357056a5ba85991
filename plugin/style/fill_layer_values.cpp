#include "style/fill_layer_values.h"

#include <cstring>

/* A value, times a fresh draw when its switch asks for one. */
static AIReal MaybeRandomised(AIReal value, int32_t randomSwitch, RandomSource* random) {
    if (randomSwitch == 0)
        return value;
    return value * DrawRandom(random);
}

/* A product that is not a number fails every comparison and so takes the floor too. */
static AIReal FloorScale(AIReal scale) {
    if (!(scale >= kMinimumLayerScale))
        return kMinimumLayerScale;
    return scale;
}

static void LoadOneSet(AIReal rotate, AIReal scaleH, AIReal scaleV, AIReal shiftAngle, AIReal shiftDist,
                       AIReal shearAngle, AIReal shearAxis, AIReal reflectAngle, int32_t linkScaling,
                       LayerValueSet* set) {
    set->rotate = rotate;
    set->scaleH = scaleH;
    set->scaleV = linkScaling != 0 ? scaleH : scaleV;
    set->shiftAngle = shiftAngle;
    set->shiftDist = shiftDist;
    set->shearAngle = shearAngle;
    set->shearAxis = shearAxis;
    set->reflectAngle = reflectAngle;
}

void LoadLayerValueSets(const FilterParameters* parameters, LayerValueSet* front, LayerValueSet* behind) {
    const FilterParameters* p = parameters;
    LoadOneSet(p->frontRotate, p->frontScaleH, p->frontScaleV, p->frontShiftAngle, p->frontShiftDistance,
               p->frontShearAngle, p->frontShearAxis, p->frontReflectAngle, p->linkScaling, front);
    LoadOneSet(p->behindRotate, p->behindScaleH, p->behindScaleV, p->behindShiftAngle, p->behindShiftDistance,
               p->behindShearAngle, p->behindShearAxis, p->behindReflectAngle, p->linkScaling, behind);
}

LayerSwitches FrontLayerSwitches(const FilterParameters* parameters) {
    LayerSwitches switches;
    switches.randomRotate = parameters->randomFrontRotate;
    switches.randomScale = parameters->randomFrontScale;
    switches.randomShift = parameters->randomFrontShift;
    switches.randomReflectAngle = parameters->randomFrontReflectAngle;
    switches.randomShear = parameters->randomFrontShear;
    switches.randomOpacity = parameters->randomFrontOpacity;
    switches.reflect = parameters->frontReflect;
    switches.swapPatterns = parameters->swapPatterns;
    return switches;
}

LayerSwitches RepeatLayerSwitches(const FilterParameters* parameters) {
    LayerSwitches switches;
    switches.randomRotate = parameters->randomBehindRotate;
    switches.randomScale = parameters->randomBehindScale;
    switches.randomShift = parameters->randomBehindShift;
    switches.randomReflectAngle = parameters->randomBehindReflectAngle;
    switches.randomShear = parameters->randomBehindShear;
    switches.randomOpacity = parameters->randomBehindOpacity;
    switches.reflect = parameters->behindReflect;
    switches.swapPatterns = parameters->swapPatterns;
    return switches;
}

static AIPatternHandle ChooseLayerPattern(const LayerSwitches* switches, LayerKind kind,
                                          AIPatternHandle frontPattern, AIPatternHandle behindPattern,
                                          RandomSource* random) {
    if (switches->swapPatterns == 0)
        return kind == kFrontLayer ? frontPattern : behindPattern;
    // Every layer tosses anew, the front layer included; an exact half goes to the behind pattern.
    return DrawRandom(random) > 0.5f ? frontPattern : behindPattern;
}

void ComputeLayerValues(const LayerValueSet* values, const LayerSwitches* switches, LayerKind kind,
                        AIPatternHandle frontPattern, AIPatternHandle behindPattern, const AIRealMatrix* identity,
                        RandomSource* random, AIPatternStyle* patternStyle) {
    // Padding bytes included, so that two layers with equal values compare equal byte for byte.
    std::memset(patternStyle, 0, sizeof(*patternStyle));
    // The order of the statements below is the order of the draws; records replayed with a scripted
    // source depend on it.
    patternStyle->pattern = ChooseLayerPattern(switches, kind, frontPattern, behindPattern, random);
    patternStyle->rotate = MaybeRandomised(values->rotate, switches->randomRotate, random);
    patternStyle->scale.h = FloorScale(MaybeRandomised(values->scaleH, switches->randomScale, random));
    patternStyle->scale.v = FloorScale(MaybeRandomised(values->scaleV, switches->randomScale, random));
    patternStyle->shiftAngle = MaybeRandomised(values->shiftAngle, switches->randomShift, random);
    patternStyle->shiftDist = MaybeRandomised(values->shiftDist, switches->randomShift, random);
    patternStyle->reflect = switches->reflect != 0 ? kASTrue : kASFalse;
    patternStyle->reflectAngle = MaybeRandomised(values->reflectAngle, switches->randomReflectAngle, random);
    patternStyle->shearAngle = MaybeRandomised(values->shearAngle, switches->randomShear, random);
    patternStyle->shearAxis = MaybeRandomised(values->shearAxis, switches->randomShear, random);
    patternStyle->transform = *identity;
}

void LinkRepeat(int32_t transformLinking, int32_t repeatIndex, const LayerValueSet* front, LayerValueSet* behind) {
    switch (transformLinking) {
        case kLinkToFront:
            *behind = *front;
            break;
        case kLinkToFrontPerpendicular:
            // The angles of shift, shear and reflection stay the behind ones; the rotation is not wrapped.
            behind->scaleH = front->scaleH;
            behind->scaleV = front->scaleV;
            behind->shiftDist = front->shiftDist;
            behind->shearAxis = front->shearAxis;
            behind->rotate = front->rotate + 90.0f;
            break;
        case kLinkToHalfFront:
            behind->rotate = front->rotate * 0.5f;
            behind->scaleH = front->scaleH * 0.5f;
            behind->scaleV = front->scaleV * 0.5f;
            behind->shiftAngle = front->shiftAngle * 0.5f;
            behind->shiftDist = front->shiftDist * 0.5f;
            behind->shearAngle = front->shearAngle * 0.5f;
            behind->shearAxis = front->shearAxis * 0.5f;
            behind->reflectAngle = front->reflectAngle * 0.5f;
            break;
        case kLinkAccumulate:
            // The scales are left alone: accumulating percentages would blow the tile up with every repeat.
            behind->rotate += front->rotate;
            behind->shiftAngle += front->shiftAngle;
            behind->shiftDist += front->shiftDist;
            behind->shearAngle += front->shearAngle;
            behind->shearAxis += front->shearAxis;
            behind->reflectAngle += front->reflectAngle;
            break;
        case kLinkRotateFactor:
            behind->rotate = (static_cast<AIReal>(repeatIndex) + 2.0f) * front->rotate;
            break;
        default:
            break;
    }
}

int32_t LayerBlendMode(int32_t storedMode, RandomSource* random) {
    if (storedMode <= kHighestBlendMode)
        return storedMode;
    double drawn = 1.0 - static_cast<double>(DrawRandom(random)) * -20.0;
    // 16 to 20 fold onto Multiply, which so comes up six times in twenty. A draw outside [0, 1) from a
    // faulty source takes the same way rather than an undefined conversion.
    if (!(drawn >= 1.0 && drawn < static_cast<double>(kHighestBlendMode + 1)))
        return kAIMultiplyBlendMode;
    return static_cast<int32_t>(drawn);
}

bool LayerOpacity(int32_t opacitySwitch, RandomSource* random, AIReal* opacity) {
    if (opacitySwitch == 0)
        return false;
    *opacity = DrawRandom(random);
    return true;
}

AIColor RandomColor(RandomSource* random) {
    AIColor color;
    std::memset(&color, 0, sizeof(color));
    color.kind = kThreeColor;
    color.c.rgb.red = DrawRandom(random);
    color.c.rgb.green = DrawRandom(random);
    color.c.rgb.blue = DrawRandom(random);
    return color;
}
