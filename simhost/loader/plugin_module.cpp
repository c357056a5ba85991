#include "plugin_module.hpp"

#include <fstream>

#include "core/host_error.hpp"
#include "resources/resource_readers.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <type_traits>
#include <vector>
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

// dlopen maps a library's segments straight from the file. Where the file was cut short, the pages past its
// end are mapped all the same, and the first touch of one raises SIGBUS: the host dies without a word. So the
// ELF headers are read here first, and every part the system loader maps must lie within the file.

using NativeElfHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
using NativeProgramHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Phdr, Elf32_Phdr>;
using NativeSectionHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Shdr, Elf32_Shdr>;
constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kNativeByteOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

std::string className(unsigned char elfClass) {
    return elfClass == ELFCLASS64 ? "64-bit" : "32-bit";
}

std::string byteOrderName(unsigned char byteOrder) {
    return byteOrder == ELFDATA2MSB ? "big-endian" : "little-endian";
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

// A library file opened for checking, with reads that never reach past its end.
class LibraryFile {
  public:
    // Non-blocking, so that a named pipe given as the plug-in is refused rather than waited on.
    explicit LibraryFile(const std::filesystem::path& file)
        : file_(file), descriptor_(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        if (descriptor_.get() < 0)
            fail("it cannot be opened for reading: " + std::generic_category().message(errno) + ".");
        struct stat status {};
        if (::fstat(descriptor_.get(), &status) != 0)
            fail("its size cannot be read: " + std::generic_category().message(errno) + ".");
        if (S_ISDIR(status.st_mode))
            fail("it is a folder, not a library file.");
        if (!S_ISREG(status.st_mode))
            fail("it is not a regular file (a device, pipe or socket cannot hold a library).");
        size_ = static_cast<uint64_t>(status.st_size);
    }

    uint64_t size() const { return size_; }

    [[noreturn]] void fail(const std::string& reason) const { throw HostError(cannotLoad(file_) + reason); }

    void requireWithin(const std::string& part, uint64_t offset, uint64_t length) const {
        if (length > size_ || offset > size_ - length)
            fail("it is cut short: its " + part + " at offset " + std::to_string(offset) + " (" +
                 std::to_string(length) + " bytes) runs past the end of the file (" + std::to_string(size_) +
                 " bytes).");
    }

    // Counted in entries, since a damaged count times the entry size may not fit in 64 bits.
    void requireTableWithin(const std::string& part, uint64_t offset, uint64_t count, uint64_t entrySize) const {
        if (count != 0 && entrySize != 0 && (count > size_ / entrySize || offset > size_ - count * entrySize))
            fail("it is cut short: its " + part + " at offset " + std::to_string(offset) + " (" +
                 std::to_string(count) + " entries of " + std::to_string(entrySize) +
                 " bytes) runs past the end of the file (" + std::to_string(size_) + " bytes).");
    }

    // The caller has checked that the range lies within the file; a short read means it shrank meanwhile.
    void read(void* into, size_t length, uint64_t offset) const {
        auto* bytes = static_cast<unsigned char*>(into);
        while (length > 0) {
            ssize_t got = ::pread(descriptor_.get(), bytes, length, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                fail("it cannot be read: " + std::generic_category().message(errno) + ".");
            if (got == 0)
                fail("it became shorter while it was being read.");
            bytes += got;
            length -= static_cast<size_t>(got);
            offset += static_cast<uint64_t>(got);
        }
    }

    template <typename Record>
    Record readRecord(const std::string& part, uint64_t offset) const {
        requireWithin(part, offset, sizeof(Record));
        Record record{};
        read(&record, sizeof record, offset);
        return record;
    }

  private:
    std::filesystem::path file_;
    FileDescriptor descriptor_;
    uint64_t size_ = 0;
};

// Refuses, with a HostError naming the file and the fault, anything dlopen could not map safely.
void checkLoadableLibraryFile(const std::filesystem::path& file) {
    LibraryFile library(file);
    if (library.size() == 0)
        library.fail("it is empty (0 bytes).");

    unsigned char ident[EI_NIDENT] = {};
    const auto present = static_cast<size_t>(std::min<uint64_t>(library.size(), EI_NIDENT));
    library.read(ident, present, 0);
    if (std::memcmp(ident, ELFMAG, std::min<size_t>(present, SELFMAG)) != 0)
        library.fail("it is not a shared library: it does not start with the ELF signature (0x7F 'E' 'L' 'F').");
    library.requireWithin("ELF identification", 0, EI_NIDENT);
    const unsigned char elfClass = ident[EI_CLASS];
    if (elfClass != ELFCLASS32 && elfClass != ELFCLASS64)
        library.fail("its ELF class byte is " + std::to_string(elfClass) +
                     ", which names neither 32-bit nor 64-bit.");
    if (elfClass != kNativeClass)
        library.fail("it is a " + className(elfClass) + " library, and this host is " + className(kNativeClass) +
                     ".");
    const unsigned char byteOrder = ident[EI_DATA];
    if (byteOrder != ELFDATA2LSB && byteOrder != ELFDATA2MSB)
        library.fail("its ELF byte-order byte is " + std::to_string(byteOrder) +
                     ", which names neither little- nor big-endian.");
    if (byteOrder != kNativeByteOrder)
        library.fail("it is a " + byteOrderName(byteOrder) + " library, and this host is " +
                     byteOrderName(kNativeByteOrder) + ".");

    // Class and byte order match this machine, so the records can be read as they lie in the file.
    const auto header = library.readRecord<NativeElfHeader>("ELF header", 0);

    if (header.e_phnum != 0 && header.e_phentsize != sizeof(NativeProgramHeader))
        library.fail("its program headers are " + std::to_string(header.e_phentsize) + " bytes each, not the " +
                     std::to_string(sizeof(NativeProgramHeader)) + " of its ELF class.");
    library.requireTableWithin("program header table", header.e_phoff, header.e_phnum,
                               sizeof(NativeProgramHeader));
    std::vector<NativeProgramHeader> segments(header.e_phnum);
    library.read(segments.data(), segments.size() * sizeof(NativeProgramHeader), header.e_phoff);
    for (const NativeProgramHeader& segment : segments) {
        if (segment.p_type == PT_LOAD)
            library.requireWithin("loadable segment", segment.p_offset, segment.p_filesz);
    }

    if (header.e_shoff != 0) {
        // With more sections than the header's count can hold, the count is kept in the first section header.
        uint64_t sections = header.e_shnum;
        if (sections == 0)
            sections = library.readRecord<NativeSectionHeader>("first section header", header.e_shoff).sh_size;
        library.requireTableWithin("section header table", header.e_shoff, sections, header.e_shentsize);
    }
}

class SharedLibraryPluginModule final : public PluginModule {
  public:
    explicit SharedLibraryPluginModule(const std::filesystem::path& file) : path_(file) {
        if (isWindowsExecutable(file))
            throw HostError(cannotLoad(file) +
                            "it is a Windows library, which this system cannot load "
                            "(`tesselwright inspect` reads its resources).");
        checkLoadableLibraryFile(file);
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
    if (std::filesystem::is_directory(file, error))
        throw HostError("cannot read plug-in " + file.string() + ": it is a folder, not a plug-in file.");
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
