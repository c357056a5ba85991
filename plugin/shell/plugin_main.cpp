#include "shell/plugin_main.h"

#include "params/filter_parameters.h"
#include "shell/about_box.h"
#include "shell/error_report.h"
#include "shell/suite_bracket.h"

namespace {

/* Neither message needs a host suite, so both work before "Startup" and after "Shutdown". */
ASErr DispatchAccess(SPBasicSuite* basic, const char* selector, SPMessageData* message) {
    if (basic->IsEqual(selector, kSPAccessUnloadSelector))
        return Unload(message);
    if (basic->IsEqual(selector, kSPAccessReloadSelector))
        return Reload(message);
    return kNoErr;
}

ASErr DispatchInterface(SPBasicSuite* basic, const char* selector, SPMessageData* message);
ASErr DispatchMenu(SPBasicSuite* basic, const char* selector);
ASErr DispatchFilter(SPBasicSuite* basic, const char* selector, AIFilterMessage* message);

ASErr Dispatch(SPBasicSuite* basic, const char* caller, const char* selector, SPMessageData* message) {
    if (basic->IsEqual(caller, kSPInterfaceCaller))
        return DispatchInterface(basic, selector, message);
    if (basic->IsEqual(caller, kCallerAIMenu))
        return DispatchMenu(basic, selector);
    if (basic->IsEqual(caller, kCallerAIFilter))
        return DispatchFilter(basic, selector, reinterpret_cast<AIFilterMessage*>(message));
    return kNoErr;
}

ASErr DispatchInterface(SPBasicSuite* basic, const char* selector, SPMessageData* message) {
    if (basic->IsEqual(selector, kSPInterfaceStartupSelector))
        return Startup(message);
    if (basic->IsEqual(selector, kSPInterfaceAboutSelector)) {
        ShowAbout(message);
        return kNoErr;
    }
    if (basic->IsEqual(selector, kSPInterfaceShutdownSelector))
        return Shutdown(message);
    return kNoErr;
}

/* The filter has no menu command of its own: "AI Go" of the menu caller is not ours to answer. */
ASErr DispatchMenu(SPBasicSuite* basic, const char* selector) {
    if (basic->IsEqual(selector, kSelectorAIGoMenuItem))
        return kBadSelectorErr;
    if (basic->IsEqual(selector, kSelectorAIUpdateMenuItem))
        return kNoErr;
    return kNoErr;
}

/* Only our own registered filter gets the settings dialog; before "Startup" there is none. */
bool IsOurFilter(AIFilterHandle filter) {
    return gGlobals != nullptr && filter == gGlobals->filterHandle;
}

ASErr DispatchFilter(SPBasicSuite* basic, const char* selector, AIFilterMessage* message) {
    if (basic->IsEqual(selector, kSelectorAIGetParameters))
        return IsOurFilter(message->filter) ? GetParameters(message) : kNoErr;
    if (basic->IsEqual(selector, kSelectorAIGoFilter)) {
        Go(message);
        return kNoErr;
    }
    return kNoErr;
}

}  // namespace

ASErr HOSTAPI PluginMain(const char* caller, const char* selector, void* message) {
    SPMessageData* data = static_cast<SPMessageData*>(message);
    if (data == nullptr || data->basic == nullptr)
        return kBadParameterErr;
    SPBasicSuite* basic = data->basic;

    if (basic->IsEqual(caller, kSPAccessCaller))
        return DispatchAccess(basic, selector, data);

    ASErr error = AcquireSuites(basic);
    if (error == kNoErr)
        error = Dispatch(basic, caller, selector, data);
    if (error == kNoErr) {
        ReleaseSuites(basic);
        return kNoErr;
    }
    /* A missing suite has been announced by the suite table where that was possible. */
    if (error != kSPSuiteNotFoundError)
        ReportError(data, error);
    ReleaseSuites(basic);
    return error;
}
