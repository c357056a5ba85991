#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "support/plugin_host.hpp"

namespace shell_tests {

inline constexpr const char* kAcquire = "SPBasicSuite.AcquireSuite";
inline constexpr const char* kRelease = "SPBasicSuite.ReleaseSuite";

// What the plug-in's globals block holds, as laid out by the plug-in: the filter handle, then the count.
struct GlobalsView {
    AIFilterHandle filterHandle;
    int32_t filterCount;
};

class ShellTest : public testing_support::PluginTest {
  protected:
    simhost::Journal& journal() { return host->journal(); }

    // The suite names of the journal's entries for one operation, in order.
    std::vector<std::string> suitesIn(const char* operation) const {
        std::vector<std::string> names;
        for (const auto& entry : host->journal().entries())
            if (entry.operation == operation)
                names.push_back(entry.arguments.substr(0, entry.arguments.rfind(", ")));
        return names;
    }

    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const auto& shown : host->shown())
            names.push_back(shown.name);
        return names;
    }

    const simhost::ShownDialog* shown(const std::string& name) const {
        for (const auto& dialog : host->shown())
            if (dialog.name == name)
                return &dialog;
        return nullptr;
    }

    // The globals block, read through the host's globals field after an "Unload".
    GlobalsView globalsAfterUnload() {
        EXPECT_EQ(host->unload(), kNoErr);
        EXPECT_NE(host->globals(), nullptr);
        GlobalsView view{};
        if (host->globals() != nullptr)
            view = *static_cast<const GlobalsView*>(host->globals());
        return view;
    }

    // The text of an item of the dialog of that name opened last.
    std::string itemText(const std::string& dialogName, int32_t itemId) const {
        const simhost::Dialog* dialog = host->dialogs().last(dialogName);
        if (dialog == nullptr)
            return "(no dialog " + dialogName + ")";
        const simhost::Item* item = dialog->item(itemId);
        return item ? item->text() : "(no item)";
    }
};

}  // namespace shell_tests
