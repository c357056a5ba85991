// The resource readers on the plug-in's built resources, and on hostile files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "core/host_error.hpp"
#include "resources/resource_readers.hpp"
#include "resources_test_files.hpp"

namespace {

using namespace resources_test;
using simhost::HostError;
using simhost::ResourceSet;
using ::testing::HasSubstr;

// What the host reads must be the same however the script was compiled.
void expectSameResources(const ResourceSet& a, const ResourceSet& b) {
    EXPECT_EQ(a.strings, b.strings);
    ASSERT_TRUE(a.propertyList && b.propertyList);
    EXPECT_EQ(a.propertyList->version, b.propertyList->version);
    ASSERT_EQ(a.propertyList->properties.size(), b.propertyList->properties.size());
    for (size_t i = 0; i < a.propertyList->properties.size(); ++i) {
        EXPECT_EQ(a.propertyList->properties[i].key, b.propertyList->properties[i].key);
        EXPECT_EQ(a.propertyList->properties[i].data, b.propertyList->properties[i].data);
    }
    ASSERT_EQ(a.dialogs.size(), b.dialogs.size());
    for (const auto& [id, dialog] : a.dialogs) {
        const simhost::DialogTemplate* other = b.dialog(id);
        ASSERT_NE(other, nullptr) << "dialog " << id;
        EXPECT_EQ(dialog.title, other->title);
        EXPECT_EQ(dialog.style, other->style);
        EXPECT_EQ(std::tie(dialog.x, dialog.y, dialog.width, dialog.height),
                  std::tie(other->x, other->y, other->width, other->height));
        EXPECT_EQ(std::tie(dialog.fontSize, dialog.fontName), std::tie(other->fontSize, other->fontName));
        ASSERT_EQ(dialog.items.size(), other->items.size());
        for (size_t i = 0; i < dialog.items.size(); ++i) {
            const auto& x = dialog.items[i];
            const auto& y = other->items[i];
            EXPECT_EQ(std::tie(x.id, x.windowClass, x.style, x.x, x.y, x.width, x.height, x.text),
                      std::tie(y.id, y.windowClass, y.style, y.x, y.y, y.width, y.height, y.text));
        }
    }
    EXPECT_EQ(a.versionStrings, b.versionStrings);
    EXPECT_EQ(a.fileVersion, b.fileVersion);
    // Icon and cursor images are numbered by the compiler; the groups a host looks up are not.
    for (const auto& key : a.present) {
        if (key.first != "ICON" && key.first != "CURSOR") {
            EXPECT_TRUE(b.present.count(key)) << key.first << " " << key.second;
        }
    }
}

TEST(ResourceReaders, CompiledResourceFileHoldsTheTextsTheHostReads) {
    ResourceSet set = simhost::readResourceFile(builtResourceFile());
    const std::vector<std::pair<int32_t, std::string>> texts = {
        {16000, "<First Mac index is 1>"},
        {16001, "Yrk <Create>"},
        {16002, "Tesselwright..."},
        {16050, "<Mac strings begin at index 1>"},
        {16051, "-108"},
        {16052, "The filter cannot complete because there isn't enough memory (RAM) available."},
        {16059, "!sel"},
        {16060, "The selection is not valid for this filter."},
        {16061, "<Others>"},
        {16062, "The filter cannot complete because of an unknown error."},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(set.string(id), text) << "string " << id;
    EXPECT_EQ(set.string(16003), std::nullopt);
    EXPECT_EQ(set.string(16063), std::nullopt);  // the empty key that ends the error list
    EXPECT_EQ(set.indexString(16000, 2), "Tesselwright...");
}

TEST(ResourceReaders, PropertyListNamesTheEntryPoint) {
    ResourceSet set = simhost::readResourceFile(builtResourceFile());
    ASSERT_TRUE(set.propertyList);
    EXPECT_EQ(set.propertyList->version, 1);
    ASSERT_EQ(set.propertyList->properties.size(), 3u);
    const auto* kind = set.propertyList->find(0x41444245, kKeyKind);
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->data, (Bytes{0x41, 0x45, 0x50, 0x53}));  // 'SPEA' as a little-endian number
    const auto* version = set.propertyList->find(0x41444245, 0x69767273);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->data, (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(set.propertyList->entryPoint(), "PluginMain");
    EXPECT_TRUE(set.present.count({"PIPL", 16000}));
}

TEST(ResourceReaders, DialogTemplatesAreExact) {
    ResourceSet set = simhost::readResourceFile(builtResourceFile());
    struct Expected {
        int32_t id;
        std::string title;
        int16_t width, height;
        size_t items;
    };
    for (const Expected& e :
         {Expected{16050, "Tesselwright Plugin About", 271, 127, 8}, Expected{16051, "Plug-in Error", 185, 92, 4},
          Expected{16100, "Tesselwright Plugin", 195, 334, 0}}) {
        const simhost::DialogTemplate* dialog = set.dialog(e.id);
        ASSERT_NE(dialog, nullptr) << e.id;
        EXPECT_EQ(dialog->title, e.title);
        EXPECT_EQ(dialog->style, 0x90C800C0u);
        EXPECT_EQ(dialog->width, e.width);
        EXPECT_EQ(dialog->height, e.height);
        EXPECT_EQ(dialog->fontSize, 8);
        EXPECT_EQ(dialog->fontName, "MS Sans Serif");
        EXPECT_EQ(dialog->items.size(), e.items);
    }
    const auto& error = set.dialog(16051)->items;
    ASSERT_EQ(error.size(), 4u);
    struct Item {
        int32_t id;
        std::string windowClass, text;
        int16_t x, y, width, height;
    };
    const std::vector<Item> expected = {{1, "BUTTON", "OK", 127, 65, 50, 14},
                                        {2, "STATIC", "Message", 43, 12, 126, 28},
                                        {3, "STATIC", "Code", 13, 66, 30, 8},
                                        {4, "STATIC", "", 10, 10, 18, 20}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& e = expected[i];
        EXPECT_EQ(std::tie(error[i].id, error[i].windowClass, error[i].text, error[i].x, error[i].y,
                           error[i].width, error[i].height),
                  std::tie(e.id, e.windowClass, e.text, e.x, e.y, e.width, e.height))
            << "item " << i;
    }
    EXPECT_EQ(error[3].style, 0x50000007u);

    const auto& about = set.dialog(16050)->items;
    EXPECT_EQ(std::tie(about[0].id, about[0].text, about[0].x, about[0].y, about[0].width, about[0].height),
              std::make_tuple(1, std::string("&OK"), int16_t(113), int16_t(106), int16_t(45), int16_t(14)));
    const int16_t lineTops[] = {9, 22, 35, 48, 61, 74, 86};
    for (size_t line = 0; line < 7; ++line) {
        EXPECT_EQ(about[line + 1].id, -1);
        EXPECT_EQ(about[line + 1].x, 21);
        EXPECT_EQ(about[line + 1].y, lineTops[line]);
        EXPECT_EQ(about[line + 1].height, 8);
        EXPECT_FALSE(about[line + 1].text.empty());
    }
}

TEST(ResourceReaders, IconCursorAndVersionArePresent) {
    ResourceSet set = simhost::readResourceFile(builtResourceFile());
    EXPECT_TRUE(set.present.count({"GROUP_ICON", 16051}));
    EXPECT_TRUE(set.present.count({"GROUP_CURSOR", 16052}));
    EXPECT_EQ(set.fileVersion, "1.0.0.0");
    EXPECT_EQ(set.versionStrings["CompanyName"], "Vrom");
    EXPECT_EQ(set.versionStrings["ProductName"], "Tesselwright");
    EXPECT_EQ(set.versionStrings["OriginalFilename"], "Vrom_Tesselwright.aip");
}

TEST(ResourceReaders, WindowsLibraryHoldsTheSameResources) {
    if (!std::filesystem::exists(builtWindowsPlugin()))
        GTEST_SKIP() << "the win32 preset has not been built (" << builtWindowsPlugin() << ")";
    expectSameResources(simhost::readResourceFile(builtResourceFile()), simhost::readPeFile(builtWindowsPlugin()));
}

// A reader given a damaged file must answer with HostError, never crash or read past its input.
TEST(ResourceReaders, EveryTruncationOfTheResourceFileIsSafe) {
    Bytes whole = readFile(builtResourceFile());
    ASSERT_GT(whole.size(), 64u);
    size_t failures = 0;
    for (size_t length = 0; length < whole.size(); ++length) {
        // A copy of exactly `length` bytes, so that AddressSanitizer sees any read past it.
        Bytes prefix(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        try {
            simhost::readResourceBytes(prefix, "cut.res");
        } catch (const HostError&) {
            ++failures;
        }
    }
    // Only cuts exactly between two resources leave a readable (shorter) file.
    EXPECT_GT(failures, whole.size() * 9 / 10);
}

TEST(ResourceReaders, CorruptedResourceFilesAreRefusedSafely) {
    const Bytes original = readFile(builtResourceFile());
    std::mt19937 random(1211);
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = original;
        for (int hit = 0; hit < 4; ++hit)
            damaged[random() % damaged.size()] = uint8_t(random());
        try {
            simhost::readResourceBytes(damaged, "damaged.res");
        } catch (const HostError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

// Where the resource section's bytes lie in a PE file: found through its section header.
std::pair<size_t, size_t> resourceSectionBytes(const Bytes& file) {
    static const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (size_t at = 0; at + 40 <= std::min<size_t>(file.size(), 4096); ++at) {
        if (std::equal(name, name + 8, file.begin() + std::ptrdiff_t(at))) {
            auto word = [&](size_t offset) {
                return size_t(file[at + offset]) | size_t(file[at + offset + 1]) << 8 |
                       size_t(file[at + offset + 2]) << 16 | size_t(file[at + offset + 3]) << 24;
            };
            return {word(20), word(16)};  // PointerToRawData, SizeOfRawData
        }
    }
    return {0, 0};
}

TEST(ResourceReaders, CorruptedLibrariesAreRefusedSafely) {
    if (!std::filesystem::exists(builtWindowsPlugin()))
        GTEST_SKIP() << "the win32 preset has not been built (" << builtWindowsPlugin() << ")";
    const Bytes original = readFile(builtWindowsPlugin());
    auto [start, size] = resourceSectionBytes(original);
    ASSERT_GT(size, 0u);
    ASSERT_LE(start + size, original.size());
    std::mt19937 random(20261211);
    int refused = 0;
    for (int round = 0; round < 1000; ++round) {
        Bytes damaged = original;
        // Damage the headers and the resource section, where the reader looks.
        for (int hit = 0; hit < 6; ++hit) {
            size_t where = random() % 4 == 0 ? random() % 1024 : start + random() % size;
            damaged[where] = uint8_t(random());
        }
        try {
            simhost::readPeBytes(damaged, "damaged.aip");
        } catch (const HostError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(ResourceReaders, MalformedInputsGiveClearErrors) {
    Bytes mz = {'M', 'Z'};
    mz.resize(64, 0);
    Bytes farHeader = mz;
    farHeader[0x3C] = 0xF0, farHeader[0x3D] = 0xFF, farHeader[0x3E] = 0xFF, farHeader[0x3F] = 0xFF;
    Bytes bigCount;
    put32(bigCount, 1);
    put32(bigCount, 0x7FFFFFFF);
    Bytes longProperty;
    put32(longProperty, 1);
    put32(longProperty, 1);
    put32(longProperty, 0x41444245);
    put32(longProperty, kKeyKind);
    put32(longProperty, 0);
    put32(longProperty, 1000);
    Bytes manyItems;  // a dialog claiming 65535 items in a few bytes
    put32(manyItems, 0x80C00000);
    put32(manyItems, 0);
    put16(manyItems, 0xFFFF);
    for (int i = 0; i < 4; ++i)
        put16(manyItems, 10);
    put16(manyItems, 0), put16(manyItems, 0), put16(manyItems, 'T'), put16(manyItems, 0);
    Bytes endlessTitle;
    put32(endlessTitle, 0x80C00000);
    put32(endlessTitle, 0);
    put16(endlessTitle, 0);
    for (int i = 0; i < 4; ++i)
        put16(endlessTitle, 10);
    put16(endlessTitle, 0), put16(endlessTitle, 0), put16(endlessTitle, 'T'), put16(endlessTitle, 'x');
    Bytes longString;
    put16(longString, 60000);
    put16(longString, 'a');
    Bytes badVersion;
    put16(badVersion, 4000);
    put16(badVersion, 0);
    put16(badVersion, 0);

    Bytes validRes = resFile({{6, u"", 1001, Bytes(32, 0)}});
    Bytes hugeData = validRes;
    hugeData[32] = 0xFF, hugeData[33] = 0xFF, hugeData[34] = 0xFF, hugeData[35] = 0x7F;
    Bytes hugeHeader = validRes;
    hugeHeader[36] = 0xFF, hugeHeader[37] = 0xFF;

    struct Case {
        std::string name;
        bool pe;
        Bytes bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty file", false, {}, "does not start like a compiled resource file"},
        {"text file", false, Bytes(100, 'x'), "does not start like a compiled resource file"},
        {"data size past the end", false, hugeData, "more than are left"},
        {"header size past the end", false, hugeHeader, "impossible size"},
        {"property count absurd", false, resFile({{0, u"PIPL", 16000, bigCount}}), "property count"},
        {"property data past the end", false, resFile({{0, u"PIPL", 16000, longProperty}}), "1000 bytes"},
        {"dialog item count absurd", false, resFile({{5, u"", 100, manyItems}}), "65535 items"},
        {"dialog title without end", false, resFile({{5, u"", 100, endlessTitle}}), "no terminating zero"},
        {"string longer than its block", false, resFile({{6, u"", 1, longString}}), "ends early"},
        {"string block 0", false, resFile({{6, u"", 0, Bytes(32, 0)}}), "numbered from 1"},
        {"version block too long", false, resFile({{16, u"", 1, badVersion}}), "length is out of range"},
        {"not a PE file", true, Bytes(100, 'x'), "no MZ header"},
        {"MZ alone", true, {'M', 'Z'}, "too short"},
        {"PE header past the end", true, farHeader, "points past its end"},
        {"no PE signature", true, mz, "no PE signature"},
    };
    for (const Case& c : cases) {
        try {
            if (c.pe)
                simhost::readPeBytes(c.bytes, "bad.aip");
            else
                simhost::readResourceBytes(c.bytes, "bad.res");
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const HostError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.name;
            EXPECT_THAT(error.what(), HasSubstr(c.pe ? "bad.aip" : "bad.res")) << c.name;
        }
    }
}

TEST(ResourceReaders, ExtendedDialogsAndUnicodeTextsDecode) {
    // DLGTEMPLATEEX with a shell font, one EDIT item with a 32-bit id.
    Bytes dialog;
    put16(dialog, 1), put16(dialog, 0xFFFF);
    put32(dialog, 0), put32(dialog, 0);
    put32(dialog, 0x80C80048);  // popup, caption, system menu, DS_SHELLFONT
    put16(dialog, 1);
    put16(dialog, 1), put16(dialog, 2), put16(dialog, 300), put16(dialog, 200);
    put16(dialog, 0), put16(dialog, 0);
    putText(dialog, u"Caf\u00e9");
    put16(dialog, 9), put16(dialog, 400), dialog.push_back(0), dialog.push_back(1);
    putText(dialog, u"Tahoma");
    align4(dialog);
    put32(dialog, 0), put32(dialog, 0), put32(dialog, 0x50810080);
    put16(dialog, 5), put16(dialog, 6), put16(dialog, 70), put16(dialog, 12);
    put32(dialog, 70000);
    put16(dialog, 0xFFFF), put16(dialog, 0x81);
    putText(dialog, u"x");
    put16(dialog, 0);
    // A string block with a character outside the BMP and an unpaired surrogate.
    Bytes strings;
    put16(strings, 0);
    put16(strings, 3), put16(strings, 0xD83D), put16(strings, 0xDE00), put16(strings, 'a');
    put16(strings, 2), put16(strings, 0xDC00), put16(strings, 'b');
    for (int i = 3; i < 16; ++i)
        put16(strings, 0);

    ResourceSet set = simhost::readResourceBytes(resFile({{5, u"", 7, dialog}, {6, u"", 2, strings}}), "ex.res");
    const simhost::DialogTemplate* ex = set.dialog(7);
    ASSERT_NE(ex, nullptr);
    EXPECT_EQ(ex->title, "Caf\xC3\xA9");
    EXPECT_EQ(std::tie(ex->fontSize, ex->fontName), std::make_tuple(int16_t(9), std::string("Tahoma")));
    ASSERT_EQ(ex->items.size(), 1u);
    EXPECT_EQ(ex->items[0].id, 70000);
    EXPECT_EQ(ex->items[0].windowClass, "EDIT");
    EXPECT_EQ(ex->items[0].style, 0x50810080u);
    EXPECT_EQ(ex->items[0].text, "x");
    EXPECT_EQ(set.string(16), std::nullopt);
    EXPECT_EQ(set.string(17),
              "\xF0\x9F\x98\x80"
              "a");
    EXPECT_EQ(set.string(18),
              "\xEF\xBF\xBD"
              "b");
}

}  // namespace
