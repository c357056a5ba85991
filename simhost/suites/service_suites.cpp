// Host services that are not about the document: memory handles, number text, menus, filters and the
// toolkit's basic operations (string lists and alerts).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "core/host.hpp"
#include "core/suite_registry.hpp"
#include "loader/plugin_module.hpp"
#include "suites.hpp"

namespace simhost {

namespace {

std::string describe(const void* pointer) {
    std::ostringstream text;
    text << pointer;
    return text.str();
}

// Length-prefixed texts: one length byte, then that many characters.
std::string fromLengthPrefixed(const unsigned char* text) {
    if (text == nullptr)
        return {};
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

void toLengthPrefixed(std::string_view text, unsigned char* buffer) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    buffer[0] = static_cast<unsigned char>(length);
    std::memcpy(buffer + 1, text.data(), length);
}

// A plug-in may only pass the reference the host gave it in its messages.
bool checkPluginRef(Host& host, SPPluginRef plugin, std::string_view operation) {
    if (plugin == host.pluginRef())
        return true;
    host.ledger().violation(std::string(operation) + ": foreign plug-in reference (" + describe(plugin) + ")");
    return false;
}

// ---- AI MdMemory Suite --------------------------------------------------------------------------------

AIErr HOSTAPI MdMemoryNewHandle(size_t size, AIMdMemoryHandle* handle) {
    Host& host = Host::current();
    if (ASErr fault = host.enter("AIMdMemorySuite.MdMemoryNewHandle", std::to_string(size)))
        return fault;
    if (handle == nullptr) {
        host.ledger().violation("AIMdMemorySuite.MdMemoryNewHandle: null address for the handle");
        return kBadParameterErr;
    }
    try {
        *handle = host.memory().newHandle(size);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    }
    return kNoErr;
}

constexpr AIMdMemorySuite kMdMemorySuite = {MdMemoryNewHandle};

// ---- AI User Suite ------------------------------------------------------------------------------------

// A plain decimal: an optional sign, digits with at most one point, at least one digit, nothing else.
bool isPlainDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

std::optional<AIReal> parseReal(std::string_view text) {
    if (!isPlainDecimal(text))
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<AIReal>::max()))
        return std::nullopt;
    return static_cast<AIReal>(value);
}

AIErr HOSTAPI StringToAIReal(const unsigned char* text, AIReal* value) {
    Host& host = Host::current();
    std::string decoded = fromLengthPrefixed(text);
    if (ASErr fault = host.enter("AIUserSuite.StringToAIReal", decoded))
        return fault;
    if (text == nullptr || value == nullptr) {
        host.ledger().violation("AIUserSuite.StringToAIReal: null text or result");
        return kBadParameterErr;
    }
    auto parsed = parseReal(decoded);
    if (!parsed)
        return kBadParameterErr;
    *value = *parsed;
    return kNoErr;
}

