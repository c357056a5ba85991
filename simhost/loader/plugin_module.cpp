#include "plugin_module.hpp"

#include <fstream>

#include "core/host_error.hpp"
#include "resources/resource_readers.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace simhost {

namespace {

std::string cannotLoad(const std::filesystem::path& file) {
    return "cannot load plug-in " + file.string() + ": ";
}

// The entry point the property list names; the host assumes no name of its own.
std::string entryPointName(const ResourceSet& resources, const std::filesystem::path& file) {
    if (!resources.propertyList)
        throw HostError(cannotLoad(file) + "its resources have no plug-in property list (PIPL 16000).");
    std::optional<std::string> name = resources.propertyList->entryPoint();
    if (!name)
        throw HostError(cannotLoad(file) + "its property list names no entry point (no 'ADBE' 'wx86' property).");
    return *name;
}

#ifdef _WIN32

// The system's own sentence for an error code, with its number.
std::string systemMessage(DWORD code) {
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    // Messages that expect the file's name say "%1"; the caller names the file already.
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1"))
        text.replace(at, 2, "the file");
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return (text.empty() ? "unknown error" : text) + " (error " + std::to_string(code) + ").";
}

class WindowsPluginModule final : public PluginModule {
  public:
    explicit WindowsPluginModule(const std::filesystem::path& file) : path_(file) {
        module_ = LoadLibraryW(file.wstring().c_str());
        if (module_ == nullptr)
            throw HostError(cannotLoad(file) + "Windows could not load it: " + systemMessage(GetLastError()));
        try {
            try {
                resources_ = readModuleResources(module_, file.string());
            } catch (const HostError& unreadable) {
                throw HostError(cannotLoad(file) + unreadable.what());
            }
            std::string name = entryPointName(resources_, file);
            entry_ =
                reinterpret_cast<PluginMainProc>(reinterpret_cast<void*>(GetProcAddress(module_, name.c_str())));
            if (entry_ == nullptr)
                throw HostError(cannotLoad(file) + "it does not export the entry point '" + name +
                                "' that its property list names.");
        } catch (...) {
            FreeLibrary(module_);
            throw;
        }
    }
    ~WindowsPluginModule() override { FreeLibrary(module_); }

    PluginMainProc entry() const override { return entry_; }
    const ResourceSet& resources() const override { return resources_; }
    const std::filesystem::path& path() const override { return path_; }

  private:
    std::filesystem::path path_;
    HMODULE module_ = nullptr;
    ResourceSet resources_;
    PluginMainProc entry_ = nullptr;
};

#else

class SharedLibraryPluginModule final : public PluginModule {
  public:
    explicit SharedLibraryPluginModule(const std::filesystem::path& file) : path_(file) {
        if (isWindowsExecutable(file))
            throw HostError(cannotLoad(file) +
                            "it is a Windows library, which this system cannot load "
                            "(`tesselwright inspect` reads its resources).");
        // A path without a slash would make dlopen search the library path instead of opening this file.
        std::filesystem::path absolute = std::filesystem::absolute(file);
        handle_ = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) {
            const char* reason = dlerror();
            throw HostError(cannotLoad(file) + (reason != nullptr ? reason : "the system could not load it") +
                            ".");
        }
        try {
            std::filesystem::path resourceFile = resourceFileFor(file);
            std::error_code error;
            if (!std::filesystem::exists(resourceFile, error))
                throw HostError(cannotLoad(file) + "its resource file " + resourceFile.string() +
                                " is missing (it is built beside the library).");
            try {
                resources_ = readResourceFile(resourceFile);
            } catch (const HostError& unreadable) {
                throw HostError(cannotLoad(file) + unreadable.what());
            }
            std::string name = entryPointName(resources_, file);
            dlerror();
            void* symbol = dlsym(handle_, name.c_str());
            if (symbol == nullptr)
                throw HostError(cannotLoad(file) + "it does not export the entry point '" + name +
                                "' that its property list names.");
            entry_ = reinterpret_cast<PluginMainProc>(symbol);
        } catch (...) {
            dlclose(handle_);
            throw;
        }
    }
    ~SharedLibraryPluginModule() override { dlclose(handle_); }

    PluginMainProc entry() const override { return entry_; }
    const ResourceSet& resources() const override { return resources_; }
    const std::filesystem::path& path() const override { return path_; }

  private:
    std::filesystem::path path_;
    void* handle_ = nullptr;
    ResourceSet resources_;
    PluginMainProc entry_ = nullptr;
};

#endif

}  // namespace

std::filesystem::path resourceFileFor(const std::filesystem::path& library) {
    std::filesystem::path resourceFile = library;
    resourceFile.replace_extension(".res");
    return resourceFile;
}

bool isWindowsExecutable(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    char magic[2] = {};
    return stream.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

ResourceSet readPluginResources(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        throw HostError("cannot read plug-in " + file.string() + ": no such file.");
    if (isWindowsExecutable(file))
        return readPeFile(file);
    std::filesystem::path resourceFile = resourceFileFor(file);
    if (!std::filesystem::exists(resourceFile, error))
        throw HostError("cannot read plug-in " + file.string() +
                        ": it is not a Windows library, and the resource file " + resourceFile.string() +
                        " that a shared-library plug-in ships beside it is missing.");
    return readResourceFile(resourceFile);
}

std::unique_ptr<PluginModule> PluginModule::load(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        throw HostError(cannotLoad(file) + "no such file.");
#ifdef _WIN32
    return std::make_unique<WindowsPluginModule>(file);
#else
    return std::make_unique<SharedLibraryPluginModule>(file);
#endif
}

}  // namespace simhost
