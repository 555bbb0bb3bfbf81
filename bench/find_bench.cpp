// SPDX-License-Identifier: GPL-3.0-or-later
// One step of find in a file of a million entries: from the first row to a match near
// the last, to a key, and round the whole list without a match (the longest step).
#include "bench/bench_files.h"
#include "bench/bench_support.h"
#include "bench/core_benchmarks.h"
#include "editor/editor.h"
#include "record/message.h"

namespace edt::bench {
namespace {

void findStep(benchmark::State& state, const std::string& path, const std::u16string& query) {
    Editor editor;
    const Status opened = editor.open(path, kindForPath("strings.edt"), codePage());
    if (!opened.ok()) {
        state.SkipWithError(describe(opened).c_str());
        return;
    }
    const std::size_t last = editor.entries().size() - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.find(query, std::size_t{0}, true));
    const auto found = editor.find(query, std::size_t{0}, true);
    state.counters["rows_searched"] = static_cast<double>(found ? found->row : last);
}

} // namespace

void registerFindBenchmarks(const std::string& dir) {
    const std::string path = entriesFile(1000000).path(dir);
    // The last entry's key, a word that is nowhere, and text near the end.
    for (const auto& [name, query] : {std::pair{"key", std::u16string(u"479999521")},
                                      std::pair{"nowhere", std::u16string(u"Quetzalcoatl")},
                                      std::pair{"mixed-case", std::u16string(u"ZELVAR Señor")}})
        benchmark::RegisterBenchmark(("FindStep/entries-1000000/" + std::string(name)).c_str(),
                                     findStep, path, query)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
}

} // namespace edt::bench
