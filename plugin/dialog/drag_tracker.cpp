#include <math.h>

#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"

namespace {

enum DragValue { kArtworkX, kArtworkY, kAngleToCentre, kPatternNumber };

struct DragButton {
    int32_t id;
    int32_t spinEdit;
    DragValue value;
    AIReal FilterParameters::*realField;
    int32_t FilterParameters::*intField;
};

/* Matched in this order; the first button that is the tracked item wins. */
const DragButton kDragButtons[] = {
    {160, 10, kArtworkX, &FilterParameters::frontScaleH, nullptr},
    {161, 11, kArtworkY, &FilterParameters::frontScaleV, nullptr},
    {162, 32, kArtworkX, &FilterParameters::behindScaleH, nullptr},
    {163, 33, kArtworkY, &FilterParameters::behindScaleV, nullptr},
    {164, 9, kAngleToCentre, &FilterParameters::frontRotate, nullptr},
    {165, 31, kAngleToCentre, &FilterParameters::behindRotate, nullptr},
    {166, 8, kPatternNumber, nullptr, &FilterParameters::frontPatternIndex},
    {167, 30, kPatternNumber, nullptr, &FilterParameters::behindPatternIndex},
};

/* The degrees of the line from the view centre to the artwork point, in the host's own angle convention;
 * false when the view is gone. */
bool AngleToViewCentre(const AIRealPoint& artwork, AIReal* degrees) {
    AIDocumentViewHandle view = nullptr;
    AIRealPoint centre = {0.0f, 0.0f};
    if (sAIDocumentView->GetNthDocumentView(0, &view) != kNoErr || view == nullptr) {
        return false;
    }
    sAIDocumentView->GetDocumentViewCenter(view, &centre);
    *degrees = sAIRealMath->RadianToDegree(sAIRealMath->AIRealPointAngle(&artwork, &centre));
    return true;
}

void TakeValue(ADMDialogRef dialog, const DragButton& button, const AIRealPoint& artwork,
               FilterParameters* parameters) {
    ADMItemRef spinEdit = sADMDialog->GetItem(dialog, button.spinEdit);
    if (button.value == kPatternNumber) {
        /* One pattern per 20 points. */
        const int32_t number = TruncateToInt32(static_cast<double>(artwork.h * 0.05f));
        parameters->*button.intField = number;
        if (spinEdit != nullptr) {
            sADMItem->SetIntValue(spinEdit, number);
        }
        return;
    }
    AIReal value = button.value == kArtworkY ? artwork.v : artwork.h;
    if (button.value == kAngleToCentre && !AngleToViewCentre(artwork, &value)) {
        return;
    }
    parameters->*button.realField = value;
    if (spinEdit != nullptr) {
        sADMItem->SetFloatValue(spinEdit, value);
    }
}

/* Takes the value from the mouse point of the event. Without a document view there is no artwork point
 * to take it from, and the value is left alone. */
void TakeValueFromMouse(ADMItemRef item, ADMTrackerRef tracker, ADMDialogRef dialog,
                        FilterParameters* parameters) {
    ADMPoint mouse = {0, 0};
    sADMTracker->GetPoint(tracker, &mouse);
    AIDocumentViewHandle view = nullptr;
    if (sAIDocumentView->GetNthDocumentView(0, &view) != kNoErr || view == nullptr) {
        return;
    }
    const AIPoint viewPoint = {mouse.h, mouse.v};
    AIRealPoint artwork = {0.0f, 0.0f};
    sAIDocumentView->ViewPointToArtworkPoint(view, &viewPoint, &artwork);
    for (const DragButton& button : kDragButtons) {
        if (sADMDialog->GetItem(dialog, button.id) == item) {
            TakeValue(dialog, button, artwork, parameters);
            return;
        }
    }
}

}  // namespace

int32_t TruncateToInt32(double value) {
    if (isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

ASBoolean HOSTAPI DragTracker(ADMItemRef item, ADMTrackerRef tracker) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kASTrue;
    }
    if ((sADMTracker->GetModifiers(tracker) & kADMButtonDownModifier) != 0) {
        sADMItem->DefaultTrack(item, tracker);
        TakeValueFromMouse(item, tracker, dialog, parameters);
    }
    /* Every event reads the dialog back and redraws, whether or not it took a value. */
    RefreshPage(dialog, parameters);
    return kASTrue;
}
