/* The messages the host sends to a plug-in's entry point, and the entry point's shape.
 *
 * The host calls PluginMain(caller, selector, message) with two zero-terminated strings naming the request
 * and a record that starts with SPMessageData. The strings below are the ones the host sends. */
#ifndef HOSTAPI_MESSAGES_H
#define HOSTAPI_MESSAGES_H

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct SPBasicSuite;

/* Common head of every message. */
typedef struct SPMessageData {
    int32_t SPCheck;             /* set by the host to kSPValidSPMessageData; plug-ins need not read it */
    SPPluginRef self;            /* the calling plug-in, to be passed to operations that load its resources */
    void* globals;               /* kept by the host while the plug-in is unloaded */
    struct SPBasicSuite* basic;  /* the SP Basic Suite, valid for the duration of the call */
} SPMessageData;

#define kSPValidSPMessageData ((int32_t)0x53504356) /* 'SPCV' */

/* "AI Filter" messages carry the filter they concern and the filter's parameters handle, which the host
 * keeps for the plug-in between messages. A null handle means the plug-in has not made one yet. */
typedef AIMdMemoryHandle AIFilterParameters;

typedef struct AIFilterMessage {
    SPMessageData d;
    AIFilterHandle filter;
    AIFilterParameters parameters;
} AIFilterMessage;

/* "AI Menu" messages. */
typedef struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem;
} AIMenuMessage;

/* Callers and selectors. */
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceShutdownSelector "Shutdown"
#define kSPInterfaceAboutSelector "About"
#define kCallerAIMenu "AI Menu"
#define kCallerAIFilter "AI Filter"
#define kSelectorAIGetParameters "AI Get Parameters"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIGoFilter "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"

/* The plug-in's entry point; exported by the name its property list gives. */
typedef ASErr(HOSTAPI* PluginMainProc)(const char* caller, const char* selector, void* message);

#ifdef __cplusplus
}
#endif

#endif
