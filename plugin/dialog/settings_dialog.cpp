#include "dialog/settings_dialog.h"

#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"

namespace {

/* What an item is, which also decides how it is configured after creation. */
enum LayoutKind {
    kPatternIndexSpin, /* integer spin edit whose range is the document's pattern indices */
    kIntegerSpin,
    kFloatSpin,
    kZoomSpinEdit, /* the one float spin edit that takes its range before its value */
    kStaticText,
    kPopupList,
    kPictureButton,
    kTextButton,
    kCheckBox
};

enum LayoutProcedure { kNoProcedure, kValueChange, kZoom, kOK, kPageSwitch, kTumble, kDragTrack };

struct LayoutItem {
    int32_t id;
    LayoutKind kind;
    ADMRect bounds;
    int32_t page;
    const char* text;
    int32_t FilterParameters::*intField;
    AIReal FilterParameters::*realField;
    AIReal minimum;
    AIReal maximum;
    LayoutProcedure procedure;
};

constexpr LayoutItem PatternSpin(int32_t id, ADMRect bounds, int32_t page, int32_t FilterParameters::*field) {
    return {id, kPatternIndexSpin, bounds, page, nullptr, field, nullptr, 0, 0, kValueChange};
}

constexpr LayoutItem IntegerSpin(int32_t id, ADMRect bounds, int32_t page, int32_t FilterParameters::*field,
                                 AIReal minimum, AIReal maximum) {
    return {id, kIntegerSpin, bounds, page, nullptr, field, nullptr, minimum, maximum, kValueChange};
}

constexpr LayoutItem FloatSpin(int32_t id, ADMRect bounds, int32_t page, AIReal FilterParameters::*field,
                               AIReal minimum, AIReal maximum) {
    return {id, kFloatSpin, bounds, page, nullptr, nullptr, field, minimum, maximum, kValueChange};
}

constexpr LayoutItem Label(int32_t id, ADMRect bounds, int32_t page, const char* text) {
    return {id, kStaticText, bounds, page, text, nullptr, nullptr, 0, 0, kNoProcedure};
}

/* Popups get their entries, choice and procedure in the list phase. */
constexpr LayoutItem Popup(int32_t id, ADMRect bounds, int32_t page) {
    return {id, kPopupList, bounds, page, nullptr, nullptr, nullptr, 0, 0, kNoProcedure};
}

constexpr LayoutItem PictureButton(int32_t id, ADMRect bounds, int32_t page, LayoutProcedure procedure) {
    return {id, kPictureButton, bounds, page, nullptr, nullptr, nullptr, 0, 0, procedure};
}

constexpr LayoutItem TextButton(int32_t id, ADMRect bounds, const char* text, LayoutProcedure procedure) {
    return {id, kTextButton, bounds, kAllPages, text, nullptr, nullptr, 0, 0, procedure};
}

constexpr LayoutItem CheckBox(int32_t id, ADMRect bounds, int32_t page, const char* text,
                              int32_t FilterParameters::*field) {
    return {id, kCheckBox, bounds, page, text, field, nullptr, 0, 0, kValueChange};
}

using P = FilterParameters;

/* Every item of the dialog, in creation order. The Front and Behind pages are twins sharing bounds. */
const LayoutItem kLayout[] = {
    PatternSpin(8, {180, 60, 240, 80}, kFrontPage, &P::frontPatternIndex),
    FloatSpin(9, {180, 82, 240, 102}, kFrontPage, &P::frontRotate, -360, 360),
    FloatSpin(10, {180, 104, 240, 124}, kFrontPage, &P::frontScaleH, 5, 1000),
    FloatSpin(11, {280, 104, 340, 124}, kFrontPage, &P::frontScaleV, 5, 1000),
    FloatSpin(12, {180, 126, 240, 146}, kFrontPage, &P::frontShiftAngle, -360, 360),
    FloatSpin(13, {280, 126, 340, 146}, kFrontPage, &P::frontShiftDistance, -4000, 4000),
    FloatSpin(14, {180, 148, 240, 168}, kFrontPage, &P::frontShearAngle, -360, 360),
    FloatSpin(15, {280, 148, 340, 168}, kFrontPage, &P::frontShearAxis, -360, 360),
    FloatSpin(16, {180, 170, 240, 190}, kFrontPage, &P::frontReflectAngle, -360, 360),
    {kZoomSpin, kZoomSpinEdit, {430, 265, 490, 285}, kAllPages, nullptr, nullptr, &P::viewZoom, 1, 500, kZoom},
    PatternSpin(30, {180, 60, 240, 80}, kBehindPage, &P::behindPatternIndex),
    FloatSpin(31, {180, 82, 240, 102}, kBehindPage, &P::behindRotate, -360, 360),
    FloatSpin(32, {180, 104, 240, 124}, kBehindPage, &P::behindScaleH, 5, 1000),
    FloatSpin(33, {280, 104, 340, 124}, kBehindPage, &P::behindScaleV, 5, 1000),
    FloatSpin(34, {180, 126, 240, 146}, kBehindPage, &P::behindShiftAngle, -360, 360),
    FloatSpin(35, {280, 126, 340, 146}, kBehindPage, &P::behindShiftDistance, -4000, 4000),
    FloatSpin(36, {180, 148, 240, 168}, kBehindPage, &P::behindShearAngle, -360, 360),
    FloatSpin(37, {280, 148, 340, 168}, kBehindPage, &P::behindShearAxis, -360, 360),
    FloatSpin(38, {180, 170, 240, 190}, kBehindPage, &P::behindReflectAngle, -4000, 4000),
    FloatSpin(4, {180, 60, 240, 80}, kSizePage, &P::shapeWidth, 0, 4000),
    FloatSpin(5, {250, 60, 310, 80}, kSizePage, &P::shapeHeight, 0, 4000),
    FloatSpin(6, {180, 82, 240, 102}, kSizePage, &P::shapeX, -5000, 5000),
    FloatSpin(7, {250, 82, 310, 102}, kSizePage, &P::shapeY, -5000, 5000),
    IntegerSpin(39, {180, 104, 240, 124}, kSizePage, &P::repeatCount, 1, 40),
    Label(111, {10, 60, 148, 80}, kFrontPage, "Front pattern"),
    Label(113, {10, 82, 148, 102}, kFrontPage, "Rotate(o)"),
    Label(115, {10, 104, 148, 124}, kFrontPage, "Scale(%)"),
    Label(117, {10, 126, 148, 146}, kFrontPage, "Shift(o/p)"),
    Label(119, {10, 148, 148, 168}, kFrontPage, "Shear(o)"),
    Label(121, {10, 170, 148, 190}, kFrontPage, "Reflect Angle(o)"),
    Label(112, {10, 60, 148, 80}, kBehindPage, "Behind pattern"),
    Label(114, {10, 82, 148, 102}, kBehindPage, "Rotate(o)"),
    Label(116, {10, 104, 148, 124}, kBehindPage, "Scale(%)"),
    Label(118, {10, 126, 148, 146}, kBehindPage, "Shift(o/p)"),
    Label(120, {10, 148, 148, 168}, kBehindPage, "Shear(o)"),
    Label(122, {10, 170, 148, 190}, kBehindPage, "Reflect Angle(o)"),
    Label(110, {10, 70, 148, 90}, kSizePage, "Dimensions (p)"),
    Label(123, {10, 104, 148, 124}, kSizePage, "Repeats"),
    Popup(kPresetsPopup, {410, 150, 490, 170}, kAllPages),
    Popup(kPatternBlendPopup, {10, 80, 200, 100}, kTweakPage),
    Popup(kLinkingPopup, {10, 110, 200, 130}, kTweakPage),
    Popup(kColorPopup, {10, 140, 200, 160}, kTweakPage),
    Popup(kFillBlendPopup, {10, 170, 200, 190}, kTweakPage),
    Popup(kShapePopup, {10, 200, 220, 220}, kSizePage),
    PictureButton(160, {250, 104, 270, 124}, kFrontPage, kDragTrack),
    PictureButton(161, {350, 104, 370, 124}, kFrontPage, kDragTrack),
    PictureButton(162, {250, 104, 270, 124}, kBehindPage, kDragTrack),
    PictureButton(163, {350, 104, 370, 124}, kBehindPage, kDragTrack),
    PictureButton(164, {250, 82, 270, 102}, kFrontPage, kDragTrack),
    PictureButton(165, {250, 82, 270, 102}, kBehindPage, kDragTrack),
    PictureButton(166, {250, 60, 270, 80}, kFrontPage, kDragTrack),
    PictureButton(167, {250, 60, 270, 80}, kBehindPage, kDragTrack),
    TextButton(kOKButton, {410, 10, 490, 30}, "OK", kOK),
    TextButton(2, {410, 40, 490, 60}, "Cancel", kNoProcedure),
    TextButton(kShuffleButton, {410, 70, 490, 90}, "Shuffle", kValueChange),
    TextButton(kTumbleButton, {410, 100, 490, 120}, "Tumble", kTumble),
    CheckBox(54, {10, 200, 150, 214}, kFrontPage, "Reflect [R]", &P::frontReflect),
    CheckBox(62, {10, 200, 150, 214}, kBehindPage, "Reflect [R]", &P::behindReflect),
    CheckBox(kPreviewCheckBox, {410, 130, 490, 144}, kAllPages, "Preview", &P::preview),
    CheckBox(50, {10, 60, 44, 74}, kSettingsPage, "1", &P::randomFrontRotate),
    CheckBox(58, {45, 60, 250, 74}, kSettingsPage, "Rotate 2[R]", &P::randomBehindRotate),
    CheckBox(51, {10, 77, 44, 91}, kSettingsPage, "1", &P::randomFrontScale),
    CheckBox(59, {45, 77, 250, 91}, kSettingsPage, "Scale 2[R]", &P::randomBehindScale),
    CheckBox(57, {10, 94, 44, 108}, kSettingsPage, "1", &P::randomFrontShift),
    CheckBox(65, {45, 94, 250, 108}, kSettingsPage, "Shift 2[R]", &P::randomBehindShift),
    CheckBox(56, {10, 111, 44, 125}, kSettingsPage, "1", &P::randomFrontShear),
    CheckBox(64, {45, 111, 250, 125}, kSettingsPage, "Shear 2[R]", &P::randomBehindShear),
    CheckBox(55, {10, 128, 44, 142}, kSettingsPage, "1", &P::randomFrontReflectAngle),
    CheckBox(63, {45, 128, 250, 142}, kSettingsPage, "Reflection 2[R]", &P::randomBehindReflectAngle),
    CheckBox(52, {10, 145, 44, 159}, kSettingsPage, "1", &P::randomFrontOpacity),
    CheckBox(60, {45, 145, 200, 159}, kSettingsPage, "Opacity 2[R]", &P::randomBehindOpacity),
    CheckBox(53, {10, 162, 44, 176}, kSettingsPage, "1", &P::randomFrontPattern),
    CheckBox(61, {45, 162, 250, 176}, kSettingsPage, "Pattern 2[R]", &P::randomBehindPattern),
    CheckBox(66, {10, 179, 250, 193}, kSettingsPage, "Use swatch", &P::useSwatch),
    CheckBox(68, {10, 196, 250, 210}, kSettingsPage, "No permanent style", &P::noPermanentStyle),
    CheckBox(67, {10, 213, 250, 227}, kSettingsPage, "Create symbol", &P::createSymbol),
    CheckBox(69, {10, 230, 250, 244}, kSettingsPage, "Swap [R]", &P::swapPatterns),
    CheckBox(70, {10, 247, 250, 260}, kSettingsPage, "Link patterns", &P::linkPatterns),
    CheckBox(71, {10, 263, 250, 277}, kSettingsPage, "Link scaling", &P::linkScaling),
    PictureButton(140, {10, 5, 60, 35}, kAllPages, kPageSwitch),
    PictureButton(141, {80, 5, 130, 35}, kAllPages, kPageSwitch),
    PictureButton(142, {150, 5, 200, 35}, kAllPages, kPageSwitch),
    PictureButton(143, {220, 5, 270, 35}, kAllPages, kPageSwitch),
    PictureButton(144, {290, 5, 340, 35}, kAllPages, kPageSwitch),
    Label(145, {14, 40, 68, 55}, kAllPages, "Front"),
    Label(146, {80, 40, 140, 55}, kAllPages, "Behind"),
    Label(147, {159, 40, 200, 55}, kAllPages, "Size"),
    Label(148, {223, 40, 270, 55}, kAllPages, "Tweak"),
    Label(149, {284, 40, 342, 55}, kAllPages, "Settings"),
};

static_assert(sizeof(kLayout) / sizeof(kLayout[0]) == 89, "the dialog has 89 items");

ADMItemNotifyProc NotifyProcedure(LayoutProcedure procedure) {
    switch (procedure) {
        case kValueChange:
            return ValueChangeHandler;
        case kZoom:
            return ZoomHandler;
        case kOK:
            return OKHandler;
        case kPageSwitch:
            return PageSwitch;
        case kTumble:
            return TumbleHandler;
        case kNoProcedure:
        case kDragTrack:
            break;
    }
    return nullptr;
}

void ConfigureIntegerSpin(ADMItemRef item, const LayoutItem& layout, const FilterParameters* parameters,
                          int32_t lastPatternIndex) {
    const bool patternIndex = layout.kind == kPatternIndexSpin;
    sADMItem->SetIntValue(item, parameters->*layout.intField);
    sADMItem->SetMinIntValue(item, patternIndex ? 0 : static_cast<int32_t>(layout.minimum));
    sADMItem->SetMaxIntValue(item, patternIndex ? lastPatternIndex : static_cast<int32_t>(layout.maximum));
    sADMItem->SetUnits(item, kADMNoUnits);
    sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
}

void ConfigureFloatSpin(ADMItemRef item, const LayoutItem& layout, const FilterParameters* parameters) {
    sADMItem->SetFloatValue(item, parameters->*layout.realField);
    sADMItem->SetMinFloatValue(item, layout.minimum);
    sADMItem->SetMaxFloatValue(item, layout.maximum);
    sADMItem->SetUnits(item, kADMNoUnits);
    sADMItem->SetPrecision(item, 2);
    sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
}

/* The zoom is given its range first so that a stored zoom survives on a toolkit with a narrow default. */
void ConfigureZoomSpin(ADMItemRef item, const LayoutItem& layout, const FilterParameters* parameters) {
    sADMItem->SetUnits(item, kADMNoUnits);
    sADMItem->SetMinFloatValue(item, layout.minimum);
    sADMItem->SetMaxFloatValue(item, layout.maximum);
    sADMItem->SetPrecision(item, 2);
    sADMItem->SetFloatValue(item, parameters->*layout.realField);
    sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
}

void ConfigureItem(ADMItemRef item, const LayoutItem& layout, const FilterParameters* parameters,
                   int32_t lastPatternIndex) {
    switch (layout.kind) {
        case kPatternIndexSpin:
        case kIntegerSpin:
            ConfigureIntegerSpin(item, layout, parameters, lastPatternIndex);
            break;
        case kFloatSpin:
            ConfigureFloatSpin(item, layout, parameters);
            break;
        case kZoomSpinEdit:
            ConfigureZoomSpin(item, layout, parameters);
            break;
        case kStaticText:
            sADMItem->SetText(item, layout.text);
            break;
        case kPopupList:
            break;
        case kPictureButton:
            if (layout.procedure == kDragTrack) {
                sADMItem->SetTrackProc(item, DragTracker);
            } else {
                sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
            }
            break;
        case kTextButton:
            if (layout.procedure != kNoProcedure) {
                sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
            }
            sADMItem->SetText(item, layout.text);
            break;
        case kCheckBox:
            sADMItem->SetBooleanValue(item, parameters->*layout.intField != 0 ? kASTrue : kASFalse);
            sADMItem->SetNotifyProc(item, NotifyProcedure(layout.procedure));
            sADMItem->SetText(item, layout.text);
            break;
    }
    /* A freshly built dialog shows the Front page; the page refresh then picks the stored one. */
    if (layout.page != kAllPages && layout.page != kFrontPage) {
        sADMItem->Show(item, kASFalse);
    }
}

const char* ItemType(LayoutKind kind) {
    switch (kind) {
        case kPatternIndexSpin:
        case kIntegerSpin:
        case kFloatSpin:
        case kZoomSpinEdit:
            return kADMSpinEditType;
        case kStaticText:
            return kADMTextStaticType;
        case kPopupList:
            return kADMPopupListType;
        case kPictureButton:
            return kADMPicturePushButtonType;
        case kTextButton:
            return kADMTextPushButtonType;
        case kCheckBox:
            break;
    }
    return kADMTextCheckBoxType;
}

void CreateItems(ADMDialogRef dialog, const FilterParameters* parameters, int32_t lastPatternIndex) {
    for (const LayoutItem& layout : kLayout) {
        ADMItemRef item =
            sADMDialog->CreateItem(dialog, layout.id, ItemType(layout.kind), &layout.bounds, nullptr, nullptr);
        /* A toolkit that refuses an item leaves a gap in the dialog rather than a dangling configuration. */
        if (item != nullptr) {
            ConfigureItem(item, layout, parameters, lastPatternIndex);
        }
    }
}

}  // namespace

int32_t LastPatternIndex() {
    int32_t count = 0;
    if (sAIPattern->CountPatterns(&count) != kNoErr) {
        count = 0;
    }
    return count > 1 ? count - 1 : 0;
}

FilterParameters* DialogRecord(ADMDialogRef dialog) {
    return static_cast<FilterParameters*>(sADMDialog->GetUserData(dialog));
}

ASErr HOSTAPI SettingsDialogInit(ADMDialogRef dialog) {
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kNoErr;
    }
    if (parameters->dialogBoundsSaved != 0) {
        const ADMRect saved = {parameters->dialogLeft, parameters->dialogTop, parameters->dialogRight,
                               parameters->dialogBottom};
        sADMDialog->SetBoundsRect(dialog, &saved);
    }
    /* Sized after the saved place, so the saved rectangle only decides where the dialog sits. */
    sADMDialog->Size(dialog, 500, 290);
    const int32_t lastPatternIndex = LastPatternIndex();
    CreateItems(dialog, parameters, lastPatternIndex);
    FillPopupLists(dialog, parameters);
    RefreshPage(dialog, parameters);
    return kNoErr;
}
