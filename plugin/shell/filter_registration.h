/* Registration of the filter with the host at start-up. */
#ifndef TESSELWRIGHT_FILTER_REGISTRATION_H
#define TESSELWRIGHT_FILTER_REGISTRATION_H

#include "hostapi/hostapi.h"

enum {
    kFilterStringList = 16000, /* (category, title) pairs from entry 1 on */
    kMenuTextMaxLength = 65    /* characters read of a category or title */
};

#define kFilterName "Vrom_Tesselwright"

/* Registers the filter of the first (category, title) pair of string list 16000 and lets the host enable
 * its menu item. Writes filterHandle and filterCount of the globals block. Returns 0 or a host code. */
ASErr RegisterFilters(SPMessageData* message);

#endif
