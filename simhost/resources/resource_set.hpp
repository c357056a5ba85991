#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace simhost {

// One property of a plug-in property list ("PIPL"): vendor and key are four-character codes with the first
// character in the most significant byte.
struct PiplProperty {
    uint32_t vendor = 0;
    uint32_t key = 0;
    int32_t id = 0;
    std::vector<uint8_t> data;  // exactly `length` bytes, without the padding
};

struct PropertyList {
    int32_t version = 0;
    std::vector<PiplProperty> properties;

    const PiplProperty* find(uint32_t vendor, uint32_t key) const;
    // The Windows x86 entry point name ('wx86'), if the list has one.
    std::optional<std::string> entryPoint() const;
};

// A control of a dialog template, as a host reads it: dialog units, Windows class name ("BUTTON",
// "STATIC", "EDIT", ... or "#0x0080" for an unnamed atom), style bits and text.
struct DialogItemTemplate {
    int32_t id = -1;  // -1 (0xFFFF) when the item has no id
    std::string windowClass;
    uint32_t style = 0;
    int16_t x = 0, y = 0, width = 0, height = 0;
    std::string text;
};

struct DialogTemplate {
    int32_t resourceId = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, width = 0, height = 0;
    std::string title;
    int16_t fontSize = 0;
    std::string fontName;
    std::vector<DialogItemTemplate> items;
};

// One resource as listed in its file or module.
struct ResourceEntry {
    std::string type;  // as in ResourceSet::present
    int32_t id = -1;   // the ordinal name, or -1 when the resource is named by `name`
    std::string name;  // the string name, if it has one
    uint16_t language = 0;
    size_t size = 0;  // bytes of data
};

// Everything a host reads from a plug-in's resources.
struct ResourceSet {
    std::map<int32_t, std::string> strings;  // string id -> text (UTF-8)
    std::map<int32_t, DialogTemplate> dialogs;
    std::optional<PropertyList> propertyList;
    // Every resource present, as (type, id): type names such as "ICON", "GROUP_ICON", "CURSOR",
    // "GROUP_CURSOR", "VERSION", "PIPL", "STRINGTABLE", "DIALOG".
    // String tables are listed by block number (block n holds string ids (n - 1) * 16 to n * 16 - 1).
    std::set<std::pair<std::string, int32_t>> present;
    std::vector<ResourceEntry> entries;  // every resource read, in the order found
    // The version resource's texts ("CompanyName" -> "Vrom") and its file version ("1.0.0.0"), if any.
    std::map<std::string, std::string> versionStrings;
    std::string fileVersion;

    std::optional<std::string> string(int32_t id) const;
    // Entry `index` of string list `listId` (string id listId + index); empty when there is none.
    std::string indexString(int32_t listId, int32_t index) const;
    const DialogTemplate* dialog(int32_t id) const;
};

}  // namespace simhost
