#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "resource_set.hpp"

namespace simhost {

// The name of a resource or of its type: a 16-bit ordinal or a string.
struct ResourceName {
    bool isOrdinal = true;
    uint16_t ordinal = 0;
    std::string text;  // UTF-8, when not an ordinal

    static ResourceName fromOrdinal(uint16_t value) { return {true, value, {}}; }
    static ResourceName fromText(std::string value) { return {false, 0, std::move(value)}; }
};

// One resource as found in a file or module, before decoding. `data` views bytes owned by the caller.
struct RawResource {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
    std::span<const uint8_t> data;
};

// Decodes what a host reads (string tables, dialog templates, the property list, what else is present).
// `origin` names the source in error messages ("Vrom_Tesselwright.res"). Throws HostError for malformed
// resources. Where one resource exists in several languages, US English (1033) is preferred, then the
// neutral language, then the first found.
ResourceSet decodeResources(const std::vector<RawResource>& resources, const std::string& origin);

// Every resource of a compiled resource file (.res), as llvm-rc or windres write it.
ResourceSet readResourceFile(const std::filesystem::path& file);
ResourceSet readResourceBytes(std::span<const uint8_t> bytes, const std::string& origin);

// Every resource in the resource section of a Windows PE file (PE32 or PE32+), read without loading it.
ResourceSet readPeFile(const std::filesystem::path& file);
ResourceSet readPeBytes(std::span<const uint8_t> bytes, const std::string& origin);

// Reads a whole file that a reader is about to parse; refuses files too large to be a plug-in.
std::vector<uint8_t> readWholeFile(const std::filesystem::path& file, const std::string& origin);

#ifdef _WIN32
// Every resource of a loaded module (an HMODULE), through the Windows resource API.
ResourceSet readModuleResources(void* module, const std::string& origin);
#endif

// Name of a resource type as listed in ResourceSet::present: "DIALOG", "STRINGTABLE", "PIPL", "#24".
std::string resourceTypeName(const ResourceName& type);

}  // namespace simhost
