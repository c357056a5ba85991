/* The error report: the message of string list 16050 for a failed request's code, shown with the code in
 * the modal "Error Dialog". */
#ifndef TESSELWRIGHT_ERROR_REPORT_H
#define TESSELWRIGHT_ERROR_REPORT_H

#include "hostapi/hostapi.h"

enum {
    kErrorStringList = 16050, /* key, message, key, message, ... from entry 1 on; an empty key ends it */
    kErrorDialogResourceID = 16051,
    kErrorDialogMessageItem = 2,
    kErrorDialogCodeItem = 3
};

/* The error dialog's user data. */
struct ErrorReport {
    char message[256]; /* zero-terminated */
    char codeText[16]; /* the code as a decimal number or as four characters, zero-terminated */
};

/* Shows the error dialog for `code`; shows nothing for 0, kCanceledErr, or while a suite it needs is not
 * held. Never changes the code the caller returns. */
void ReportError(SPMessageData* message, ASErr code);

/* Init procedure of the error dialog: OK closes it, items 2 and 3 show the message and the code text. */
ASErr HOSTAPI ErrorDialogInit(ADMDialogRef dialog);

#endif
