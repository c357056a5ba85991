#include "dialog/settings_dialog.h"

/* Placeholder until the dialog is written: an empty settings dialog. */
ASErr HOSTAPI SettingsDialogInit(ADMDialogRef dialog) {
    (void)dialog;
    return kNoErr;
}