// The number as a person would write it: no "-0" for a value that rounds to zero.
std::string formatReal(AIReal value, int32_t precision) {
    const int decimals = std::clamp(precision, 0, 12);
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), "%.*f", decimals, static_cast<double>(value));
    std::string text = buffer;
    if (text.starts_with('-') && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

AIErr HOSTAPI AIRealToString(AIReal value, int32_t precision, unsigned char* text) {
    Host& host = Host::current();
    if (ASErr fault =
            host.enter("AIUserSuite.AIRealToString", formatReal(value, 6) + ", " + std::to_string(precision)))
        return fault;
    if (text == nullptr) {
        host.ledger().violation("AIUserSuite.AIRealToString: null text buffer");
        return kBadParameterErr;
    }
    toLengthPrefixed(formatReal(value, precision), text);
    return kNoErr;
}

constexpr AIUserSuite kUserSuite = {StringToAIReal, AIRealToString};

// ---- AI Menu Suite and AI Filter Suite ----------------------------------------------------------------

// Handles the host makes for filters and their menu items: distinct, never dereferenced, recognisable.
constexpr std::uintptr_t kFilterHandleBase = 0x7F110000;
constexpr std::uintptr_t kMenuItemHandleBase = 0x7F120000;

template <class Handle>
Handle makeHandle(std::uintptr_t base, std::size_t index) {
    return reinterpret_cast<Handle>(base + 0x10 * (index + 1));
}

RegisteredFilter* findFilter(Host& host, AIFilterHandle filter) {
    auto& filters = host.filters();
    auto it = std::find_if(filters.begin(), filters.end(), [&](const auto& f) { return f.handle == filter; });
    return it == filters.end() ? nullptr : &*it;
}

RegisteredFilter* findMenuItem(Host& host, AIMenuItemHandle menuItem) {
    auto& filters = host.filters();
    auto it = std::find_if(filters.begin(), filters.end(), [&](const auto& f) { return f.menuItem == menuItem; });
    return it == filters.end() ? nullptr : &*it;
}

AIErr HOSTAPI UpdateMenuItemAutomatically(AIMenuItemHandle menuItem, int32_t action, int32_t ifObjectIsInArtwork,
                                          int32_t ifObjectIsNotInArtwork, int32_t ifIsSelected,
                                          int32_t ifIsNotSelected, int32_t ifIsTrue, int32_t ifIsNotTrue) {
    Host& host = Host::current();
    std::ostringstream arguments;
    arguments << describe(menuItem) << ", " << action << ", " << ifObjectIsInArtwork << ", "
              << ifObjectIsNotInArtwork << ", " << ifIsSelected << ", " << ifIsNotSelected << ", " << ifIsTrue
              << ", " << ifIsNotTrue;
    if (ASErr fault = host.enter("AIMenuSuite.UpdateMenuItemAutomatically", arguments.str()))
        return fault;
    RegisteredFilter* filter = findMenuItem(host, menuItem);
    if (filter == nullptr) {
        host.ledger().violation("AIMenuSuite.UpdateMenuItemAutomatically: unknown menu item (" +
                                describe(menuItem) + ")");
        return kBadParameterErr;
    }
    filter->autoEnabled = action == kAutoEnableMenuItemAction;
    return kNoErr;
}

constexpr AIMenuSuite kMenuSuite = {UpdateMenuItemAutomatically};

AIErr HOSTAPI AddFilter(SPPluginRef self, const char* name, PlatformAddFilterData* data, int32_t options,
                        AIFilterHandle* filter) {
    Host& host = Host::current();
    std::string category = data ? fromLengthPrefixed(data->category) : std::string();
    std::string title = data ? fromLengthPrefixed(data->title) : std::string();
    if (ASErr fault = host.enter("AIFilterSuite.AddFilter", std::string(name ? name : "(null)") + ", " + category +
                                                                ", " + title + ", " + std::to_string(options)))
        return fault;
    if (!checkPluginRef(host, self, "AIFilterSuite.AddFilter"))
        return kBadParameterErr;
    if (name == nullptr || data == nullptr || data->category == nullptr || data->title == nullptr ||
        filter == nullptr) {
        host.ledger().violation("AIFilterSuite.AddFilter: null name, registration data or handle address");
        return kBadParameterErr;
    }
    const std::size_t index = host.filters().size();
    RegisteredFilter registered;
    registered.name = name;
    registered.category = std::move(category);
    registered.title = std::move(title);
    registered.handle = makeHandle<AIFilterHandle>(kFilterHandleBase, index);
    registered.menuItem = makeHandle<AIMenuItemHandle>(kMenuItemHandleBase, index);
    host.filters().push_back(std::move(registered));
    *filter = host.filters().back().handle;
    return kNoErr;
}

AIErr HOSTAPI GetFilterMenuItem(AIFilterHandle filter, AIMenuItemHandle* menuItem) {
    Host& host = Host::current();
    if (ASErr fault = host.enter("AIFilterSuite.GetFilterMenuItem", describe(filter)))
        return fault;
    RegisteredFilter* registered = findFilter(host, filter);
    if (registered == nullptr) {
        host.ledger().violation("AIFilterSuite.GetFilterMenuItem: unknown filter (" + describe(filter) + ")");
        return kBadParameterErr;
    }
    if (menuItem == nullptr) {
        host.ledger().violation("AIFilterSuite.GetFilterMenuItem: null address for the menu item");
        return kBadParameterErr;
    }
    *menuItem = registered->menuItem;
    return kNoErr;
}

constexpr AIFilterSuite kFilterSuite = {AddFilter, GetFilterMenuItem};

// ---- ADM Basic Suite ----------------------------------------------------------------------------------

// Tests vary the string lists through the overrides; everything else comes from the plug-in's resources.
std::string indexString(Host& host, int32_t listID, int32_t index) {
    const int32_t id = listID + index;
    if (auto it = host.stringOverrides().find(id); it != host.stringOverrides().end())
        return it->second;
    if (!host.pluginLoaded())
        return {};
    return host.plugin().resources().indexString(listID, index);
}

ASErr HOSTAPI GetIndexString(SPPluginRef plugin, int32_t listID, int32_t index, char* buffer, int32_t maxLength) {
    Host& host = Host::current();
    if (ASErr fault =
            host.enter("ADMBasicSuite.GetIndexString",
                       std::to_string(listID) + ", " + std::to_string(index) + ", " + std::to_string(maxLength)))
        return fault;
    if (!checkPluginRef(host, plugin, "ADMBasicSuite.GetIndexString"))
        return kBadParameterErr;
    if (buffer == nullptr || maxLength < 0) {
        host.ledger().violation("ADMBasicSuite.GetIndexString: null buffer or negative length");
        return kBadParameterErr;
    }
    const std::string text = indexString(host, listID, index);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(maxLength));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return kNoErr;
}

void HOSTAPI MessageAlert(const char* text) {
    Host& host = Host::current();
    std::string shown = text ? text : "";
    host.enter("ADMBasicSuite.MessageAlert", shown);
    host.show(ShownDialog{"alert", 0, {shown}, kADMDefaultItemID});
}

constexpr ADMBasicSuite kToolkitBasicSuite = {GetIndexString, MessageAlert};

}  // namespace

void registerServiceSuites(SuiteRegistry& registry) {
    registry.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &kMdMemorySuite);
    registry.add(kAIUserSuite, kAIUserSuiteVersion, &kUserSuite);
    registry.add(kAIMenuSuite, kAIMenuSuiteVersion, &kMenuSuite);
    registry.add(kAIFilterSuite, kAIFilterSuiteVersion, &kFilterSuite);
    registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &kToolkitBasicSuite);
}

}  // namespace simhost
