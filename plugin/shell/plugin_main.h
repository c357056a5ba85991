/* The plug-in's entry point and the state it keeps between the host's messages. */
#ifndef TESSELWRIGHT_PLUGIN_MAIN_H
#define TESSELWRIGHT_PLUGIN_MAIN_H

#include "hostapi/hostapi.h"

#if defined(_WIN32)
#define TESSELWRIGHT_EXPORT __declspec(dllexport)
#else
#define TESSELWRIGHT_EXPORT __attribute__((visibility("default")))
#endif

/* The globals block: allocated through the host at "Startup", handed to the host at "Unload", taken back
 * at "Reload" and freed at "Shutdown". The host never looks inside it. */
struct PluginGlobals {
    AIFilterHandle filterHandle; /* what AddFilter returned for our one filter */
    int32_t filterCount;         /* filters registered at start-up: 1 after a successful registration */
};

/* Null until "Startup" and again after a successful "Shutdown"; filter registration and the filter
 * dispatch read and write the block through it. */
extern PluginGlobals* gGlobals;

extern "C" TESSELWRIGHT_EXPORT ASErr HOSTAPI PluginMain(const char* caller, const char* selector, void* message);

/* "SP Interface" / "Startup": allocates the globals block and registers the filter. */
ASErr Startup(SPMessageData* message);

/* "SP Interface" / "Shutdown": frees the globals block and clears the host's globals field. Returns the
 * result of re-acquiring the SP Blocks Suite. */
ASErr Shutdown(SPMessageData* message);

/* "SP Access" / "Unload" and "Reload": the globals pointer travels through the host while our code is
 * unloaded. Both return 0. */
ASErr Unload(SPMessageData* message);
ASErr Reload(SPMessageData* message);

#endif
