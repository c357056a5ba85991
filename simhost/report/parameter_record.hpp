#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "hostapi/types.h"

namespace simhost {

// The layout of the filter's parameter record as the host sees it: 62 consecutive 32-bit words. The host
// never includes the plug-in's headers, so it keeps its own description of the words: for the report
// (every field by name) and for replaying a record (`--set FIELD=VALUE`).
enum class WordKind { Integer, Real, Boolean };

struct RecordWord {
    std::string_view name;
    WordKind kind;
};

inline constexpr std::size_t kParameterWords = 62;

inline constexpr std::array<RecordWord, kParameterWords> kParameterRecord{
    {{"frontPatternIndex", WordKind::Integer},
     {"viewZoom", WordKind::Real},
     {"shapeWidth", WordKind::Real},
     {"shapeHeight", WordKind::Real},
     {"shapeX", WordKind::Real},
     {"shapeY", WordKind::Real},
     {"frontScaleH", WordKind::Real},
     {"behindScaleH", WordKind::Real},
     {"frontScaleV", WordKind::Real},
     {"behindScaleV", WordKind::Real},
     {"frontRotate", WordKind::Real},
     {"behindRotate", WordKind::Real},
     {"frontShiftAngle", WordKind::Real},
     {"behindShiftAngle", WordKind::Real},
     {"frontShiftDistance", WordKind::Real},
     {"behindShiftDistance", WordKind::Real},
     {"frontShearAngle", WordKind::Real},
     {"behindShearAngle", WordKind::Real},
     {"frontShearAxis", WordKind::Real},
     {"behindShearAxis", WordKind::Real},
     {"frontReflectAngle", WordKind::Real},
     {"behindReflectAngle", WordKind::Real},
     {"randomFrontRotate", WordKind::Boolean},
     {"frontReflect", WordKind::Boolean},
     {"behindReflect", WordKind::Boolean},
     {"randomFrontScale", WordKind::Boolean},
     {"randomFrontOpacity", WordKind::Boolean},
     {"randomFrontPattern", WordKind::Boolean},
     {"linkScaling", WordKind::Boolean},
     {"linkPatterns", WordKind::Boolean},
     {"randomFrontReflectAngle", WordKind::Boolean},
     {"randomBehindReflectAngle", WordKind::Boolean},
     {"randomFrontShear", WordKind::Boolean},
     {"randomBehindShear", WordKind::Boolean},
     {"randomFrontShift", WordKind::Boolean},
     {"randomBehindShift", WordKind::Boolean},
     {"createSymbol", WordKind::Boolean},
     {"useSwatch", WordKind::Boolean},
     {"swapPatterns", WordKind::Boolean},
     {"behindPatternIndex", WordKind::Integer},
     {"repeatCount", WordKind::Integer},
     {"presetIndex", WordKind::Integer},
     {"randomBehindRotate", WordKind::Boolean},
     {"randomBehindScale", WordKind::Boolean},
     {"randomBehindOpacity", WordKind::Boolean},
     {"randomBehindPattern", WordKind::Boolean},
     {"noPermanentStyle", WordKind::Boolean},
     {"colorModification", WordKind::Integer},
     {"patternBlendMode", WordKind::Integer},
     {"baseShape", WordKind::Integer},
     {"reserved", WordKind::Integer},
     {"transformLinking", WordKind::Integer},
     {"activePage", WordKind::Integer},
     {"fillBlendMode", WordKind::Integer},
     {"preview", WordKind::Boolean},
     {"finalRun", WordKind::Boolean},
     {"previewDrawn", WordKind::Boolean},
     {"dialogLeft", WordKind::Integer},
     {"dialogTop", WordKind::Integer},
     {"dialogRight", WordKind::Integer},
     {"dialogBottom", WordKind::Integer},
     {"dialogBoundsSaved", WordKind::Boolean}}};

// The word's index, or nothing for an unknown name.
std::optional<std::size_t> parameterWordIndex(std::string_view name);

// Every field by name, with its value read as its kind.
nlohmann::json parametersToJson(AIMdMemoryHandle record);

// Sets a field from text ("repeatCount=4", "frontRotate=12.5", "useSwatch=1"); throws HostError with a
// clear sentence for an unknown field or a value that does not fit its kind.
void setParameter(AIMdMemoryHandle record, std::string_view assignment);

}  // namespace simhost
