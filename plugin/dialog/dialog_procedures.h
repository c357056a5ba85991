/* What the files of the settings dialog share: the item ids the procedures look items up by, the table of
 * controls the value-change handler reads, and the procedures one file attaches and another defines. */
#ifndef TESSELWRIGHT_DIALOG_PROCEDURES_H
#define TESSELWRIGHT_DIALOG_PROCEDURES_H

#include "hostapi/hostapi.h"
#include "params/filter_parameters.h"

/* Item ids. Every handler finds its items through the dialog by these numbers and keeps no references. */
enum DialogItemID {
    kOKButton = 1,
    kPreviewCheckBox = 3,
    kShapeWidthSpin = 4,
    kFrontPatternSpin = 8,
    kFrontScaleVSpin = 11,
    kBehindPatternSpin = 30,
    kBehindScaleVSpin = 33,
    kZoomSpin = 45,
    kRandomFrontRotateCheckBox = 50,
    kRandomFrontPatternCheckBox = 53,
    kRandomBehindPatternCheckBox = 61,
    kShuffleButton = 80,
    kTumbleButton = 81,
    kPatternBlendPopup = 90,
    kShapePopup = 91,
    kLinkingPopup = 93,
    kColorPopup = 94,
    kPresetsPopup = 95,
    kFillBlendPopup = 96,
    kFrontPageButton = 140,
    kFrontPageCaption = 145,
    kFirstDragButton = 160,
    kLastDragButton = 167
};

enum DialogPage {
    kAllPages = 0,
    kFrontPage = 1,
    kBehindPage = 2,
    kSizePage = 3,
    kTweakPage = 4,
    kSettingsPage = 5
};
enum { kPageCount = 5 };

/* How a control's value travels between the item and its field. */
enum ControlForm { kIntegerControl, kFloatControl, kBooleanControl, kPopupControl };

struct DialogControl {
    int32_t id;
    ControlForm form;
    int32_t FilterParameters::*intField; /* integer spin edits, check boxes and popups */
    AIReal FilterParameters::*realField; /* float spin edits */
};

/* The 51 controls the value-change handler reads back, in the order it reads them. */
extern const DialogControl kDialogControls[];
extern const int32_t kDialogControlCount;

/* The record given to Modal as the dialog's user data; null when the dialog has none. */
FilterParameters* DialogRecord(ADMDialogRef dialog);

/* Notify procedures. */
ASErr HOSTAPI ValueChangeHandler(ADMItemRef item, ADMNotifierRef notifier);
ASErr HOSTAPI ZoomHandler(ADMItemRef item, ADMNotifierRef notifier);
ASErr HOSTAPI OKHandler(ADMItemRef item, ADMNotifierRef notifier);
ASErr HOSTAPI PageSwitch(ADMItemRef item, ADMNotifierRef notifier);
ASErr HOSTAPI PresetsHandler(ADMItemRef item, ADMNotifierRef notifier);
ASErr HOSTAPI TumbleHandler(ADMItemRef item, ADMNotifierRef notifier);

/* Track procedure of the eight drag buttons. */
ASBoolean HOSTAPI DragTracker(ADMItemRef item, ADMTrackerRef tracker);

/* Makes the value-change handler and the page switch run once, as if the user had touched the active
 * page: everything is read back, the enabling rules and the preview follow, the page is shown again. */
void RefreshPage(ADMDialogRef dialog, const FilterParameters* parameters);

/* Sets every control the value-change handler reads (but "Preview") from the record, without notifying. */
void ShowRecordInDialog(ADMDialogRef dialog, const FilterParameters* parameters);

/* The list phase of the init procedure: fills the six popups, selects the stored choices and attaches
 * their notify procedures. */
void FillPopupLists(ADMDialogRef dialog, const FilterParameters* parameters);

/* The id of the popup's chosen entry into *choice; false (and *choice untouched) when nothing is chosen. */
bool ReadPopupChoice(ADMItemRef popup, int32_t* choice);

/* Makes the entry at `position` the popup's choice; false when the list has no such entry. */
bool SelectPopupEntry(ADMItemRef popup, int32_t position);

/* The document's pattern count minus one, never below 0; a failing count counts as no patterns. */
int32_t LastPatternIndex();

/* A real truncated toward zero, held to the int32 range (NaN gives 0) so no conversion overflows. */
int32_t TruncateToInt32(double value);

#endif
