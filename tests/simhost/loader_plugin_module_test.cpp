// Loading the plug-in library, and the ways loading it can fail.
#include <elf.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <optional>
#include <type_traits>

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

// A library cut short is mapped past its end by the system loader and kills the host with SIGBUS when touched,
// so each damaged copy must be refused by name before it gets that far. Each copy has the built resource file
// beside it, so nothing but the library itself is at fault.
TEST(PluginLoader, RefusesDamagedLibraryFilesBeforeTheSystemMapsThem) {
    using ElfHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
    using ProgramHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Phdr, Elf32_Phdr>;
    ScratchFolder folder("loader-elf");
    const auto& dir = folder.path();
    const Bytes library = readFile(testing_support::pluginPath());
    const Bytes resources = readFile(builtResourceFile());
    ElfHeader header{};
    ASSERT_GE(library.size(), sizeof header);
    std::memcpy(&header, library.data(), sizeof header);
    ASSERT_EQ(header.e_phentsize, sizeof(ProgramHeader));
    std::optional<ProgramHeader> lastSegment;
    for (size_t index = 0; index < header.e_phnum; ++index) {
        ProgramHeader segment{};
        std::memcpy(&segment, library.data() + header.e_phoff + index * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD && segment.p_filesz > 0 &&
            (!lastSegment || segment.p_offset > lastSegment->p_offset))
            lastSegment = segment;
    }
    ASSERT_TRUE(lastSegment);
    const size_t segmentEnd = lastSegment->p_offset + lastSegment->p_filesz;
    ASSERT_GT(header.e_shoff, segmentEnd) << "the cuts below expect the section headers after the last segment";

    auto cut = [&](size_t size) { return Bytes(library.begin(), library.begin() + std::ptrdiff_t(size)); };
    auto patched = [&](size_t at, uint8_t value) {
        Bytes copy = library;
        copy[at] = value;
        return copy;
    };
    auto cutShort = [](const std::string& part, uint64_t offset, size_t size) {
        return std::vector<std::string>{"is cut short: its " + part + " at offset " + std::to_string(offset),
                                        "runs past the end of the file (" + std::to_string(size) + " bytes)."};
    };
    const std::string scriptText = "#!/bin/sh\necho not a library\n";
    const Bytes script(scriptText.begin(), scriptText.end());
    const bool native64 = sizeof(void*) == 8;
    const bool nativeLittle = std::endian::native == std::endian::little;

    // Each case: the library file's contents (none: a folder in its place) and what its message must say.
    struct Case {
        std::string name;
        std::optional<Bytes> library;
        std::vector<std::string> message;
    };
    const size_t inHeader = sizeof header - 8;
    const size_t inProgramHeaders = header.e_phoff + sizeof(ProgramHeader) + sizeof(ProgramHeader) / 2;
    const size_t inSegment = lastSegment->p_offset + lastSegment->p_filesz / 2;
    const std::vector<Case> cases = {
        {"empty", Bytes{}, {"is empty (0 bytes)."}},
        {"folder", std::nullopt, {"is a folder"}},
        {"script", script, {"does not start with the ELF signature"}},
        {"signature_only", cut(SELFMAG), cutShort("ELF identification", 0, SELFMAG)},
        {"cut_in_elf_header", cut(inHeader), cutShort("ELF header", 0, inHeader)},
        {"cut_in_program_headers", cut(inProgramHeaders),
         cutShort("program header table", header.e_phoff, inProgramHeaders)},
        {"cut_in_segment", cut(inSegment), cutShort("loadable segment", lastSegment->p_offset, inSegment)},
        {"cut_at_segment_end", cut(segmentEnd), cutShort("section header table", header.e_shoff, segmentEnd)},
        {"cut_in_section_headers", cut(library.size() - 1),
         cutShort("section header table", header.e_shoff, library.size() - 1)},
        {"wrong_class",
         patched(EI_CLASS, native64 ? ELFCLASS32 : ELFCLASS64),
         {native64 ? "is a 32-bit library, and this host is 64-bit." : "is a 64-bit library"}},
        {"no_class", patched(EI_CLASS, ELFCLASSNONE), {"ELF class byte is 0"}},
        {"wrong_byte_order",
         patched(EI_DATA, nativeLittle ? ELFDATA2MSB : ELFDATA2LSB),
         {nativeLittle ? "is a big-endian library" : "is a little-endian library"}},
    };
    for (const Case& c : cases) {
        std::filesystem::path file = dir / (c.name + ".so");
        if (c.library)
            writeFile(file, *c.library);
        else
            std::filesystem::create_directory(file);
        writeFile(dir / (c.name + ".res"), resources);
        std::string message = loadError(file);
        EXPECT_THAT(message, HasSubstr("cannot load plug-in " + file.string() + ": ")) << c.name;
        for (const std::string& part : c.message)
            EXPECT_THAT(message, HasSubstr(part)) << c.name;
    }

    // The checks refuse only damage: an intact copy loads.
    writeFile(dir / "intact.so", library);
    writeFile(dir / "intact.res", resources);
    EXPECT_EQ(loadError(dir / "intact.so"), "(loaded)");
}

}  // namespace
