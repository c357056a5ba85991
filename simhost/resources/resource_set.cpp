#include "resource_set.hpp"

namespace simhost {

namespace {
constexpr uint32_t fourcc(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}
}  // namespace

const PiplProperty* PropertyList::find(uint32_t vendor, uint32_t key) const {
    for (const auto& property : properties)
        if (property.vendor == vendor && property.key == key)
            return &property;
    return nullptr;
}

std::optional<std::string> PropertyList::entryPoint() const {
    const PiplProperty* property = find(fourcc("ADBE"), fourcc("wx86"));
    if (property == nullptr)
        return std::nullopt;
    std::string name(property->data.begin(), property->data.end());
    name = name.substr(0, name.find('\0'));  // the name is stored zero-terminated
    if (name.empty())
        return std::nullopt;
    return name;
}

std::optional<std::string> ResourceSet::string(int32_t id) const {
    auto it = strings.find(id);
    if (it == strings.end())
        return std::nullopt;
    return it->second;
}

std::string ResourceSet::indexString(int32_t listId, int32_t index) const {
    return string(listId + index).value_or(std::string());
}

const DialogTemplate* ResourceSet::dialog(int32_t id) const {
    auto it = dialogs.find(id);
    return it == dialogs.end() ? nullptr : &it->second;
}

}  // namespace simhost
