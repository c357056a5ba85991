#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"

namespace {

enum Preset {
    kResetPreset = 0,
    kScaled400Preset,
    kRandomFillMultiplyPreset,
    kStarPreset,
    kRandomizedPatternArtPreset,
    kDifferencePreset,
    kColorMixPreset,
    kSubtleRotatePreset,
    kMultipleFillsPreset,
    kRandomPatternsPreset
};

enum { kMultiplyBlend = 1, kDifferenceBlend = 10, kNoRandomFill = 17, kStar3Shape = 4, kRandomColor12 = 1 };

/* The transformation values both commands start from: those of a new record. */
void WriteTransformStart(FilterParameters* p) {
    p->frontPatternIndex = 0;
    p->behindPatternIndex = 0;
    p->frontRotate = 0.0f;
    p->behindRotate = 90.0f;
    p->frontScaleH = 100.0f;
    p->frontScaleV = 100.0f;
    p->behindScaleH = 100.0f;
    p->behindScaleV = 100.0f;
    p->frontShiftAngle = 0.0f;
    p->frontShiftDistance = 0.0f;
    p->behindShiftAngle = 0.0f;
    p->behindShiftDistance = 0.0f;
    p->frontShearAngle = 0.0f;
    p->frontShearAxis = 0.0f;
    p->behindShearAngle = 0.0f;
    p->behindShearAxis = 0.0f;
    p->frontReflectAngle = 0.0f;
    p->behindReflectAngle = 0.0f;
    p->frontReflect = 0;
    p->behindReflect = 0;
    p->patternBlendMode = kMultiplyBlend;
    p->colorModification = 0;
    p->fillBlendMode = kNoRandomFill;
    p->repeatCount = 1;
    p->previewDrawn = 0;
}

void WritePresetStart(FilterParameters* p) {
    WriteTransformStart(p);
    p->shapeWidth = 500.0f;
    p->shapeHeight = 500.0f;
    p->shapeX = 0.0f;
    p->shapeY = 0.0f;
    p->randomFrontRotate = 0;
    p->randomBehindRotate = 0;
    p->randomFrontScale = 0;
    p->randomBehindScale = 0;
    p->randomFrontShift = 0;
    p->randomBehindShift = 0;
    p->randomFrontShear = 0;
    p->randomBehindShear = 0;
    p->randomFrontReflectAngle = 0;
    p->randomBehindReflectAngle = 0;
    p->randomFrontOpacity = 0;
    p->randomBehindOpacity = 0;
    p->randomFrontPattern = 0;
    p->randomBehindPattern = 0;
    p->useSwatch = 0;
    p->createSymbol = 0;
    p->swapPatterns = 0;
    p->noPermanentStyle = 0;
    p->linkScaling = 0;
    p->linkPatterns = 0;
    p->baseShape = 0;
    p->transformLinking = 0;
}

void ScaleFront(FilterParameters* p, AIReal scale) {
    p->frontScaleH = scale;
    p->frontScaleV = scale;
}

void WritePresetChanges(FilterParameters* p, int32_t preset) {
    switch (preset) {
        case kScaled400Preset:
            ScaleFront(p, 400.0f);
            p->behindScaleH = 400.0f;
            p->behindScaleV = 400.0f;
            break;
        case kRandomFillMultiplyPreset:
            p->fillBlendMode = kMultiplyBlend;
            break;
        case kStarPreset:
            p->shapeWidth = 500.0f;
            p->shapeHeight = 45.0f;
            p->baseShape = kStar3Shape;
            break;
        case kRandomizedPatternArtPreset:
            p->colorModification = kRandomColor12;
            break;
        case kDifferencePreset:
            p->patternBlendMode = kDifferenceBlend;
            ScaleFront(p, 400.0f);
            break;
        case kColorMixPreset:
            p->patternBlendMode = kDifferenceBlend;
            ScaleFront(p, 400.0f);
            p->fillBlendMode = kMultiplyBlend;
            p->colorModification = kRandomColor12;
            break;
        case kSubtleRotatePreset:
            p->patternBlendMode = kDifferenceBlend;
            p->behindRotate = 1.0f;
            p->linkPatterns = 1;
            break;
        case kMultipleFillsPreset:
            p->repeatCount = 4;
            p->patternBlendMode = kDifferenceBlend;
            p->colorModification = kRandomColor12;
            break;
        case kRandomPatternsPreset:
            p->randomFrontPattern = 1;
            p->randomBehindPattern = 1;
            p->frontPatternIndex = 300;
            p->behindPatternIndex = 300;
            break;
        default: /* " Reset" and anything unknown: the starting values alone */
            break;
    }
}

AIReal Draw() {
    return sAIRandom->FloatRnd();
}

/* One draw decides whether an optional step runs: it does when r x 100 is strictly above `percent`. */
bool ChanceAbove(AIReal percent) {
    return Draw() * 100.0f > percent;
}

/* a x r - b x r', with r drawn before r'. */
AIReal DrawSpread(AIReal a, AIReal b) {
    const AIReal r = Draw();
    const AIReal rPrime = Draw();
    return a * r - b * rPrime;
}

int32_t DrawBelow(int32_t count, int32_t highest) {
    const int32_t drawn = TruncateToInt32(static_cast<double>(Draw()) * count);
    return drawn > highest ? highest : drawn;
}

AIReal DrawRotation() {
    const bool positive = ChanceAbove(50.0f);
    const AIReal r = Draw();
    return positive ? 360.0f * r : -360.0f * r;
}

/* The draws for one pattern; the behind pattern's shift distance spreads over 50 rather than 500. */
void DrawPattern(int32_t lastIndex, AIReal shiftDistanceSpread, int32_t* index, AIReal* rotate, AIReal* scaleH,
                 AIReal* scaleV, AIReal* shiftAngle, AIReal* shiftDistance, AIReal* shearAngle, AIReal* shearAxis,
                 int32_t* reflect, AIReal* reflectAngle) {
    *index = DrawBelow(lastIndex + 1, lastIndex);
    *rotate = DrawRotation();
    *scaleH = 20.0f + 700.0f * Draw();
    *scaleV = 20.0f + 700.0f * Draw();
    if (ChanceAbove(50.0f)) {
        *shiftAngle = DrawSpread(360.0f, 180.0f);
        *shiftDistance = DrawSpread(1000.0f, shiftDistanceSpread);
    }
    if (ChanceAbove(50.0f)) {
        *shearAngle = DrawSpread(30.0f, 15.0f);
        *shearAxis = DrawSpread(30.0f, 15.0f);
    }
    if (ChanceAbove(70.0f)) {
        *reflect = 1;
        *reflectAngle = DrawSpread(720.0f, 360.0f);
    }
}

void DrawTumble(FilterParameters* p, int32_t lastIndex) {
    DrawPattern(lastIndex, 500.0f, &p->frontPatternIndex, &p->frontRotate, &p->frontScaleH, &p->frontScaleV,
                &p->frontShiftAngle, &p->frontShiftDistance, &p->frontShearAngle, &p->frontShearAxis,
                &p->frontReflect, &p->frontReflectAngle);
    DrawPattern(lastIndex, 50.0f, &p->behindPatternIndex, &p->behindRotate, &p->behindScaleH, &p->behindScaleV,
                &p->behindShiftAngle, &p->behindShiftDistance, &p->behindShearAngle, &p->behindShearAxis,
                &p->behindReflect, &p->behindReflectAngle);
    if (ChanceAbove(50.0f)) {
        p->patternBlendMode = DrawBelow(18, 16);
    }
    if (ChanceAbove(50.0f)) {
        p->colorModification = DrawBelow(15, 13);
    }
    if (ChanceAbove(70.0f)) {
        p->fillBlendMode = DrawBelow(18, 17);
    }
    if (ChanceAbove(70.0f)) {
        p->repeatCount = 1 + DrawBelow(4, 3);
    }
    if (ChanceAbove(90.0f)) {
        p->repeatCount = 1 + DrawBelow(7, 6);
    }
}

void SetControl(ADMDialogRef dialog, const DialogControl& control, const FilterParameters* parameters) {
    ADMItemRef item = sADMDialog->GetItem(dialog, control.id);
    if (item == nullptr) {
        return;
    }
    switch (control.form) {
        case kIntegerControl:
            sADMItem->SetIntValue(item, parameters->*control.intField);
            break;
        case kFloatControl:
            sADMItem->SetFloatValue(item, parameters->*control.realField);
            break;
        case kBooleanControl:
            sADMItem->SetBooleanValue(item, parameters->*control.intField != 0 ? kASTrue : kASFalse);
            break;
        case kPopupControl:
            SelectPopupEntry(item, parameters->*control.intField);
            break;
    }
}

bool IsLinkControl(int32_t id) {
    return id == 70 || id == 71;
}

}  // namespace

