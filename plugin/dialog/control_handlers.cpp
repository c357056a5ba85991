#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"
#include "style/style_builder.h"

using P = FilterParameters;

/* Read in this order on every change, whichever item fired; hidden and disabled controls included. */
const DialogControl kDialogControls[] = {
    {kPatternBlendPopup, kPopupControl, &P::patternBlendMode, nullptr},
    {kShapePopup, kPopupControl, &P::baseShape, nullptr},
    {kLinkingPopup, kPopupControl, &P::transformLinking, nullptr},
    {kColorPopup, kPopupControl, &P::colorModification, nullptr},
    {kFillBlendPopup, kPopupControl, &P::fillBlendMode, nullptr},
    {kPreviewCheckBox, kBooleanControl, &P::preview, nullptr},
    {8, kIntegerControl, &P::frontPatternIndex, nullptr},
    {9, kFloatControl, nullptr, &P::frontRotate},
    {10, kFloatControl, nullptr, &P::frontScaleH},
    {11, kFloatControl, nullptr, &P::frontScaleV},
    {12, kFloatControl, nullptr, &P::frontShiftAngle},
    {13, kFloatControl, nullptr, &P::frontShiftDistance},
    {16, kFloatControl, nullptr, &P::frontReflectAngle},
    {14, kFloatControl, nullptr, &P::frontShearAngle},
    {15, kFloatControl, nullptr, &P::frontShearAxis},
    {30, kIntegerControl, &P::behindPatternIndex, nullptr},
    {31, kFloatControl, nullptr, &P::behindRotate},
    {32, kFloatControl, nullptr, &P::behindScaleH},
    {33, kFloatControl, nullptr, &P::behindScaleV},
    {34, kFloatControl, nullptr, &P::behindShiftAngle},
    {35, kFloatControl, nullptr, &P::behindShiftDistance},
    {38, kFloatControl, nullptr, &P::behindReflectAngle},
    {36, kFloatControl, nullptr, &P::behindShearAngle},
    {37, kFloatControl, nullptr, &P::behindShearAxis},
    {4, kFloatControl, nullptr, &P::shapeWidth},
    {5, kFloatControl, nullptr, &P::shapeHeight},
    {6, kFloatControl, nullptr, &P::shapeX},
    {7, kFloatControl, nullptr, &P::shapeY},
    {39, kIntegerControl, &P::repeatCount, nullptr},
    {54, kBooleanControl, &P::frontReflect, nullptr},
    {62, kBooleanControl, &P::behindReflect, nullptr},
    {50, kBooleanControl, &P::randomFrontRotate, nullptr},
    {58, kBooleanControl, &P::randomBehindRotate, nullptr},
    {51, kBooleanControl, &P::randomFrontScale, nullptr},
    {59, kBooleanControl, &P::randomBehindScale, nullptr},
    {52, kBooleanControl, &P::randomFrontOpacity, nullptr},
    {60, kBooleanControl, &P::randomBehindOpacity, nullptr},
    {53, kBooleanControl, &P::randomFrontPattern, nullptr},
    {61, kBooleanControl, &P::randomBehindPattern, nullptr},
    {57, kBooleanControl, &P::randomFrontShift, nullptr},
    {65, kBooleanControl, &P::randomBehindShift, nullptr},
    {56, kBooleanControl, &P::randomFrontShear, nullptr},
    {64, kBooleanControl, &P::randomBehindShear, nullptr},
    {55, kBooleanControl, &P::randomFrontReflectAngle, nullptr},
    {63, kBooleanControl, &P::randomBehindReflectAngle, nullptr},
    {66, kBooleanControl, &P::useSwatch, nullptr},
    {67, kBooleanControl, &P::createSymbol, nullptr},
    {69, kBooleanControl, &P::swapPatterns, nullptr},
    {68, kBooleanControl, &P::noPermanentStyle, nullptr},
    {71, kBooleanControl, &P::linkScaling, nullptr},
    {70, kBooleanControl, &P::linkPatterns, nullptr},
};

