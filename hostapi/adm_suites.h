/* The host's dialog toolkit: dialogs built from a plug-in's templates or in code, their items, popup lists,
 * list entries, mouse trackers, and the toolkit's string loading and alerts. */
#ifndef HOSTAPI_ADM_SUITES_H
#define HOSTAPI_ADM_SUITES_H

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ADMDialog* ADMDialogRef;
typedef struct ADMItem* ADMItemRef;
typedef struct ADMList* ADMListRef;
typedef struct ADMEntry* ADMEntryRef;
typedef struct ADMNotifier* ADMNotifierRef;
typedef struct ADMTracker* ADMTrackerRef;
typedef void* ADMUserData;

/* Rectangles and points in the toolkit's coordinates (pixels). */
typedef struct ADMRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} ADMRect;

typedef struct ADMPoint {
    int32_t h;
    int32_t v;
} ADMPoint;

/* Procedures a plug-in hands to the toolkit. The toolkit ignores what notify procedures return. */
typedef ASErr(HOSTAPI* ADMDialogInitProc)(ADMDialogRef dialog);
typedef ASErr(HOSTAPI* ADMItemInitProc)(ADMItemRef item);
typedef ASErr(HOSTAPI* ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);
typedef ASBoolean(HOSTAPI* ADMItemTrackProc)(ADMItemRef item, ADMTrackerRef tracker);

/* Item types. */
#define kADMSpinEditType "ADM Spin Edit Type"
#define kADMTextStaticType "ADM Text Static Type"
#define kADMPopupListType "ADM Popup List Type"
#define kADMPicturePushButtonType "ADM Picture Push Button Type"
#define kADMTextPushButtonType "ADM Text Push Button Type"
#define kADMTextCheckBoxType "ADM Text Check Box Type"

/* Notifier sent when the user (or SendNotify) changes an item. */
#define kADMUserChangedNotifier "ADM User Changed Notifier"

/* Item ids of a dialog's standard buttons; Modal returns the id of the button that ended the run. */
#define kADMDefaultItemID 1
#define kADMCancelItemID 2

/* Fonts for SetFont. */
typedef enum ADMFont {
    kADMDefaultFont = 0,
    kADMDialogFont = 1,
    kADMPaletteFont = 2,
    kADMItalicDialogFont = 3,
    kADMItalicPaletteFont = 4,
    kADMBoldDialogFont = 5,
    kADMBoldPaletteFont = 6
} ADMFont;

/* Units for SetUnits. */
#define kADMNoUnits 0

/* Modifier bits of a tracking event (GetModifiers). */
#define kADMShiftKeyDownModifier 0x01
#define kADMControlKeyDownModifier 0x02
#define kADMAltKeyDownModifier 0x04
#define kADMButtonDownModifier 0x20 /* the primary mouse button is held down on the item */

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 2

typedef struct ADMBasicSuite {
    /* Entry `index` of the plug-in's string list `listID` (string id listID + index) into `buffer`: at most
     * `maxLength` characters, then a terminating zero, so the buffer needs maxLength + 1 bytes. A missing
     * entry gives an empty text. */
    ASErr(HOSTAPI* GetIndexString)(SPPluginRef plugin, int32_t listID, int32_t index, char* buffer,
                                   int32_t maxLength);
    /* Shows `text` in a modal alert with an OK button and returns when the user closes it. */
    void(HOSTAPI* MessageAlert)(const char* text);
} ADMBasicSuite;

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct ADMDialogSuite {
    /* Builds dialog `dialogID` of the plug-in's resources, calls `initProc` (may be null) and runs the
     * dialog until an item ends it. Returns the id of that item (kADMDefaultItemID for OK,
     * kADMCancelItemID for Cancel), or -1 when the dialog could not be made. */
    int32_t(HOSTAPI* Modal)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                            ADMDialogInitProc initProc, ADMUserData data);
    /* A new item of `itemType` with the id and bounds; null when the type is unknown or the id is taken. */
    ADMItemRef(HOSTAPI* CreateItem)(ADMDialogRef dialog, int32_t itemID, const char* itemType,
                                    const ADMRect* bounds, ADMItemInitProc initProc, ADMUserData data);
    /* The item with that id, or null. */
    ADMItemRef(HOSTAPI* GetItem)(ADMDialogRef dialog, int32_t itemID);
    /* The user data given to Modal. */
    ADMUserData(HOSTAPI* GetUserData)(ADMDialogRef dialog);
    /* The dialog's place on screen. */
    void(HOSTAPI* GetBoundsRect)(ADMDialogRef dialog, ADMRect* bounds);
    /* Moves and sizes the dialog to `bounds`. */
    void(HOSTAPI* SetBoundsRect)(ADMDialogRef dialog, const ADMRect* bounds);
    /* Sets the width and height, keeping the top left corner. */
    void(HOSTAPI* Size)(ADMDialogRef dialog, int32_t width, int32_t height);
} ADMDialogSuite;

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

