#include "shell/filter_registration.h"

#include "shell/index_string.h"
#include "shell/plugin_main.h"
#include "shell/string_convert.h"
#include "shell/suite_table.h"

namespace {

/* The host takes the texts length-prefixed; both fit, being read with at most 65 characters. */
ASErr AddOneFilter(SPMessageData* message, char* category, char* title) {
    PlatformAddFilterData data;
    data.category = reinterpret_cast<unsigned char*>(ToLengthPrefixed(category));
    data.title = reinterpret_cast<unsigned char*>(ToLengthPrefixed(title));
    return sAIFilter->AddFilter(message->self, kFilterName, &data, 0, &gGlobals->filterHandle);
}

/* The host enables the item by itself whenever a document is open, without any art condition. */
ASErr EnableMenuItemAutomatically(AIMenuItemHandle menuItem) {
    return sAIMenu->UpdateMenuItemAutomatically(menuItem, kAutoEnableMenuItemAction, 0, 0, 0, 0, kIfOpenDocument,
                                                0);
}

}  // namespace

/* Only the first (category, title) pair is registered: the plug-in has one filter. */
ASErr RegisterFilters(SPMessageData* message) {
    const int32_t index = 1;
    int32_t filterCount = 0;
    ASErr result = kNoErr;

    char category[kMenuTextMaxLength + 1];
    char title[kMenuTextMaxLength + 1];
    ReadIndexString(message->self, kFilterStringList, index, category, kMenuTextMaxLength);
    if (category[0] != '\0') {
        ReadIndexString(message->self, kFilterStringList, index + 1, title, kMenuTextMaxLength);
        ASErr error = AddOneFilter(message, category, title);
        if (error != kNoErr)
            return error;
        AIMenuItemHandle menuItem = nullptr;
        error = sAIFilter->GetFilterMenuItem(gGlobals->filterHandle, &menuItem);
        if (error != kNoErr)
            return error;
        result = EnableMenuItemAutomatically(menuItem);
        ++filterCount;
    }
    gGlobals->filterCount = filterCount;
    return result;
}
