/* Everything a plug-in sees of the host. */
#ifndef HOSTAPI_HOSTAPI_H
#define HOSTAPI_HOSTAPI_H

#include "adm_suites.h"
#include "ai_document.h"
#include "ai_services.h"
#include "ai_style.h"
#include "messages.h"
#include "sp_suites.h"
#include "types.h"

#endif
