// Costs of the toolkit's hot paths: posting and delivering window messages,
// a control setter with its coalesced redraw, and building a page's worth of
// controls by class name.
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MText.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

class CountingDialog : public DUI::MDialog {
public:
    long received = 0;
    DUI::LRESULT OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam, DUI::LPARAM lParam) override {
        if (message >= DUI::WM_USER) ++received;
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }
};

// Post n messages, then deliver them all on the UI thread.
void BM_PostAndDeliver(benchmark::State& state) {
    DUI::HeadlessBackend backend;
    CountingDialog dialog;
    dialog.Create(0, "Main", 0, 0, DUI::Rect{0, 0, 100, 100});
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) dialog.PostMessage(DUI::WM_USER + 670, 0, i);
        backend.processEvents();
    }
    benchmark::DoNotOptimize(dialog.received);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PostAndDeliver)->Arg(1)->Arg(1000);

// A worker-style burst of title changes: one redraw is delivered per burst.
void BM_SetTitleBurst(benchmark::State& state) {
    DUI::HeadlessBackend backend;
    DUI::MDialog dialog;
    dialog.Create(0, "Main", 0, 0, DUI::Rect{0, 0, 100, 100});
    auto* text = static_cast<DUI::MText*>(dialog.CreateControl("MText", 44, DUI::Rect{0, 0, 10, 10}));
    const int n = static_cast<int>(state.range(0));
    long round = 0;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) text->SetTitle(std::to_string(round * n + i));
        backend.processEvents();
        ++round;
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_SetTitleBurst)->Arg(1)->Arg(100);

// A page's worth of controls (300) created by class name.
void BM_CreateControls(benchmark::State& state) {
    DUI::HeadlessBackend backend;
    const char* classes[] = {"MText", "MButton", "MComboBox", "MEdit", "CRadioButton", "MPicture"};
    for (auto _ : state) {
        DUI::MDialog dialog;
        dialog.Create(0, "Page", 0, 0, DUI::Rect{0, 0, 1300, 788});
        for (int i = 0; i < 300; ++i) dialog.CreateControl(classes[i % 6], i, DUI::Rect{0, 0, 10, 10});
        benchmark::DoNotOptimize(dialog.GetControl(299));
    }
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_CreateControls);

}  // namespace
