#include "shell/about_box.h"

#include "shell/suite_table.h"

ASErr ShowAbout(SPMessageData* message) {
    sADMDialog->Modal(message->self, "About Dialog", kAboutDialogResourceID, 0, AboutDialogInit, nullptr);
    return kNoErr;
}

ASErr HOSTAPI AboutDialogInit(ADMDialogRef dialog) {
    ADMItemRef ok = sADMDialog->GetItem(dialog, kADMDefaultItemID);
    if (ok != nullptr)
        sADMItem->SetNotifyProc(ok, OKNotifyProc);
    return kNoErr;
}

ASErr HOSTAPI OKNotifyProc(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
