// SPDX-License-Identifier: GPL-3.0-or-later
// One write of a 200-character text into a small file and into a 1 GiB sparse file:
// a write in place touches its entry only, so the file's size must not matter.
#include "bench/bench_files.h"
#include "bench/bench_support.h"
#include "bench/core_benchmarks.h"
#include "bench/write_texts.h"
#include "record/message.h"
#include "record/writer.h"

namespace edt::bench {
namespace {

void writeRecord(benchmark::State& state, const BenchFile& file, const std::string& path) {
    const std::int64_t size = fileSize(path);
    if (size < 0) {
        state.SkipWithError(("missing " + path + "; run edt-bench-files").c_str());
        return;
    }
    const RecordKey key = lastEntryKey(file.kind(), static_cast<std::uint64_t>(size));
    const std::string texts[2] = {writeText(0), writeText(1)};
    std::size_t turn = 0;
    for (auto _ : state) {
        const WriteResult result =
            edt::writeRecord(path, file.kind(), key, texts[turn ^= 1], codePage());
        if (!result.status.ok()) {
            state.SkipWithError(edt::describe(result.status).c_str());
            return;
        }
    }
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}

} // namespace

void registerWriteBenchmarks(const std::string& dir) {
    for (const BenchFile& file : {smallWriteFile(), sparseWriteFile()})
        benchmark::RegisterBenchmark(("WriteRecord/" + file.label).c_str(), writeRecord, file,
                                     file.path(dir))
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
}

} // namespace edt::bench
