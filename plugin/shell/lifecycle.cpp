#include "shell/filter_registration.h"
#include "shell/plugin_main.h"
#include "shell/suite_bracket.h"
#include "shell/suite_table.h"

PluginGlobals* gGlobals = nullptr;

ASErr Startup(SPMessageData* message) {
    void* block = nullptr;
    ASErr error = sSPBlocks->AllocateBlock(sizeof(PluginGlobals), "globals", &block);
    if (error != kNoErr)
        return error;
    /* Registration writes into the block; a host that reports success without one has none to give. */
    if (block == nullptr)
        return kOutOfMemoryErr;
    gGlobals = static_cast<PluginGlobals*>(block);
    return RegisterFilters(message);
}

/* The SP Blocks Suite is acquired once more on its own, so the block can be freed with a suite reference
 * of this call's making whatever the bracket holds. */
ASErr Shutdown(SPMessageData* message) {
    const void** blocks = reinterpret_cast<const void**>(&sSPBlocks);
    ASErr error = message->basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, blocks);
    if (error == kNoErr) {
        /* A "Shutdown" without a "Startup" has no block to free. */
        if (gGlobals != nullptr)
            sSPBlocks->FreeBlock(gGlobals);
        gGlobals = nullptr;
        message->basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    }
    message->globals = nullptr;
    return error;
}

ASErr Unload(SPMessageData* message) {
    message->globals = gGlobals;
    return kNoErr;
}

ASErr Reload(SPMessageData* message) {
    gGlobals = static_cast<PluginGlobals*>(message->globals);
    ResetSuiteNesting();
    return kNoErr;
}
