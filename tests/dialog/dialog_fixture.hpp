#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/dialog_toolkit.hpp"
#include "dialog/user.hpp"
#include "document/document.hpp"
#include "params/filter_parameters.h"
#include "support/plugin_host.hpp"

namespace dialog_tests {

using simhost::Dialog;
using simhost::UserAction;

inline constexpr const char* kDialogName = "Vrom_Tesselwright";

// The filter started, with its record made once (the first dialog cancelled, so the document is as it was
// and the record holds its defaults). Tests then change the record or the document and open the dialog.
class DialogTest : public testing_support::PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        start();
        host->dialogs().script(kDialogName, {UserAction::cancel()});
        ASSERT_EQ(host->getParameters(), kCanceledErr);
        ASSERT_NE(host->parameters(), nullptr);
    }

    FilterParameters& record() { return *static_cast<FilterParameters*>(*host->parameters()); }

    // One Get Parameters with the user's actions; the result code of the request.
    ASErr openDialog(std::vector<UserAction> actions) {
        host->dialogs().script(kDialogName, std::move(actions));
        return host->getParameters();
    }

    // Replaces the document's pattern swatches with `count` plain ones.
    void useSwatches(int count) {
        simhost::Document& document = host->document();
        document.clearPatterns();
        for (int i = 0; i < count; ++i) {
            document.addPattern("Swatch " + std::to_string(i + 1),
                                {simhost::Document::gray(0.1f * float(i % 10))});
        }
    }

    std::size_t artCount() { return host->document().topLevelArt().size(); }

    // Failures of the run (an action the user could not perform, random numbers that ran out).
    std::string failures() const {
        std::string all;
        for (const std::string& failure : host->failures()) {
            all += failure + "\n";
        }
        return all;
    }
};

// The ids of the items a page shows, and those shown on every page.
inline const std::vector<int32_t>& pageMembers(int page) {
    static const std::vector<std::vector<int32_t>> members = {
        {1, 2, 3, 45, 80, 81, 95, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149},
        {8, 9, 10, 11, 12, 13, 14, 15, 16, 111, 113, 115, 117, 119, 121, 54, 160, 161, 164, 166},
        {30, 31, 32, 33, 34, 35, 36, 37, 38, 112, 114, 116, 118, 120, 122, 62, 162, 163, 165, 167},
        {4, 5, 6, 7, 39, 110, 123, 91},
        {90, 93, 94, 96},
        {50, 51, 52, 53, 55, 56, 57, 58, 59, 60, 61, 63, 64, 65, 66, 67, 68, 69, 70, 71},
    };
    return members.at(static_cast<std::size_t>(page));
}

}  // namespace dialog_tests
