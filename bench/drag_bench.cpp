// What one drag event on a drag button costs while "Preview" is ticked: the page refresh reads all 51
// controls back, undoes the previous preview and rebuilds the result with 40 repeat layers. The second
// benchmark adds what a host does next, drawing the document (500 by 500 pixels, PNG).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

#include "core/host.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "dialog/user.hpp"
#include "document/document.hpp"
#include "render/render.hpp"
#include "report/parameter_record.hpp"

namespace {

constexpr const char* kDialogName = "Vrom_Tesselwright";

// Drag events on the front horizontal-scale button, alternating between two mouse points so that every
// event really changes the value.
void DragWithPreview(benchmark::State& state, bool renderPng) {
    simhost::Host host;
    host.loadPlugin(TESSELWRIGHT_PLUGIN_PATH);
    if (host.startup() != kNoErr) {
        state.SkipWithError("the plug-in did not start");
        return;
    }
    // The first request makes the record; cancelled, it leaves the document as it was.
    host.dialogs().script(kDialogName, {simhost::UserAction::cancel()});
    host.getParameters();
    if (host.parameters() == nullptr) {
        state.SkipWithError("no parameter record");
        return;
    }
    simhost::setParameter(host.parameters(), "repeatCount=40");
    simhost::setParameter(host.parameters(), "preview=1");

    std::size_t bytes = 0;
    host.dialogs().script(
        kDialogName, {simhost::UserAction::run([&](simhost::Dialog& dialog) {
                          simhost::Item& button = dialog.at(160);
                          int32_t step = 0;
                          for (auto _ : state) {
                              const ADMPoint point{step % 2 == 0 ? 550 : 560, 300};
                              host.dialogs().track(button, {kADMButtonDownModifier, point});
                              if (renderPng) {
                                  bytes += simhost::render::renderPng(host.document(), {500, 500, 0.05}).size();
                              }
                              ++step;
                              // The journal would otherwise grow by every call of every event.
                              state.PauseTiming();
                              host.journal().clear();
                              state.ResumeTiming();
                          }
                      }),
                      simhost::UserAction::ok()});
    if (host.getParameters() != kNoErr || !host.failures().empty()) {
        state.SkipWithError("the dialog run failed");
        return;
    }
    // Make sure the events measured built what they should: one preview with its 41 pattern fills.
    const auto& art = host.document().topLevelArt();
    const simhost::Art* preview = art.empty() ? nullptr : host.document().art(art.back());
    const simhost::ArtStyle* style =
        preview && preview->artStyle ? host.document().style(*preview->artStyle) : nullptr;
    if (style == nullptr || style->fields.size() < 41) {
        state.SkipWithError("the drag events built no preview with 40 repeats");
        return;
    }
    if (renderPng) {
        state.counters["png_bytes"] =
            benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
    }
}

void BM_DragEventWithPreview(benchmark::State& state) {
    DragWithPreview(state, false);
}

void BM_DragEventWithPreviewAndPng(benchmark::State& state) {
    DragWithPreview(state, true);
}

}  // namespace

BENCHMARK(BM_DragEventWithPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragEventWithPreviewAndPng)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
