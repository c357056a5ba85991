// `tesselwright inspect PLUGIN [--json]`: what a host reads from a plug-in file, without running it.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "commands.hpp"
#include "core/host_error.hpp"
#include "loader/plugin_module.hpp"
#include "resources/resource_set.hpp"

namespace tesselwright_cli {

namespace {

using nlohmann::json;
using simhost::DialogTemplate;
using simhost::PiplProperty;
using simhost::ResourceSet;

std::string fourChars(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto byte = static_cast<unsigned char>((code >> shift) & 0xFF);
        text += (byte >= 0x20 && byte < 0x7F) ? char(byte) : '?';
    }
    return text;
}

std::string hex32(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

uint32_t code(const char (&text)[5]) {
    return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) |
           (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3]));
}

uint32_t dataWord(const PiplProperty& property) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && i < property.data.size(); ++i)
        value |= uint32_t(property.data[i]) << (8 * i);
    return value;
}

// The property's value as a host understands it: kind as a code, ivrs as a number, wx86 as a name.
json decodedValue(const PiplProperty& property) {
    if (property.vendor == code("ADBE") && property.data.size() == 4 && property.key == code("kind"))
        return fourChars(dataWord(property));
    if (property.vendor == code("ADBE") && property.data.size() == 4 && property.key == code("ivrs"))
        return int32_t(dataWord(property));
    if (property.vendor == code("ADBE") && property.key == code("wx86")) {
        std::string name(property.data.begin(), property.data.end());
        return name.substr(0, name.find('\0'));
    }
    std::string bytes;
    for (uint8_t byte : property.data) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02X", byte);
        bytes += buffer;
    }
    return bytes;
}

// String lists: runs of consecutive string ids, each named by its first id (its marker entry, index 0).
json stringLists(const ResourceSet& resources) {
    json lists = json::array();
    int32_t previous = 0;
    for (const auto& [id, text] : resources.strings) {
        if (lists.empty() || id != previous + 1)
            lists.push_back({{"id", id}, {"entries", json::array()}});
        json& list = lists.back();
        list["entries"].push_back({{"index", id - list["id"].get<int32_t>()}, {"id", id}, {"text", text}});
        previous = id;
    }
    return lists;
}

json dialogJson(const DialogTemplate& dialog) {
    json items = json::array();
    for (const auto& item : dialog.items)
        items.push_back({{"id", item.id},
                         {"class", item.windowClass},
                         {"style", hex32(item.style)},
                         {"x", item.x},
                         {"y", item.y},
                         {"width", item.width},
                         {"height", item.height},
                         {"text", item.text}});
    return {{"id", dialog.resourceId},
            {"title", dialog.title},
            {"style", hex32(dialog.style)},
            {"x", dialog.x},
            {"y", dialog.y},
            {"width", dialog.width},
            {"height", dialog.height},
            {"font", {{"size", dialog.fontSize}, {"name", dialog.fontName}}},
            {"items", items}};
}

json report(const std::filesystem::path& file, const ResourceSet& resources) {
    json out;
    out["file"] = file.string();
    out["resourcesFrom"] =
        simhost::isWindowsExecutable(file) ? file.string() : simhost::resourceFileFor(file).string();
    if (resources.propertyList) {
        json properties = json::array();
        for (const auto& property : resources.propertyList->properties)
            properties.push_back({{"vendor", fourChars(property.vendor)},
                                  {"key", fourChars(property.key)},
                                  {"id", property.id},
                                  {"length", property.data.size()},
                                  {"value", decodedValue(property)}});
        out["propertyList"] = {{"version", resources.propertyList->version}, {"properties", properties}};
        if (auto entry = resources.propertyList->entryPoint())
            out["propertyList"]["entryPoint"] = *entry;
    } else {
        out["propertyList"] = nullptr;
    }
    out["stringLists"] = stringLists(resources);
    json dialogs = json::array();
    for (const auto& [id, dialog] : resources.dialogs)
        dialogs.push_back(dialogJson(dialog));
    out["dialogs"] = dialogs;
    // Sorted, so that a .res file and a library built from the same script list the same way.
    std::vector<simhost::ResourceEntry> entries = resources.entries;
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return std::tie(a.type, a.id, a.name, a.language) < std::tie(b.type, b.id, b.name, b.language);
    });
    json listed = json::array();
    for (const auto& entry : entries) {
        json one = {{"type", entry.type}, {"language", entry.language}, {"size", entry.size}};
        if (entry.id >= 0)
            one["id"] = entry.id;
        else
            one["name"] = entry.name;
        listed.push_back(one);
    }
    out["resources"] = listed;
    out["version"] = {{"fileVersion", resources.fileVersion}, {"strings", resources.versionStrings}};
    return out;
}

