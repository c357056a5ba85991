// Resources of a loaded Windows module, read the way a Windows host reads them: through the resource API.
#ifdef _WIN32

#include <windows.h>

#include "byte_reader.hpp"
#include "resource_readers.hpp"

namespace simhost {

namespace {

// The API hands names over as integer atoms (IS_INTRESOURCE) or wide strings.
ResourceName nameOf(LPCWSTR value) {
    if (IS_INTRESOURCE(value))
        return ResourceName::fromOrdinal(uint16_t(reinterpret_cast<ULONG_PTR>(value)));
    std::u16string text;
    for (const wchar_t* unit = value; *unit != 0; ++unit)
        text += char16_t(*unit);
    return ResourceName::fromText(resources_detail::utf16ToUtf8(text));
}

struct Enumeration {
    HMODULE module = nullptr;
    std::vector<RawResource> found;
};

BOOL CALLBACK onLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR context) {
    auto& state = *reinterpret_cast<Enumeration*>(context);
    HRSRC info = FindResourceExW(module, type, name, language);
    if (info == nullptr)
        return TRUE;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    DWORD size = SizeofResource(module, info);
    if (data == nullptr)
        return TRUE;
    RawResource resource;
    resource.type = nameOf(type);
    resource.name = nameOf(name);
    resource.language = language;
    resource.data = std::span<const uint8_t>(static_cast<const uint8_t*>(data), size);
    state.found.push_back(std::move(resource));
    return state.found.size() <= 4096;
}

BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
    EnumResourceLanguagesW(module, type, name, onLanguage, context);
    return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR context) {
    EnumResourceNamesW(module, type, onName, context);
    return TRUE;
}

}  // namespace

ResourceSet readModuleResources(void* module, const std::string& origin) {
    Enumeration state;
    state.module = static_cast<HMODULE>(module);
    EnumResourceTypesW(state.module, onType, reinterpret_cast<LONG_PTR>(&state));
    // The views stay valid while the module is loaded; everything is decoded before this returns.
    return decodeResources(state.found, origin);
}

}  // namespace simhost

#endif