const int32_t kDialogControlCount = static_cast<int32_t>(sizeof(kDialogControls) / sizeof(kDialogControls[0]));
static_assert(sizeof(kDialogControls) / sizeof(kDialogControls[0]) == 51, "the handler reads 51 controls");

namespace {

/* A control the dialog does not have leaves its field as it was. */
void ReadControl(ADMDialogRef dialog, const DialogControl& control, FilterParameters* parameters) {
    ADMItemRef item = sADMDialog->GetItem(dialog, control.id);
    if (item == nullptr) {
        return;
    }
    switch (control.form) {
        case kIntegerControl:
            parameters->*control.intField = sADMItem->GetIntValue(item);
            break;
        case kFloatControl:
            parameters->*control.realField = sADMItem->GetFloatValue(item);
            break;
        case kBooleanControl:
            parameters->*control.intField = sADMItem->GetBooleanValue(item) != 0 ? 1 : 0;
            break;
        case kPopupControl:
            ReadPopupChoice(item, &(parameters->*control.intField));
            break;
    }
}

void EnableItem(ADMDialogRef dialog, int32_t id, bool enable) {
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (item != nullptr) {
        sADMItem->Enable(item, enable ? kASTrue : kASFalse);
    }
}

void ApplyEnablingRules(ADMDialogRef dialog, const FilterParameters* parameters) {
    const int32_t patternChoice[] = {kRandomFrontPatternCheckBox, kRandomBehindPatternCheckBox, kFrontPatternSpin,
                                     kBehindPatternSpin};
    for (int32_t id : patternChoice) {
        EnableItem(dialog, id, parameters->useSwatch == 0);
    }
    if (parameters->useSwatch == 0 && parameters->linkPatterns != 0) {
        EnableItem(dialog, kBehindPatternSpin, false);
    }
    EnableItem(dialog, kFrontScaleVSpin, parameters->linkScaling == 0);
    EnableItem(dialog, kBehindScaleVSpin, parameters->linkScaling == 0);
}

/* The next opening puts the dialog back where the user left it. */
void SaveDialogBounds(ADMDialogRef dialog, FilterParameters* parameters) {
    ADMRect bounds = {0, 0, 0, 0};
    sADMDialog->GetBoundsRect(dialog, &bounds);
    parameters->dialogLeft = bounds.left;
    parameters->dialogTop = bounds.top;
    parameters->dialogRight = bounds.right;
    parameters->dialogBottom = bounds.bottom;
    parameters->dialogBoundsSaved = 1;
}

}  // namespace

ASErr HOSTAPI ValueChangeHandler(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kNoErr;
    }
    sADMItem->DefaultNotify(item, notifier);
    parameters->finalRun = 0;
    for (const DialogControl& control : kDialogControls) {
        ReadControl(dialog, control, parameters);
    }
    ApplyEnablingRules(dialog, parameters);
    SaveDialogBounds(dialog, parameters);
    if (parameters->preview == 0) {
        /* The last preview stays in the document: a later build replaces it, Cancel removes it. */
        parameters->previewDrawn = 0;
        return kNoErr;
    }
    parameters->previewDrawn = 1;
    /* The builder first undoes the previous preview, so there is only ever one. */
    return BuildStyle(parameters);
}

ASErr HOSTAPI ZoomHandler(ADMItemRef item, ADMNotifierRef) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    ADMItemRef zoom = sADMDialog->GetItem(dialog, kZoomSpin);
    if (parameters == nullptr || zoom == nullptr) {
        return kNoErr;
    }
    parameters->viewZoom = sADMItem->GetFloatValue(zoom);
    AIDocumentViewHandle view = nullptr;
    /* Without a view there is nothing to zoom; the value is still kept in the record. */
    if (sAIDocumentView->GetNthDocumentView(0, &view) != kNoErr || view == nullptr) {
        return kNoErr;
    }
    sAIDocumentView->SetDocumentViewZoom(view, parameters->viewZoom * 0.01f);
    return kNoErr;
}

ASErr HOSTAPI OKHandler(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    sADMItem->DefaultNotify(item, notifier);
    if (parameters != nullptr) {
        SaveDialogBounds(dialog, parameters);
    }
    return kNoErr;
}
