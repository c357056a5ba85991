/* The About box, and the OK button procedure it shares with the error dialog. */
#ifndef TESSELWRIGHT_ABOUT_BOX_H
#define TESSELWRIGHT_ABOUT_BOX_H

#include "hostapi/hostapi.h"

enum { kAboutDialogResourceID = 16050 };

/* "SP Interface" / "About". Always returns 0. */
ASErr ShowAbout(SPMessageData* message);

/* Init procedure of the About dialog: gives item 1 the OK notification procedure. Returns 0. */
ASErr HOSTAPI AboutDialogInit(ADMDialogRef dialog);

/* The push button's default handling, which ends the modal dialog. Returns 0. */
ASErr HOSTAPI OKNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

#endif
