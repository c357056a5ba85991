/* The settings dialog: built in code over the empty frame of dialog resource 16100. */
#ifndef TESSELWRIGHT_SETTINGS_DIALOG_H
#define TESSELWRIGHT_SETTINGS_DIALOG_H

#include "hostapi/hostapi.h"

enum { kSettingsDialogResourceID = 16100 };

/* The dialog's init procedure, passed to Modal with the FilterParameters record as user data.
 * Always returns 0. */
ASErr HOSTAPI SettingsDialogInit(ADMDialogRef dialog);

#endif