typedef struct ADMItemSuite {
    /* The procedure runs when the user operates the item or a notifier is sent to it. */
    void(HOSTAPI* SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);
    /* The procedure sees each mouse tracking event on the item and returns whether it handled it. */
    void(HOSTAPI* SetTrackProc)(ADMItemRef item, ADMItemTrackProc proc);
    /* The toolkit's standard reaction: OK and Cancel buttons end a modal run once the procedure returns. */
    void(HOSTAPI* DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
    /* The toolkit's standard tracking; true when it handled the event. */
    ASBoolean(HOSTAPI* DefaultTrack)(ADMItemRef item, ADMTrackerRef tracker);
    /* Runs the item's notify procedure with a notifier of `notifierType` before returning. */
    void(HOSTAPI* SendNotify)(ADMItemRef item, const char* notifierType);
    /* The dialog that owns the item. */
    ADMDialogRef(HOSTAPI* GetDialog)(ADMItemRef item);
    /* The list of a popup list item, or null for other kinds. */
    ADMListRef(HOSTAPI* GetList)(ADMItemRef item);
    void(HOSTAPI* Show)(ADMItemRef item, ASBoolean show);
    /* A disabled item is greyed out and cannot be operated; its value stays readable. */
    void(HOSTAPI* Enable)(ADMItemRef item, ASBoolean enable);
    void(HOSTAPI* SetFont)(ADMItemRef item, int32_t font);
    void(HOSTAPI* SetText)(ADMItemRef item, const char* text);
    void(HOSTAPI* SetUnits)(ADMItemRef item, int32_t units);
    /* Number of decimals a spin edit shows. */
    void(HOSTAPI* SetPrecision)(ADMItemRef item, int32_t precision);
    int32_t(HOSTAPI* GetIntValue)(ADMItemRef item);
    /* Sets the value without notifying; a spin edit with a range keeps it within the range. */
    void(HOSTAPI* SetIntValue)(ADMItemRef item, int32_t value);
    void(HOSTAPI* SetMinIntValue)(ADMItemRef item, int32_t value);
    void(HOSTAPI* SetMaxIntValue)(ADMItemRef item, int32_t value);
    AIReal(HOSTAPI* GetFloatValue)(ADMItemRef item);
    void(HOSTAPI* SetFloatValue)(ADMItemRef item, AIReal value);
    void(HOSTAPI* SetMinFloatValue)(ADMItemRef item, AIReal value);
    void(HOSTAPI* SetMaxFloatValue)(ADMItemRef item, AIReal value);
    ASBoolean(HOSTAPI* GetBooleanValue)(ADMItemRef item);
    void(HOSTAPI* SetBooleanValue)(ADMItemRef item, ASBoolean value);
} ADMItemSuite;

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

/* Acquired with the others; the plug-in calls none of its operations. */
typedef struct ADMIconSuite {
    void* reserved;
} ADMIconSuite;

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

/* Acquired with the others; the plug-in calls none of its operations. */
typedef struct ADMNotifierSuite {
    void* reserved;
} ADMNotifierSuite;

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct ADMListSuite {
    /* A new empty entry at `index` (entries from there on move down one). */
    ADMEntryRef(HOSTAPI* InsertEntry)(ADMListRef list, int32_t index);
    /* The entry at `index`, or null. */
    ADMEntryRef(HOSTAPI* IndexEntry)(ADMListRef list, int32_t index);
    /* The selected entry, or null when none is. */
    ADMEntryRef(HOSTAPI* GetActiveEntry)(ADMListRef list);
} ADMListSuite;

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuite {
    void(HOSTAPI* SetText)(ADMEntryRef entry, const char* text);
    void(HOSTAPI* SetID)(ADMEntryRef entry, int32_t entryID);
    int32_t(HOSTAPI* GetID)(ADMEntryRef entry);
    /* With true the entry becomes its popup's current choice; no notify procedure runs. */
    void(HOSTAPI* Select)(ADMEntryRef entry, ASBoolean select);
} ADMEntrySuite;

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

typedef struct ADMTrackerSuite {
    /* The modifier bits of the event (kADM...Modifier). */
    uint32_t(HOSTAPI* GetModifiers)(ADMTrackerRef tracker);
    /* The mouse point of the event, in the coordinates of the document's view. */
    void(HOSTAPI* GetPoint)(ADMTrackerRef tracker, ADMPoint* point);
} ADMTrackerSuite;

#ifdef __cplusplus
}
#endif

#endif
