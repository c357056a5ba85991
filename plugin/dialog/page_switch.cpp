#include "dialog/dialog_procedures.h"
#include "shell/suite_table.h"

namespace {

struct PageMembers {
    const int32_t* ids;
    int32_t count;
};

/* Members in the order the visibility pass visits them. */
const int32_t kFrontMembers[] = {8,   9,   10,  11,  12,  13, 14,  15,  16,  111,
                                 113, 115, 117, 119, 121, 54, 160, 161, 164, 166};
const int32_t kBehindMembers[] = {30, 31, 32,  33,  34,  38, 35,  112, 114, 116,
                                  36, 37, 118, 120, 122, 62, 162, 163, 165, 167};
const int32_t kSizeMembers[] = {4, 5, 6, 7, 39, 110, 123, 91};
const int32_t kTweakMembers[] = {90, 93, 94, 96};
const int32_t kSettingsMembers[] = {50, 58, 51, 59, 57, 65, 56, 64, 55, 63,
                                    53, 61, 52, 60, 66, 67, 69, 68, 70, 71};

template <int32_t N>
constexpr PageMembers Members(const int32_t (&ids)[N]) {
    return {ids, N};
}

/* Indexed by page number - 1. */
const PageMembers kPageMembers[kPageCount] = {Members(kFrontMembers), Members(kBehindMembers),
                                              Members(kSizeMembers), Members(kTweakMembers),
                                              Members(kSettingsMembers)};

/* The value control a page refresh notifies first, by page number - 1. */
const int32_t kPageFirstControl[kPageCount] = {kFrontPatternSpin, kBehindPatternSpin, kShapeWidthSpin,
                                               kPatternBlendPopup, kRandomFrontRotateCheckBox};

void SetItemFont(ADMDialogRef dialog, int32_t id, int32_t font) {
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (item != nullptr) {
        sADMItem->SetFont(item, font);
    }
}

void ShowPage(ADMDialogRef dialog, int32_t page, bool show) {
    const PageMembers& members = kPageMembers[page - 1];
    for (int32_t i = 0; i < members.count; ++i) {
        ADMItemRef item = sADMDialog->GetItem(dialog, members.ids[i]);
        if (item != nullptr) {
            sADMItem->Show(item, show ? kASTrue : kASFalse);
        }
    }
}

void Notify(ADMDialogRef dialog, int32_t id) {
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (item != nullptr) {
        sADMItem->SendNotify(item, kADMUserChangedNotifier);
    }
}

}  // namespace

ASErr HOSTAPI PageSwitch(ADMItemRef item, ADMNotifierRef) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    FilterParameters* parameters = DialogRecord(dialog);
    if (parameters == nullptr) {
        return kNoErr;
    }
    ADMItemRef buttons[kPageCount];
    for (int32_t i = 0; i < kPageCount; ++i) {
        buttons[i] = sADMDialog->GetItem(dialog, kFrontPageButton + i);
    }
    for (int32_t i = 0; i < kPageCount; ++i) {
        SetItemFont(dialog, kFrontPageCaption + i, kADMDefaultFont);
    }
    /* Only the page buttons carry this procedure; anything else shows the first page. */
    int32_t page = kFrontPage;
    for (int32_t i = 0; i < kPageCount; ++i) {
        if (buttons[i] == item) {
            page = i + 1;
            break;
        }
    }
    parameters->activePage = page;
    SetItemFont(dialog, kFrontPageCaption + page - 1, kADMBoldDialogFont);
    for (int32_t visited = kFrontPage; visited <= kSettingsPage; ++visited) {
        ShowPage(dialog, visited, visited == page);
    }
    return kNoErr;
}

void RefreshPage(ADMDialogRef dialog, const FilterParameters* parameters) {
    int32_t page = parameters->activePage;
    if (page < kFrontPage || page > kSettingsPage) {
        page = kFrontPage;
    }
    /* Both notifications run their procedures to the end before SendNotify returns. */
    Notify(dialog, kPageFirstControl[page - 1]);
    Notify(dialog, kFrontPageButton + page - 1);
}
