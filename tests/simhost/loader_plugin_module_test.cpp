// Loading the plug-in library, and the ways loading it can fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/host_error.hpp"
#include "loader/plugin_module.hpp"
#include "resources_test_files.hpp"

namespace {

using namespace resources_test;
using simhost::HostError;
using simhost::PluginModule;
using ::testing::HasSubstr;

std::string loadError(const std::filesystem::path& file) {
    try {
        PluginModule::load(file);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST(PluginLoader, LoadsTheBuiltPluginByTheEntryPointItsPropertyListNames) {
    auto module = PluginModule::load(testing_support::pluginPath());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(module->entry(), nullptr);
    EXPECT_EQ(module->path(), testing_support::pluginPath());
    EXPECT_EQ(module->resources().string(16002), "Tesselwright...");
    ASSERT_TRUE(module->resources().propertyList);
    EXPECT_EQ(module->resources().propertyList->entryPoint(), "PluginMain");
}

TEST(PluginLoader, ReadsResourcesWithoutLoading) {
    EXPECT_EQ(simhost::readPluginResources(testing_support::pluginPath()).string(16001), "Yrk <Create>");
    if (std::filesystem::exists(builtWindowsPlugin())) {
        EXPECT_EQ(simhost::readPluginResources(builtWindowsPlugin()).string(16001), "Yrk <Create>");
    }
    try {
        simhost::readPluginResources("/nonexistent/Vrom_Tesselwright.so");
        ADD_FAILURE() << "read a missing file";
    } catch (const HostError& error) {
        EXPECT_THAT(error.what(), HasSubstr("no such file"));
    }
}

TEST(PluginLoader, FailuresNameTheFileAndTheReason) {
    ScratchFolder folder("loader");
    const auto& dir = folder.path();
    const Bytes library = readFile(testing_support::pluginPath());
    auto pipl = [](const std::string& entry) {
        std::vector<std::pair<uint32_t, Bytes>> properties = {{kKeyKind, {0x41, 0x45, 0x50, 0x53}}};
        if (!entry.empty())
            properties.push_back({kKeyEntryPoint, zeroTerminated(entry)});
        return resFile({{0, u"PIPL", 16000, propertyList(properties)}});
    };
    // Each case: a library and the resource file beside it (none when empty).
    struct Case {
        std::string name;
        Bytes library;
        Bytes resources;
        std::vector<std::string> message;
    };
    Bytes windows = {'M', 'Z'};
    windows.resize(256, 0);
    const std::vector<Case> cases = {
        {"not_a_library", Bytes(200, 'x'), pipl("PluginMain"), {"cannot load plug-in", "not_a_library.so"}},
        {"windows_library", windows, pipl("PluginMain"), {"Windows library"}},
        {"no_resources", library, {}, {"resource file", "no_resources.res", "missing"}},
        {"no_property_list", library, resFile({{6, u"", 1001, Bytes(32, 0)}}), {"no plug-in property list"}},
        {"no_entry_name", library, pipl(""), {"names no entry point"}},
        {"wrong_entry", library, pipl("PluginMainX"), {"does not export the entry point 'PluginMainX'"}},
        {"bad_resources", library, Bytes(40, 0), {"bad_resources.res", "does not start like a compiled resource"}},
    };
    for (const Case& c : cases) {
        std::filesystem::path file = dir / (c.name + ".so");
        writeFile(file, c.library);
        if (!c.resources.empty())
            writeFile(dir / (c.name + ".res"), c.resources);
        std::string message = loadError(file);
        EXPECT_THAT(message, HasSubstr(file.string())) << c.name;
        for (const std::string& part : c.message)
            EXPECT_THAT(message, HasSubstr(part)) << c.name;
    }
    EXPECT_EQ(loadError(dir / "missing.so"),
              "cannot load plug-in " + (dir / "missing.so").string() + ": no such file.");
}

}  // namespace
