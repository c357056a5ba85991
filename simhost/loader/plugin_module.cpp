#include "plugin_module.hpp"

#include "core/host_error.hpp"

namespace simhost {

// Stub: the loader helper replaces this.
std::unique_ptr<PluginModule> PluginModule::load(const std::filesystem::path& file) {
    throw HostError("cannot load " + file.string() + ": the loader is not built yet");
}

}  // namespace simhost
