#include "hostapi/hostapi.h"

// Stub: the shell helper replaces this.
extern "C" __attribute__((visibility("default"))) ASErr HOSTAPI PluginMain(const char*, const char*, void*) {
    return kNoErr;
}
