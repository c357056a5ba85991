#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"

namespace {

/* Every entry begins with a space: it is part of the text the user sees. The ids 1 to 16 of the two
 * blend lists are the host's blending modes in its own numbering. */
const char* const kPatternBlendEntries[] = {
    " Normal blend of front / behind",
    " Multiply",
    " Screen",
    " Overlay",
    " Soft light",
    " Hard light",
    " Colour dodge",
    " Colour burn",
    " Darken",
    " Lighten",
    " Difference",
    " Exclusion",
    " Hue",
    " Saturation",
    " Colour",
    " Luminosity",
    " Randomized blend mode",
};

const char* const kFillBlendEntries[] = {
    " Normal blend of fill color",
    " Multiply",
    " Screen",
    " Overlay",
    " Soft light",
    " Hard light",
    " Colour dodge",
    " Colour burn",
    " Darken",
    " Lighten",
    " Difference",
    " Exclusion",
    " Hue",
    " Saturation",
    " Colour",
    " Luminosity",
    " Randomized blend mode",
    " No randomized fill applied",
};

const char* const kPresetEntries[] = {
    " Reset",      " 400% scaled", " Random fill / multiply", " Star",           " Randomized pattern art",
    " Difference", " Color mix",   " Subtle rotate",          " Multiple fills", " Random patterns",
};

const char* const kShapeEntries[] = {
    " Rectangle", " Oval",  " Triangle", " Hexagon", " Star3",  " Star4",
    " Star5",     " Star6", " Star7",    " Star8",   " Star12",
};

const char* const kColorEntries[] = {
    " No color modifications to pattern",
    " Random color pattern 1+2",
    " Random color pattern 1",
    " Random color pattern 2",
    " Negative color pattern 1+2",
    " Negative color pattern 1",
    " Negative color pattern 2",
    " Jitter color pattern 1+2",
    " Jitter color pattern 1",
    " Jitter color pattern 2",
    " Channel 1 randomized",
    " Channel 2 randomized",
    " Channel 3 randomized",
    " Channel 4 randomized",
};

const char* const kLinkingEntries[] = {
    " No linking of transformation settings",
    " Link behind to front settings",
    " Link behind to front settings perpendicular",
    " Link behind to half front settings",
    " Link accumulate 2",
    " Link 2 to rotate 1 factor",
};

template <int32_t N>
constexpr int32_t CountOf(const char* const (&)[N]) {
    return N;
}

struct PopupListDefinition {
    int32_t id;
    const char* const* entries;
    int32_t entryCount;
    int32_t FilterParameters::*field;
    ADMItemNotifyProc procedure;
};

/* The list phase's order. */
const PopupListDefinition kPopupLists[] = {
    {kPatternBlendPopup, kPatternBlendEntries, CountOf(kPatternBlendEntries), &FilterParameters::patternBlendMode,
     ValueChangeHandler},
    {kFillBlendPopup, kFillBlendEntries, CountOf(kFillBlendEntries), &FilterParameters::fillBlendMode,
     ValueChangeHandler},
    {kPresetsPopup, kPresetEntries, CountOf(kPresetEntries), &FilterParameters::presetIndex, PresetsHandler},
    {kShapePopup, kShapeEntries, CountOf(kShapeEntries), &FilterParameters::baseShape, ValueChangeHandler},
    {kColorPopup, kColorEntries, CountOf(kColorEntries), &FilterParameters::colorModification, ValueChangeHandler},
    {kLinkingPopup, kLinkingEntries, CountOf(kLinkingEntries), &FilterParameters::transformLinking,
     ValueChangeHandler},
};

void FillPopupList(ADMDialogRef dialog, const PopupListDefinition& definition,
                   const FilterParameters* parameters) {
    ADMItemRef popup = sADMDialog->GetItem(dialog, definition.id);
    if (popup == nullptr) {
        return;
    }
    ADMListRef list = sADMItem->GetList(popup);
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, definition.id), definition.procedure);
    if (list == nullptr) {
        return;
    }
    /* Ids equal positions: the stored value is the position of the chosen entry, both ways. */
    for (int32_t i = 0; i < definition.entryCount; ++i) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        if (entry == nullptr) {
            continue;
        }
        sADMEntry->SetText(entry, definition.entries[i]);
        sADMEntry->SetID(entry, i);
    }
    ADMEntryRef chosen = sADMList->IndexEntry(list, parameters->*definition.field);
    /* A preset index no list entry matches (a record from before presets were stored) shows " Reset"
     * without applying it: choosing a preset is what applies one. */
    if (chosen == nullptr && definition.id == kPresetsPopup) {
        chosen = sADMList->IndexEntry(list, 0);
    }
    if (chosen != nullptr) {
        sADMEntry->Select(chosen, kASTrue);
    }
}

}  // namespace

void FillPopupLists(ADMDialogRef dialog, const FilterParameters* parameters) {
    for (const PopupListDefinition& definition : kPopupLists) {
        FillPopupList(dialog, definition, parameters);
    }
}

bool ReadPopupChoice(ADMItemRef popup, int32_t* choice) {
    if (popup == nullptr) {
        return false;
    }
    ADMListRef list = sADMItem->GetList(popup);
    if (list == nullptr) {
        return false;
    }
    ADMEntryRef entry = sADMList->GetActiveEntry(list);
    if (entry == nullptr) {
        return false;
    }
    *choice = sADMEntry->GetID(entry);
    return true;
}

bool SelectPopupEntry(ADMItemRef popup, int32_t position) {
    if (popup == nullptr) {
        return false;
    }
    ADMListRef list = sADMItem->GetList(popup);
    if (list == nullptr) {
        return false;
    }
    ADMEntryRef entry = sADMList->IndexEntry(list, position);
    if (entry == nullptr) {
        return false;
    }
    sADMEntry->Select(entry, kASTrue);
    return true;
}