std::string quoted(const std::string& text) {
    return json(text).dump();
}

void printText(const json& r, std::ostream& out) {
    out << "Plug-in file: " << r["file"].get<std::string>() << "\n";
    out << "Resources read from: " << r["resourcesFrom"].get<std::string>() << "\n\n";

    if (r["propertyList"].is_null()) {
        out << "Property list: none (a host would not recognise this file as a plug-in)\n";
    } else {
        const json& list = r["propertyList"];
        out << "Property list (PIPL 16000): version " << list["version"] << ", " << list["properties"].size()
            << " properties\n";
        for (const json& p : list["properties"]) {
            std::string value = p["value"].is_string() ? quoted(p["value"].get<std::string>()) : p["value"].dump();
            if (p["key"] == "kind" && p["value"].is_string())
                value = "'" + p["value"].get<std::string>() + "'";
            out << "  '" << p["vendor"].get<std::string>() << "' '" << p["key"].get<std::string>() << "'  id "
                << p["id"] << ", length " << p["length"] << ": " << value << "\n";
        }
    }

    for (const json& list : r["stringLists"]) {
        out << "\nString list " << list["id"] << ":\n";
        for (const json& entry : list["entries"]) {
            int index = entry["index"].get<int>();
            std::string label = index == 0 ? "(0)" : std::to_string(index);
            out << "  " << label << std::string(label.size() < 4 ? 4 - label.size() : 0, ' ') << "id "
                << entry["id"] << "  " << quoted(entry["text"].get<std::string>()) << "\n";
        }
    }

    for (const json& d : r["dialogs"]) {
        out << "\nDialog " << d["id"] << " " << quoted(d["title"].get<std::string>()) << ": style "
            << d["style"].get<std::string>() << ", at " << d["x"] << ", " << d["y"] << ", size " << d["width"]
            << " x " << d["height"] << " dialog units, font " << d["font"]["size"] << " "
            << quoted(d["font"]["name"].get<std::string>()) << ", " << d["items"].size() << " items\n";
        for (const json& item : d["items"]) {
            std::string id = item["id"].get<int>() == -1 ? "(none)" : std::to_string(item["id"].get<int>());
            out << "  id " << id << "  " << item["class"].get<std::string>() << "  style "
                << item["style"].get<std::string>() << "  at " << item["x"] << ", " << item["y"] << ", size "
                << item["width"] << " x " << item["height"] << "  " << quoted(item["text"].get<std::string>())
                << "\n";
        }
    }

    out << "\nOther resources:\n";
    for (const json& entry : r["resources"]) {
        std::string type = entry["type"];
        if (type == "STRINGTABLE" || type == "DIALOG" || type == "PIPL")
            continue;
        out << "  " << type << " "
            << (entry.contains("id") ? entry["id"].dump() : quoted(entry["name"].get<std::string>()))
            << " (language " << entry["language"] << ", " << entry["size"] << " bytes)\n";
    }
    const json& version = r["version"];
    if (!version["fileVersion"].get<std::string>().empty() || !version["strings"].empty()) {
        out << "\nVersion " << version["fileVersion"].get<std::string>() << ":\n";
        for (const auto& [key, value] : version["strings"].items())
            out << "  " << key << ": " << quoted(value.get<std::string>()) << "\n";
    }
}

}  // namespace

void addInspectCommand(CLI::App& app) {
    struct Options {
        std::string plugin;
        bool json = false;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "inspect", "Print what a host reads from a plug-in file: property list, string lists, dialogs.");
    command
        ->add_option("PLUGIN", options->plugin,
                     "The plug-in file: a Windows library (.aip), or a shared library with its .res beside it")
        ->required();
    command->add_flag("--json", options->json, "Print JSON instead of text");
    command->callback([options] {
        std::filesystem::path file = options->plugin;
        ResourceSet resources = simhost::readPluginResources(file);
        json r = report(file, resources);
        std::ostringstream text;
        if (options->json)
            text << r.dump(2) << "\n";
        else
            printText(r, text);
        std::cout << text.str() << std::flush;
    });
}

}  // namespace tesselwright_cli
