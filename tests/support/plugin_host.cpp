#include "plugin_host.hpp"

namespace testing_support {

std::filesystem::path pluginPath() {
    return TESSELWRIGHT_PLUGIN_PATH;
}

void PluginTest::SetUp() {
    host = std::make_unique<simhost::Host>();
    host->loadPlugin(pluginPath());
}

void PluginTest::start() {
    ASSERT_EQ(host->startup(), kNoErr);
}

}  // namespace testing_support
