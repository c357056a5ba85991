#pragma once

// A stand-in host without a plug-in, with the document suites at hand as the plug-in would hold them.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/host.hpp"
#include "document/document.hpp"

namespace document_tests {

template <class Suite>
const Suite* acquire(simhost::Host& host, const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host.suites().acquire(name, version, &table), kNoErr) << name;
    return static_cast<const Suite*>(table);
}

class DocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = std::make_unique<simhost::Host>();
        math = acquire<AIRealMathSuite>(*host, kAIRealMathSuite, kAIRealMathSuiteVersion);
        art = acquire<AIArtSuite>(*host, kAIArtSuite, kAIArtSuiteVersion);
        document = acquire<AIDocumentSuite>(*host, kAIDocumentSuite, kAIDocumentSuiteVersion);
        views = acquire<AIDocumentViewSuite>(*host, kAIDocumentViewSuite, kAIDocumentViewSuiteVersion);
        undo = acquire<AIUndoSuite>(*host, kAIUndoSuite, kAIUndoSuiteVersion);
        shapes =
            acquire<AIShapeConstructionSuite>(*host, kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion);
        pathStyles = acquire<AIPathStyleSuite>(*host, kAIPathStyleSuite, kAIPathStyleSuiteVersion);
        random = acquire<AIRandomSuite>(*host, kAIRandomSuite, kAIRandomSuiteVersion);
        patterns = acquire<AIPatternSuite>(*host, kAIPatternSuite, kAIPatternSuiteVersion);
        dictionaries = acquire<AIDictionarySuite>(*host, kAIDictionarySuite, kAIDictionarySuiteVersion);
        styles = acquire<AIArtStyleSuite>(*host, kAIArtStyleSuite, kAIArtStyleSuiteVersion);
        parsers = acquire<AIArtStyleParserSuite>(*host, kAIArtStyleParserSuite, kAIArtStyleParserSuiteVersion);
        symbols = acquire<AISymbolSuite>(*host, kAISymbolSuite, kAISymbolSuiteVersion);
    }

    simhost::Document& doc() { return host->document(); }

    // A fill paint field with a blend dictionary, appended to the parser, as the style builder makes one.
    void appendFill(AIStyleParser parser, const AIColor& color, int32_t mode, const float* opacity) {
        AIParserPaintField field = nullptr;
        ASSERT_EQ(parsers->NewFillPaintField(&color, kASFalse, kAIArtStyleNoPaintData, &field), kNoErr);
        AIDictionaryRef blend = nullptr;
        ASSERT_EQ(dictionaries->CreateDictionary(&blend), kNoErr);
        ASSERT_EQ(dictionaries->SetIntegerEntry(blend, dictionaries->Key("Mode"), mode), kNoErr);
        if (opacity != nullptr) {
            ASSERT_EQ(dictionaries->SetRealEntry(blend, dictionaries->Key("Opacity"), *opacity), kNoErr);
        }
        ASSERT_EQ(parsers->SetPaintFieldBlendDictionary(field, blend), kNoErr);
        dictionaries->ReleaseDictionary(blend);
        ASSERT_EQ(parsers->InsertNthPaintField(parser, -1, field), kNoErr);
    }

    // What a run of the filter leaves: a rectangle with a stroke and pattern fills, listed as a named style.
    struct Built {
        AIArtHandle shape = nullptr;
        AIArtStyleHandle style = nullptr;
        AIArtStyleHandle named = nullptr;
    };
    Built buildResult(const std::vector<AIPatternStyle>& layers, int32_t mode = kAIMultiplyBlendMode) {
        Built built;
        AIPathStyle current{};
        EXPECT_EQ(pathStyles->GetCurrentPathStyle(&current, nullptr), kNoErr);
        EXPECT_EQ(shapes->NewRect(0, 0, 500, 500, kASFalse, &built.shape), kNoErr);
        AIStyleParser parser = nullptr;
        EXPECT_EQ(parsers->NewParser(&parser), kNoErr);
        EXPECT_EQ(parsers->PrepareParser(parser), kNoErr);
        AIParserPaintField stroke = nullptr;
        EXPECT_EQ(parsers->NewStrokePaintField(&current.stroke, kAIArtStyleNoPaintData, &stroke), kNoErr);
        EXPECT_EQ(parsers->InsertNthPaintField(parser, -1, stroke), kNoErr);
        float half = 0.5f;
        for (std::size_t i = 0; i < layers.size(); ++i) {
            AIColor fill{};
            fill.kind = kPattern;
            fill.c.p = layers[i];
            appendFill(parser, fill, i == 0 ? kAINormalBlendMode : mode, i == 0 ? nullptr : &half);
        }
        for (int i = 0; i < 2; ++i) {
            AIParserPaintField first = nullptr;
            EXPECT_EQ(parsers->GetNthPaintField(parser, 0, &first), kNoErr);
            EXPECT_EQ(parsers->RemovePaintField(parser, first, kASTrue), kNoErr);
        }
        EXPECT_EQ(parsers->CreateArtStyle(parser, &built.style), kNoErr);
        EXPECT_EQ(parsers->DisposeParser(parser), kNoErr);
        EXPECT_EQ(styles->AddNamedStyle(built.style, " Tesselwright Style", kASTrue, &built.named), kNoErr);
        EXPECT_EQ(styles->SetArtStyle(built.shape, built.named), kNoErr);
        return built;
    }

    static AIPatternStyle layer(AIPatternHandle pattern, float scale = 100, float rotate = 0) {
        AIPatternStyle p{};
        p.pattern = pattern;
        p.scale = {scale, scale};
        p.rotate = rotate;
        p.transform = {1, 0, 0, 1, 0, 0};
        return p;
    }

    AIPatternHandle nthPattern(int32_t n) {
        AIPatternHandle p = nullptr;
        EXPECT_EQ(patterns->GetNthPattern(n, &p), kNoErr);
        return p;
    }

    std::unique_ptr<simhost::Host> host;
    const AIRealMathSuite* math = nullptr;
    const AIArtSuite* art = nullptr;
    const AIDocumentSuite* document = nullptr;
    const AIDocumentViewSuite* views = nullptr;
    const AIUndoSuite* undo = nullptr;
    const AIShapeConstructionSuite* shapes = nullptr;
    const AIPathStyleSuite* pathStyles = nullptr;
    const AIRandomSuite* random = nullptr;
    const AIPatternSuite* patterns = nullptr;
    const AIDictionarySuite* dictionaries = nullptr;
    const AIArtStyleSuite* styles = nullptr;
    const AIArtStyleParserSuite* parsers = nullptr;
    const AISymbolSuite* symbols = nullptr;
};

}  // namespace document_tests
