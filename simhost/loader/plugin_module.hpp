#pragma once

#include <filesystem>
#include <memory>

#include "hostapi/messages.h"
#include "resources/resource_set.hpp"

namespace simhost {

// A loaded plug-in library: its resources and the entry point its property list names.
class PluginModule {
  public:
    // Opens the library file, reads its resources (on Linux from the compiled resource file beside it,
    // on Windows through the resource API), and finds the entry point by the name in the property list.
    // Throws HostError with a sentence naming the file and what is wrong.
    static std::unique_ptr<PluginModule> load(const std::filesystem::path& file);

    virtual ~PluginModule() = default;
    virtual PluginMainProc entry() const = 0;
    virtual const ResourceSet& resources() const = 0;
    virtual const std::filesystem::path& path() const = 0;
};

// What a host reads from a plug-in file without loading it: a Windows library (a file starting with "MZ")
// is read through its resource section; any other file is taken for a shared library whose resources are
// in the compiled resource file beside it (see resourceFileFor). Throws HostError.
ResourceSet readPluginResources(const std::filesystem::path& file);

// The compiled resource file that ships beside a shared-library plug-in: same folder, same stem, ".res".
std::filesystem::path resourceFileFor(const std::filesystem::path& library);

// Whether the file starts like a Windows executable ("MZ").
bool isWindowsExecutable(const std::filesystem::path& file);

}  // namespace simhost
