#pragma once

// Small builders of resource files for the reader and loader tests: compiled resource files (.res) with
// chosen entries, and the bytes of a property list.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/plugin_host.hpp"

namespace resources_test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& out, uint32_t value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t((value >> 8) & 0xFF));
}
inline void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
inline void putText(Bytes& out, const std::u16string& text) {
    for (char16_t unit : text)
        put16(out, unit);
    put16(out, 0);
}
inline void align4(Bytes& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// One entry of a .res file: an ordinal type or a named one ("PIPL"), an ordinal name, and the data.
struct Entry {
    uint16_t typeOrdinal = 0;
    std::u16string typeName;  // used when typeOrdinal is 0
    uint16_t id = 0;
    Bytes data;
    uint16_t language = 1033;
};

inline Bytes resFile(const std::vector<Entry>& entries) {
    Bytes out;
    // The empty entry every .res file opens with.
    put32(out, 0);
    put32(out, 32);
    put32(out, 0xFFFF);
    put32(out, 0xFFFF);
    out.resize(32, 0);
    for (const Entry& entry : entries) {
        Bytes header;
        if (entry.typeOrdinal != 0) {
            put16(header, 0xFFFF);
            put16(header, entry.typeOrdinal);
        } else {
            putText(header, entry.typeName);
        }
        put16(header, 0xFFFF);
        put16(header, entry.id);
        align4(header);
        put32(header, 0);  // data version
        put16(header, 0x1030);
        put16(header, entry.language);
        put32(header, 0);  // version
        put32(header, 0);  // characteristics
        put32(out, uint32_t(entry.data.size()));
        put32(out, uint32_t(header.size() + 8));
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), entry.data.begin(), entry.data.end());
        align4(out);
    }
    return out;
}

// A property list with the given 'ADBE' properties (key, data); data is padded to four bytes.
inline Bytes propertyList(const std::vector<std::pair<uint32_t, Bytes>>& properties) {
    Bytes out;
    put32(out, 1);
    put32(out, uint32_t(properties.size()));
    for (const auto& [key, data] : properties) {
        put32(out, 0x41444245);  // 'ADBE'
        put32(out, key);
        put32(out, 0);
        put32(out, uint32_t(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        align4(out);
    }
    return out;
}

constexpr uint32_t kKeyKind = 0x6B696E64, kKeyEntryPoint = 0x77783836;

inline Bytes zeroTerminated(const std::string& text) {
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

inline void writeFile(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The built plug-in's compiled resource file and the 32-bit Windows build, if that has been built.
inline std::filesystem::path builtResourceFile() {
    std::filesystem::path file = testing_support::pluginPath();
    return file.replace_extension(".res");
}
inline std::filesystem::path builtWindowsPlugin() {
    return std::filesystem::path(TESSELWRIGHT_SOURCE_DIR) / "build" / "win32" / "bin" / "Vrom_Tesselwright.aip";
}

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("tesselwright-" + name + "-" + std::to_string(getpid()) + "-" +
                 std::to_string(reinterpret_cast<uintptr_t>(this)))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace resources_test
