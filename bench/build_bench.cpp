// The style builder as the live preview runs it, and the pictures of its result.
//
// Previews: the settings dialog is open in the stand-in host and the user presses "Shuffle" once per
// iteration. That runs the value-change handler exactly as any control change does: all controls are read
// back into the record, then the builder undoes the previous preview and builds the result anew. So one
// iteration is one preview as the user waits for it.
//
// Renders: one built result, two 1,000-child swatches jittered, drawn as SVG text and as PNG at
// 1000 × 1000 pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "core/host_error.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "document/document.hpp"
#include "render/render.hpp"
#include "report/parameter_record.hpp"

namespace {

constexpr int32_t kShuffleButton = 80;
const char kDialogName[] = "Vrom_Tesselwright";

// A started plug-in whose filter record exists with its defaults: a first "Get Parameters" creates it
// and the user cancels, which leaves the document as it was.
class PluginSession {
  public:
    PluginSession() {
        host_.loadPlugin(TESSELWRIGHT_PLUGIN_PATH);
        host_.random().reseed(20261211);
        if (host_.startup() != kNoErr)
            throw simhost::HostError("the plug-in did not start");
        host_.dialogs().script(kDialogName, {simhost::UserAction::cancel()});
        if (host_.getParameters() != kCanceledErr || host_.parameters() == nullptr)
            throw simhost::HostError("the plug-in made no parameter record");
    }

    simhost::Host& host() { return host_; }
    simhost::Document& document() { return host_.document(); }
    void set(const std::string& assignment) { simhost::setParameter(host_.parameters(), assignment); }

  private:
    simhost::Host host_;
};

// Two swatches of `children` small rectangles each, in gray, CMYK and RGB by turns, replacing the sample's.
void UseLargeSwatches(simhost::Document& document, int children) {
    using simhost::Document;
    document.clearPatterns();
    for (const char* name : {"Mosaic A", "Mosaic B"}) {
        std::vector<simhost::ObjectId> art;
        const int columns = 25;
        const float width = 40.0f / columns;
        const float height = 40.0f / static_cast<float>((children + columns - 1) / columns);
        for (int i = 0; i < children; ++i) {
            float left = width * static_cast<float>(i % columns);
            float bottom = height * static_cast<float>(i / columns);
            auto corner = [](float x, float y) {
                AIRealPoint p{x, y};
                return simhost::PathSegment{p, p, p};
            };
            float shade = static_cast<float>(i % 17) / 17.0f;
            AIColor fill = i % 3 == 0   ? Document::gray(shade)
                           : i % 3 == 1 ? Document::cmyk(shade, 1.0f - shade, 0.3f, 0.1f)
                                        : Document::rgb(1.0f - shade, 0.4f, shade);
            art.push_back(document.addPath({corner(left, bottom), corner(left + width, bottom),
                                            corner(left + width, bottom + height), corner(left, bottom + height)},
                                           Document::fillStyle(fill)));
        }
        document.addPatternFromArt(name, {0, 0, 40, 40}, std::move(art));
    }
}

// Opens the dialog with the preview on and presses "Shuffle" once per iteration.
void MeasurePreviews(benchmark::State& state, PluginSession& session) {
    simhost::Host& host = session.host();
    session.set("preview=1");
    host.dialogs().script(kDialogName, {simhost::UserAction::run([&](simhost::Dialog& dialog) {
                                            const simhost::UserAction shuffle =
                                                simhost::UserAction::press(kShuffleButton);
                                            for (auto _ : state) {
                                                shuffle.perform(dialog, host.dialogs());
                                                // The journal would grow without end over thousands of builds.
                                                state.PauseTiming();
                                                host.journal().clear();
                                                state.ResumeTiming();
                                            }
                                        }),
                                        simhost::UserAction::ok()});
    host.getParameters();
    if (!host.failures().empty())
        state.SkipWithError(host.failures().front().c_str());
}

void BM_PreviewBuild(benchmark::State& state) {
    PluginSession session;
    session.set("repeatCount=" + std::to_string(state.range(0)));
    MeasurePreviews(state, session);
    state.counters["layers"] = static_cast<double>(state.range(0) + 1);
}
BENCHMARK(BM_PreviewBuild)->Arg(1)->Arg(10)->Arg(40)->Unit(benchmark::kMicrosecond);

// "Go" on a record that no dialog has clamped: the dialog's spin edit holds the repeats at 40, so the
// builder's own limit of 1000 layers is reached only this way. Each result is taken back between
// iterations, so every build starts from the same document.
void BM_GoBuild(benchmark::State& state) {
    PluginSession session;
    session.set("repeatCount=" + std::to_string(state.range(0)));
    simhost::Host& host = session.host();
    for (auto _ : state) {
        host.go();
        state.PauseTiming();
        session.document().undoChanges();
        host.journal().clear();
        state.ResumeTiming();
    }
    if (!host.failures().empty())
        state.SkipWithError(host.failures().front().c_str());
    state.counters["layers"] = static_cast<double>(std::min<int64_t>(state.range(0), 1000) + 1);
}
BENCHMARK(BM_GoBuild)->Arg(40)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_PreviewBuildJitter1000(benchmark::State& state) {
    PluginSession session;
    UseLargeSwatches(session.document(), 1000);
    session.set("frontPatternIndex=0");
    session.set("behindPatternIndex=1");
    session.set("colorModification=7");  // jitter, both swatches
    MeasurePreviews(state, session);
    state.counters["children"] = 2000;
}
BENCHMARK(BM_PreviewBuildJitter1000)->Unit(benchmark::kMicrosecond);

// The result of one final build over the large swatches, for the renderers.
void BuildLargeResult(PluginSession& session) {
    UseLargeSwatches(session.document(), 1000);
    session.set("frontPatternIndex=0");
    session.set("behindPatternIndex=1");
    session.set("colorModification=7");
    session.set("repeatCount=4");
    session.set("previewDrawn=0");
    session.host().go();
}

void BM_RenderSvg(benchmark::State& state) {
    PluginSession session;
    BuildLargeResult(session);
    simhost::render::RenderOptions options{1000, 1000};
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string svg = simhost::render::renderSvg(session.document(), options);
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderSvg)->Unit(benchmark::kMillisecond);

void BM_RenderPng(benchmark::State& state) {
    PluginSession session;
    BuildLargeResult(session);
    simhost::render::RenderOptions options{1000, 1000};
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t> png = simhost::render::renderPng(session.document(), options);
        bytes = png.size();
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
