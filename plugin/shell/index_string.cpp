#include "shell/index_string.h"

#include "shell/suite_table.h"

ASErr ReadIndexString(SPPluginRef self, int32_t listID, int32_t index, char* buffer, int32_t maxLength) {
    ASErr error = sADMBasic->GetIndexString(self, listID, index, buffer, maxLength);
    if (error != kNoErr)
        buffer[0] = '\0';
    return error;
}
