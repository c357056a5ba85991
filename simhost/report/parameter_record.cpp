#include "parameter_record.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/host_error.hpp"

namespace simhost {

namespace {

unsigned char* wordAddress(AIMdMemoryHandle record, std::size_t index) {
    return static_cast<unsigned char*>(*record) + index * 4;
}

std::string trim(std::string_view text) {
    auto begin = text.find_first_not_of(" \t");
    auto end = text.find_last_not_of(" \t");
    return begin == std::string_view::npos ? std::string() : std::string(text.substr(begin, end - begin + 1));
}

}  // namespace

std::optional<std::size_t> parameterWordIndex(std::string_view name) {
    for (std::size_t i = 0; i < kParameterRecord.size(); ++i)
        if (kParameterRecord[i].name == name)
            return i;
    return std::nullopt;
}

nlohmann::json parametersToJson(AIMdMemoryHandle record) {
    nlohmann::json fields = nlohmann::json::object();
    if (record == nullptr || *record == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < kParameterRecord.size(); ++i) {
        const auto& word = kParameterRecord[i];
        int32_t integer = 0;
        std::memcpy(&integer, wordAddress(record, i), 4);
        switch (word.kind) {
            case WordKind::Real: {
                float real = 0;
                std::memcpy(&real, wordAddress(record, i), 4);
                fields[std::string(word.name)] = std::isfinite(real) ? nlohmann::json(real) : nlohmann::json();
                break;
            }
            case WordKind::Integer:
            case WordKind::Boolean:
                fields[std::string(word.name)] = integer;
                break;
        }
    }
    return fields;
}

void setParameter(AIMdMemoryHandle record, std::string_view assignment) {
    auto equals = assignment.find('=');
    if (equals == std::string_view::npos)
        throw HostError("--set expects FIELD=VALUE, got \"" + std::string(assignment) + "\"");
    std::string name = trim(assignment.substr(0, equals));
    std::string value = trim(assignment.substr(equals + 1));
    auto index = parameterWordIndex(name);
    if (!index)
        throw HostError("--set: the record has no field \"" + name + "\"");
    const auto& word = kParameterRecord[*index];
    const char* first = value.data();
    const char* last = value.data() + value.size();
    if (word.kind == WordKind::Real) {
        float real = 0;
        auto [end, error] = std::from_chars(first, last, real);
        if (error == std::errc::result_out_of_range && end == last)
            throw HostError("--set " + name + ": " + value +
                            " is too large or too small for the field, a 32-bit " + "real number");
        if (error != std::errc() || end != last || !std::isfinite(real))
            throw HostError("--set " + name + ": \"" + value + "\" is not a number");
        std::memcpy(wordAddress(record, *index), &real, 4);
        return;
    }
    int32_t integer = 0;
    if (word.kind == WordKind::Boolean && (value == "true" || value == "false")) {
        integer = value == "true" ? 1 : 0;
    } else {
        auto [end, error] = std::from_chars(first, last, integer);
        if (error == std::errc::result_out_of_range && end == last)
            throw HostError("--set " + name + ": " + value +
                            " is out of the field's range, -2147483648 to 2147483647");
        if (error != std::errc() || end != last)
            throw HostError("--set " + name + ": \"" + value + "\" is not a whole number");
    }
    std::memcpy(wordAddress(record, *index), &integer, 4);
}

}  // namespace simhost
