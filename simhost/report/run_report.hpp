#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "hostapi/types.h"

namespace simhost {

class Host;
class Document;

// How a run went, as the command line saw it.
struct RunSummary {
    uint64_t seed = 0;
    bool randomScripted = false;
    bool wentAhead = false;  // Go was sent
    ASErr getParameters = kNoErr;
    ASErr go = kNoErr;
};

// A result code as people read it: 0, a decimal host error, or its four characters ('STOP').
std::string resultText(ASErr code);

// The whole run: every message and its result, the record field by field, the document's art, styles and
// symbols, every swatch's colours before and after, the dialogs and alerts shown, and what the plug-in
// still holds. Contains nothing that depends on the platform or on file names, so reports of the same run
// on two platforms can be compared.
nlohmann::json runReport(Host& host, const Document& before, const RunSummary& summary);

}  // namespace simhost
