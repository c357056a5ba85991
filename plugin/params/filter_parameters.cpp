#include "params/filter_parameters.h"

#include <string.h>

#include "dialog/settings_dialog.h"
#include "shell/suite_table.h"
#include "style/style_builder.h"

namespace {

enum { kSettingsDialogConfirmed = 1 };

#define kSettingsDialogName "Vrom_Tesselwright"

/* The record is reached through the handle at each use; the host may keep the block elsewhere between
 * calls. Null when there is no record. */
FilterParameters* RecordOf(AIFilterParameters handle) {
    if (handle == nullptr)
        return nullptr;
    return static_cast<FilterParameters*>(*handle);
}

/* The presets popup shows the record's preset; a new record names " Reset", the first entry. The other
 * words without a default keep what the host's new block holds: each is written before it is read. */
enum { kInitialPresetIndex = 0 };

ASErr CreateParameters(AIFilterMessage* message) {
    ASErr error = sAIMdMemory->MdMemoryNewHandle(sizeof(FilterParameters), &message->parameters);
    if (error != kNoErr)
        return error;
    FilterParameters* parameters = RecordOf(message->parameters);
    if (parameters == nullptr)
        return kOutOfMemoryErr;
    WriteDefaultParameters(parameters);
    parameters->presetIndex = kInitialPresetIndex;
    return kNoErr;
}

/* Cancel takes back the previews the dialog put into the document and everything it wrote into the
 * record, the dialog's page and place included. */
ASErr CancelParameters(AIFilterMessage* message, const FilterParameters& snapshot) {
    ASErr error = sAIUndo->UndoChanges();
    if (error != kNoErr)
        return error;
    FilterParameters* parameters = RecordOf(message->parameters);
    memcpy(parameters, &snapshot, sizeof(FilterParameters));
    parameters->previewDrawn = 0;
    return kCanceledErr;
}

}  // namespace

void WriteDefaultParameters(FilterParameters* parameters) {
    parameters->frontPatternIndex = 0;
    parameters->viewZoom = 100.0f;
    parameters->shapeWidth = 500.0f;
    parameters->shapeHeight = 500.0f;
    parameters->shapeX = 0.0f;
    parameters->shapeY = 0.0f;
    parameters->frontScaleH = 100.0f;
    parameters->behindScaleH = 100.0f;
    parameters->frontScaleV = 100.0f;
    parameters->behindScaleV = 100.0f;
    parameters->frontRotate = 0.0f;
    parameters->behindRotate = 90.0f;
    parameters->frontShiftAngle = 0.0f;
    parameters->behindShiftAngle = 0.0f;
    parameters->frontShiftDistance = 0.0f;
    parameters->behindShiftDistance = 0.0f;
    parameters->frontShearAngle = 0.0f;
    parameters->behindShearAngle = 0.0f;
    parameters->frontShearAxis = 0.0f;
    parameters->behindShearAxis = 0.0f;
    parameters->frontReflectAngle = 0.0f;
    parameters->behindReflectAngle = 0.0f;
    parameters->randomFrontRotate = 0;
    parameters->frontReflect = 0;
    parameters->behindReflect = 0;
    parameters->randomFrontScale = 0;
    parameters->randomFrontOpacity = 0;
    parameters->randomFrontPattern = 0;
    parameters->linkScaling = 0;
    parameters->linkPatterns = 0;
    parameters->randomFrontReflectAngle = 0;
    parameters->randomBehindReflectAngle = 0;
    parameters->randomFrontShear = 0;
    parameters->randomBehindShear = 0;
    parameters->randomFrontShift = 0;
    parameters->randomBehindShift = 0;
    parameters->createSymbol = 0;
    parameters->useSwatch = 0;
    parameters->swapPatterns = 0;
    parameters->behindPatternIndex = 0;
    parameters->repeatCount = 1;
    parameters->randomBehindRotate = 0;
    parameters->randomBehindScale = 0;
    parameters->randomBehindOpacity = 0;
    parameters->randomBehindPattern = 0;
    parameters->noPermanentStyle = 0;
    parameters->colorModification = 0;
    parameters->patternBlendMode = 1;
    parameters->baseShape = 0;
    parameters->transformLinking = 0;
    parameters->activePage = 1;
    parameters->fillBlendMode = 17;
    parameters->preview = 1;
    parameters->previewDrawn = 0;
    parameters->dialogBoundsSaved = 0;
}

ASErr GetParameters(AIFilterMessage* message) {
    if (message->parameters == nullptr) {
        ASErr error = CreateParameters(message);
        if (error != kNoErr)
            return error;
    }
    FilterParameters* parameters = RecordOf(message->parameters);
    if (parameters == nullptr)
        return kOutOfMemoryErr;

    FilterParameters snapshot;
    memcpy(&snapshot, parameters, sizeof(FilterParameters));

    int32_t closedBy = sADMDialog->Modal(message->d.self, kSettingsDialogName, kSettingsDialogResourceID, 0,
                                         SettingsDialogInit, parameters);
    if (closedBy == kSettingsDialogConfirmed)
        return kNoErr;
    return CancelParameters(message, snapshot);
}

ASErr Go(AIFilterMessage* message) {
    /* The host never asked for settings, so there is nothing to build from. */
    FilterParameters* parameters = RecordOf(message->parameters);
    if (parameters == nullptr)
        return kNoErr;
    parameters->finalRun = 1;
    BuildStyle(parameters);
    return kNoErr;
}
