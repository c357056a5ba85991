// Decoding of the resources a host reads, shared by the .res, PE and Windows-module readers.
#include <array>
#include <cstdio>
#include <map>
#include <tuple>

#include "byte_reader.hpp"
#include "resource_readers.hpp"

namespace simhost {

using resources_detail::ByteReader;
using resources_detail::utf16ToUtf8;

namespace resources_detail {

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    auto put = [&out](uint32_t code) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    };
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((unit - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(unit);
        }
    }
    return out;
}

std::string ByteReader::zeroTerminatedUtf16() {
    std::u16string text;
    for (;;) {
        if (remaining() < 2)
            fail("a text has no terminating zero");
        char16_t unit = u16();
        if (unit == 0)
            break;
        text += unit;
    }
    return utf16ToUtf8(text);
}

}  // namespace resources_detail

namespace {

// Ordinal resource types a host knows by name.
constexpr uint16_t kTypeCursor = 1, kTypeIcon = 3, kTypeDialog = 5, kTypeStringTable = 6, kTypeGroupCursor = 12,
                   kTypeGroupIcon = 14, kTypeVersion = 16;
constexpr uint16_t kLanguageUsEnglish = 1033;
constexpr uint32_t kDialogSetFont = 0x40, kDialogShellFont = 0x48;
// More resources than any plug-in has: a count beyond it means the file is corrupt or hostile.
constexpr size_t kMaxResources = 4096;

std::string hex(uint32_t value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

std::string describe(const ResourceName& type, const ResourceName& name, const std::string& origin) {
    std::string label = resourceTypeName(type) + " " + (name.isOrdinal ? std::to_string(name.ordinal) : name.text);
    return "cannot read resource " + label + " of " + origin;
}

// A name or ordinal field of a dialog template: 0 for none, 0xFFFF then an ordinal, else a string.
struct NameOrOrdinal {
    bool present = false;
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::string text;
};

NameOrOrdinal readNameOrOrdinal(ByteReader& in) {
    NameOrOrdinal field;
    size_t start = in.position();
    uint16_t first = in.u16();
    if (first == 0)
        return field;
    field.present = true;
    if (first == 0xFFFF) {
        field.isOrdinal = true;
        field.ordinal = in.u16();
        return field;
    }
    in.seek(start);
    field.text = in.zeroTerminatedUtf16();
    return field;
}

std::string className(const NameOrOrdinal& field) {
    if (!field.present)
        return std::string();
    if (!field.isOrdinal)
        return field.text;
    switch (field.ordinal) {
        case 0x80:
            return "BUTTON";
        case 0x81:
            return "EDIT";
        case 0x82:
            return "STATIC";
        case 0x83:
            return "LISTBOX";
        case 0x84:
            return "SCROLLBAR";
        case 0x85:
            return "COMBOBOX";
        default:
            return "#0x" + hex(field.ordinal, 4);
    }
}

std::string itemText(const NameOrOrdinal& field) {
    if (!field.present)
        return std::string();
    return field.isOrdinal ? "#" + std::to_string(field.ordinal) : field.text;
}

DialogTemplate decodeDialog(std::span<const uint8_t> data, int32_t id, const std::string& what) {
    ByteReader in(data, what);
    DialogTemplate dialog;
    dialog.resourceId = id;
    bool extended = data.size() >= 4 && in.u16() == 1 && in.u16() == 0xFFFF;
    in.seek(0);
    if (extended) {
        in.skip(4 + 4 + 4);  // version and signature, help id, extended style
        dialog.style = in.u32();
    } else {
        dialog.style = in.u32();
        in.skip(4);  // extended style
    }
    uint16_t itemCount = in.u16();
    dialog.x = in.i16();
    dialog.y = in.i16();
    dialog.width = in.i16();
    dialog.height = in.i16();
    readNameOrOrdinal(in);  // menu
    readNameOrOrdinal(in);  // window class
    dialog.title = in.zeroTerminatedUtf16();
    if ((dialog.style & kDialogSetFont) != 0 ||
        (extended && (dialog.style & kDialogShellFont) == kDialogShellFont)) {
        dialog.fontSize = in.i16();
        if (extended)
            in.skip(2 + 1 + 1);  // weight, italic, character set
        dialog.fontName = in.zeroTerminatedUtf16();
    }
    // Each item takes at least 18 bytes (24 extended): a count beyond what is left is a lie.
    if (size_t(itemCount) * (extended ? 24 : 18) > in.remaining() + 3)
        in.fail("it claims " + std::to_string(itemCount) + " items but has room for fewer");
    for (uint16_t index = 0; index < itemCount; ++index) {
        in.alignTo4();
        DialogItemTemplate item;
        if (extended) {
            in.skip(4 + 4);  // help id, extended style
            item.style = in.u32();
        } else {
            item.style = in.u32();
            in.skip(4);  // extended style
        }
        item.x = in.i16();
        item.y = in.i16();
        item.width = in.i16();
        item.height = in.i16();
        if (extended) {
            item.id = in.i32();
        } else {
            uint16_t itemId = in.u16();
            item.id = itemId == 0xFFFF ? -1 : int32_t(itemId);
        }
        item.windowClass = className(readNameOrOrdinal(in));
        item.text = itemText(readNameOrOrdinal(in));
        uint16_t extraBytes = in.u16();
        in.skip(extraBytes);
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

// Block n of a string table holds ids (n - 1) * 16 to n * 16 - 1, each a length-prefixed UTF-16 string;
// a length of 0 means the id has no string.
void decodeStringBlock(std::span<const uint8_t> data, uint16_t block, const std::string& what,
                       std::map<int32_t, std::string>& strings) {
    if (block == 0)
        ByteReader(data, what).fail("string table blocks are numbered from 1");
    ByteReader in(data, what);
    for (int32_t slot = 0; slot < 16; ++slot) {
        uint16_t length = in.u16();
        if (length == 0)
            continue;
        std::u16string text;
        text.reserve(length);
        for (uint16_t i = 0; i < length; ++i)
            text += char16_t(in.u16());
        strings[(int32_t(block) - 1) * 16 + slot] = utf16ToUtf8(text);
    }
}

PropertyList decodePropertyList(std::span<const uint8_t> data, const std::string& what) {
    ByteReader in(data, what);
    PropertyList list;
    list.version = in.i32();
    int32_t count = in.i32();
    // Each property takes at least 16 bytes.
    if (count < 0 || size_t(count) > in.remaining() / 16)
        in.fail("its property count " + std::to_string(count) + " does not fit its size");
    for (int32_t index = 0; index < count; ++index) {
        PiplProperty property;
        property.vendor = in.u32();
        property.key = in.u32();
        property.id = in.i32();
        int32_t length = in.i32();
        if (length < 0 || size_t(length) > in.remaining())
            in.fail("property " + std::to_string(index + 1) + " claims " + std::to_string(length) +
                    " bytes of data, more than are left");
        auto bytes = in.bytes(size_t(length));
        property.data.assign(bytes.begin(), bytes.end());
        in.alignTo4();  // padding; the last property's may be cut off harmlessly
        list.properties.push_back(std::move(property));
    }
    return list;
}

// VS_VERSIONINFO: nodes of (length, value length, type, key, value, children), each DWORD-aligned.
void decodeVersionNode(ByteReader& in, int depth, const std::string& parentKey, ResourceSet& set) {
    size_t start = in.position();
    uint16_t length = in.u16();
    uint16_t valueLength = in.u16();
    uint16_t type = in.u16();
    if (length < 6 || start + length > in.size())
        in.fail("a version block's length is out of range");
    size_t end = start + length;
    std::string key = in.zeroTerminatedUtf16();
    in.alignTo4();
    if (depth == 0) {
        // VS_FIXEDFILEINFO: signature, struct version, then the file version's two DWORDs.
        if (valueLength >= 52 && in.position() + 52 <= end) {
            size_t valueStart = in.position();
            if (in.u32() == 0xFEEF04BD) {
                in.skip(4);
                uint32_t high = in.u32();
                uint32_t low = in.u32();
                set.fileVersion = std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
                                  std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF);
            }
            in.seek(valueStart + valueLength);
        }
    } else if (depth == 3 && type == 1) {
        // A text value: valueLength counts UTF-16 units, usually including the terminating zero.
        size_t valueEnd = std::min(end, in.position() + size_t(valueLength) * 2);
        std::u16string text;
        while (in.position() + 2 <= valueEnd) {
            char16_t unit = char16_t(in.u16());
            if (unit == 0)
                break;
            text += unit;
        }
        set.versionStrings[key] = utf16ToUtf8(text);
        in.seek(std::min(end, in.size()));
        return;
    } else {
        size_t valueBytes = type == 1 ? size_t(valueLength) * 2 : valueLength;
        in.seek(std::min(end, in.position() + valueBytes));
    }
    in.alignTo4();
    bool descend =
        depth == 0 || (depth == 1 && key == "StringFileInfo") || (depth == 2 && parentKey == "StringFileInfo");
    while (descend && depth < 3 && in.position() + 6 <= end) {
        decodeVersionNode(in, depth + 1, key, set);
        in.alignTo4();
    }
    in.seek(std::min(end, in.size()));
}

struct Chosen {
    const RawResource* resource;
    int rank;
};

int languageRank(uint16_t language) {
    if (language == kLanguageUsEnglish)
        return 0;
    return language == 0 ? 1 : 2;
}

}  // namespace

std::string resourceTypeName(const ResourceName& type) {
    if (!type.isOrdinal)
        return type.text;
    switch (type.ordinal) {
        case kTypeCursor:
            return "CURSOR";
        case 2:
            return "BITMAP";
        case kTypeIcon:
            return "ICON";
        case 4:
            return "MENU";
        case kTypeDialog:
            return "DIALOG";
        case kTypeStringTable:
            return "STRINGTABLE";
        case 7:
            return "FONTDIR";
        case 8:
            return "FONT";
        case 9:
            return "ACCELERATOR";
        case 10:
            return "RCDATA";
        case 11:
            return "MESSAGETABLE";
        case kTypeGroupCursor:
            return "GROUP_CURSOR";
        case kTypeGroupIcon:
            return "GROUP_ICON";
        case kTypeVersion:
            return "VERSION";
        case 17:
            return "DLGINCLUDE";
        case 19:
            return "PLUGPLAY";
        case 20:
            return "VXD";
        case 21:
            return "ANICURSOR";
        case 22:
            return "ANIICON";
        case 23:
            return "HTML";
        case 24:
            return "MANIFEST";
        default:
            return "#" + std::to_string(type.ordinal);
    }
}

ResourceSet decodeResources(const std::vector<RawResource>& resources, const std::string& origin) {
    if (resources.size() > kMaxResources)
        throw HostError("cannot read the resources of " + origin + ": it claims " +
                        std::to_string(resources.size()) + " resources, more than any plug-in has.");
    ResourceSet set;
    // One resource per (type, name): the best language wins.
    std::map<std::tuple<std::string, bool, uint16_t, std::string>, Chosen> chosen;
    for (const RawResource& resource : resources) {
        std::string typeName = resourceTypeName(resource.type);
        ResourceEntry entry{typeName, resource.name.isOrdinal ? int32_t(resource.name.ordinal) : -1,
                            resource.name.text, resource.language, resource.data.size()};
        set.entries.push_back(entry);
        if (resource.name.isOrdinal)
            set.present.insert({typeName, int32_t(resource.name.ordinal)});
        auto key = std::make_tuple(typeName, resource.name.isOrdinal, resource.name.ordinal, resource.name.text);
        int rank = languageRank(resource.language);
        auto found = chosen.find(key);
        if (found == chosen.end() || rank < found->second.rank)
            chosen[key] = Chosen{&resource, rank};
    }

    int32_t piplId = -1;
    for (const auto& [key, choice] : chosen) {
        const RawResource& resource = *choice.resource;
        if (!resource.name.isOrdinal)
            continue;  // hosts look the resources they read up by number
        std::string what = describe(resource.type, resource.name, origin);
        uint16_t id = resource.name.ordinal;
        if (resource.type.isOrdinal && resource.type.ordinal == kTypeStringTable) {
            decodeStringBlock(resource.data, id, what, set.strings);
        } else if (resource.type.isOrdinal && resource.type.ordinal == kTypeDialog) {
            set.dialogs[id] = decodeDialog(resource.data, id, what);
        } else if (resource.type.isOrdinal && resource.type.ordinal == kTypeVersion) {
            ByteReader in(resource.data, what);
            decodeVersionNode(in, 0, std::string(), set);
        } else if (!resource.type.isOrdinal && resource.type.text == "PIPL") {
            // The host's property list is 16000; any other is read only when that one is missing.
            if (piplId == 16000 || (piplId != -1 && id > piplId && id != 16000))
                continue;
            set.propertyList = decodePropertyList(resource.data, what);
            piplId = id;
        }
    }
    return set;
}

}  // namespace simhost
