// Shared by the style tests that run the built plug-in in the stand-in host: a started plug-in with a
// parameter record of its own, and readers of what a build left in the document.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "document/document.hpp"
#include "params/filter_parameters.h"
#include "support/plugin_host.hpp"

namespace style_tests {

// The record as a new filter gets it; the words without a default are zero here.
inline void WriteRecordDefaults(FilterParameters& p) {
    std::memset(&p, 0, sizeof(p));
    p.viewZoom = 100.0f;
    p.shapeWidth = 500.0f;
    p.shapeHeight = 500.0f;
    p.frontScaleH = p.behindScaleH = p.frontScaleV = p.behindScaleV = 100.0f;
    p.behindRotate = 90.0f;
    p.repeatCount = 1;
    p.patternBlendMode = 1;
    p.activePage = 1;
    p.fillBlendMode = 17;
    p.preview = 1;
}

// A handle as the host's journal writes it.
inline std::string HandleText(simhost::ObjectId id) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", reinterpret_cast<void*>(static_cast<std::uintptr_t>(id)));
    return buffer;
}

class StyleHostTest : public testing_support::PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        start();
        host->parameters() = host->memory().newHandle(sizeof(FilterParameters));
        WriteRecordDefaults(record());
    }

    FilterParameters& record() { return *static_cast<FilterParameters*>(*host->parameters()); }
    simhost::Document& doc() { return host->document(); }

    // Sends "Go" and returns the host operations it made, suite bookkeeping left out.
    std::vector<std::string> go() {
        host->journal().clear();
        EXPECT_EQ(host->go(), kNoErr);
        return documentOperations();
    }

    std::vector<std::string> documentOperations() const {
        std::vector<std::string> ops;
        for (const auto& entry : host->journal().entries())
            if (entry.operation.rfind("SPBasicSuite.", 0) != 0)
                ops.push_back(entry.operation);
        return ops;
    }

    // Arguments of every journal entry of one operation, in order.
    std::vector<std::string> argumentsOf(const std::string& operation) const {
        std::vector<std::string> args;
        for (const auto& entry : host->journal().entries())
            if (entry.operation == operation)
                args.push_back(entry.arguments);
        return args;
    }

    // The art the last build added at the top level, or null.
    const simhost::Art* resultShape() {
        const auto& layer = doc().topLevelArt();
        return layer.empty() ? nullptr : doc().art(layer.back());
    }

    std::vector<simhost::PaintField> resultFields() {
        const simhost::Art* shape = resultShape();
        return shape ? doc().effectiveFields(*shape) : std::vector<simhost::PaintField>{};
    }

    std::vector<std::string> namedStyleNames() const {
        std::vector<std::string> names;
        for (const simhost::ArtStyle* s : host->document().namedStyles())
            names.push_back(s->name);
        return names;
    }

    simhost::ObjectId patternId(std::size_t n) { return doc().patterns().at(n).id; }

    static simhost::ObjectId fieldPattern(const simhost::PaintField& field) {
        return field.color.kind == kPattern ? simhost::idOf(field.color.c.p.pattern) : 0;
    }

    // Nothing the plug-in took is still held (apart from the globals block), no handle was misused and the
    // run had no host failure.
    void expectCleanLedger() {
        const auto& ledger = host->ledger();
        EXPECT_EQ(ledger.outstanding("parser"), 0u);
        EXPECT_EQ(ledger.outstanding("dictionary"), 0u);
        EXPECT_EQ(ledger.outstanding("paint field"), 0u);
        EXPECT_THAT(ledger.violations(), ::testing::IsEmpty());
        EXPECT_THAT(host->failures(), ::testing::IsEmpty());
    }
};

}  // namespace style_tests
