#include "run_report.hpp"

#include <cctype>

#include "core/host.hpp"
#include "document/document.hpp"
#include "report/document_json.hpp"
#include "report/parameter_record.hpp"

namespace simhost {

std::string resultText(ASErr code) {
    auto bits = static_cast<uint32_t>(code);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto c = static_cast<unsigned char>((bits >> shift) & 0xFF);
        if (!std::isprint(c))
            return std::to_string(code);
        text += static_cast<char>(c);
    }
    // Small numbers are numbers even when their bytes happen to be printable.
    if (code > -65536 && code < 65536)
        return std::to_string(code);
    return text;
}

nlohmann::json runReport(Host& host, const Document& before, const RunSummary& summary) {
    nlohmann::json report;
    report["seed"] = summary.seed;
    report["randomScripted"] = summary.randomScripted;
    report["randomNumbersDrawn"] = host.random().drawn();

    nlohmann::json messages = nlohmann::json::array();
    for (const auto& m : host.messages())
        messages.push_back({{"caller", m.caller}, {"selector", m.selector}, {"result", resultText(m.result)}});
    report["messages"] = messages;
    report["getParameters"] = resultText(summary.getParameters);
    report["go"] = summary.wentAhead ? nlohmann::json(resultText(summary.go)) : nlohmann::json();

    report["parameters"] = parametersToJson(host.parameters());
    report["document"] = documentToJson(host.document());
    report["swatches"] = {{"before", swatchColours(before)}, {"after", swatchColours(host.document())}};

    nlohmann::json shown = nlohmann::json::array();
    for (const auto& d : host.shown())
        shown.push_back(
            {{"name", d.name}, {"resourceId", d.resourceId}, {"texts", d.texts}, {"result", d.result}});
    report["dialogs"] = shown;

    report["ledger"] = {{"outstanding", host.ledger().outstanding()}, {"violations", host.ledger().violations()}};
    return report;
}

}  // namespace simhost