void ShowRecordInDialog(ADMDialogRef dialog, const FilterParameters* parameters) {
    for (int32_t i = 0; i < kDialogControlCount; ++i) {
        if (kDialogControls[i].form == kPopupControl) {
            SetControl(dialog, kDialogControls[i], parameters);
        }
    }
    for (int32_t i = 0; i < kDialogControlCount; ++i) {
        const DialogControl& control = kDialogControls[i];
        if (control.form != kPopupControl && control.id != kPreviewCheckBox && !IsLinkControl(control.id)) {
            SetControl(dialog, control, parameters);
        }
    }
    /* "Link patterns" before "Link scaling", the reverse of the order they are read in. */
    const int32_t linkOrder[] = {70, 71};
    for (int32_t id : linkOrder) {
        for (int32_t i = 0; i < kDialogControlCount; ++i) {
            if (kDialogControls[i].id == id) {
                SetControl(dialog, kDialogControls[i], parameters);
            }
        }
    }
}

ASErr HOSTAPI PresetsHandler(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kNoErr;
    }
    sADMItem->DefaultNotify(item, notifier);
    int32_t preset = 0;
    /* With no entry chosen there is no preset to apply; the record stays as it is. */
    if (ReadPopupChoice(item, &preset)) {
        parameters->presetIndex = preset;
        WritePresetStart(parameters);
        WritePresetChanges(parameters, preset);
        ShowRecordInDialog(dialog, parameters);
    }
    RefreshPage(dialog, parameters);
    return kNoErr;
}

ASErr HOSTAPI TumbleHandler(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kNoErr;
    }
    const int32_t lastIndex = LastPatternIndex();
    sADMItem->DefaultNotify(item, notifier);
    WriteTransformStart(parameters);
    parameters->randomFrontPattern = 0;
    DrawTumble(parameters, lastIndex);
    ShowRecordInDialog(dialog, parameters);
    RefreshPage(dialog, parameters);
    return kNoErr;
}
