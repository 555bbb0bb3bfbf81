// SPDX-License-Identifier: GPL-3.0-or-later
// The record core's reader beside its floors: reading the same file into memory, whole
// or in pieces.
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "bench/bench_files.h"
#include "bench/bench_support.h"
#include "bench/core_benchmarks.h"
#include "record/message.h"
#include "record/reader.h"

namespace edt::bench {
namespace {

// The floor: one plain read() of the whole file into a buffer that already exists.
void readIntoMemory(benchmark::State& state, const std::string& path) {
    const std::int64_t size = fileSize(path);
    if (size < 0) {
        state.SkipWithError(("missing " + path + "; run edt-bench-files").c_str());
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t got = 0;
        ssize_t n = 0;
        while (fd >= 0 && (n = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0)
            got += static_cast<std::size_t>(n);
        if (fd >= 0)
            ::close(fd);
        if (fd < 0 || n < 0 || got != static_cast<std::size_t>(size)) {
            state.SkipWithError(("cannot read " + path).c_str());
            return;
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    reportThroughput(state, static_cast<std::uint64_t>(size));
}

// The floor of a reader that streams: read() in pieces of 1 MiB into one buffer, as
// cat does (with smaller pieces), every byte passing through memory once.
void readInPieces(benchmark::State& state, const std::string& path) {
    const std::int64_t size = fileSize(path);
    if (size < 0) {
        state.SkipWithError(("missing " + path + "; run edt-bench-files").c_str());
        return;
    }
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::int64_t got = 0;
        ssize_t n = 0;
        while (fd >= 0 && (n = ::read(fd, buffer.data(), buffer.size())) > 0) {
            got += n;
            benchmark::DoNotOptimize(buffer.data());
            benchmark::ClobberMemory();
        }
        if (fd >= 0)
            ::close(fd);
        if (fd < 0 || n < 0 || got != size) {
            state.SkipWithError(("cannot read " + path).c_str());
            return;
        }
    }
    reportThroughput(state, static_cast<std::uint64_t>(size));
}

// The reader's loop alone: every entry decoded and visited, nothing kept.
void visitEntries(benchmark::State& state, const BenchFile& file, const std::string& path) {
    const std::int64_t size = fileSize(path);
    std::uint64_t entries = 0;
    for (auto _ : state) {
        entries = 0;
        std::uint64_t characters = 0;
        const Status status =
            edt::visitEntries(path, file.kind(), [&](RecordKey, std::string_view text) {
                ++entries;
                characters += text.size();
            });
        if (!status.ok()) {
            state.SkipWithError(edt::describe(status).c_str());
            return;
        }
        benchmark::DoNotOptimize(characters);
    }
    reportThroughput(state, static_cast<std::uint64_t>(size));
    state.counters["entries"] = static_cast<double>(entries);
}

// The whole list kept in memory, as a caller that shows it needs it.
void readFile(benchmark::State& state, const BenchFile& file, const std::string& path) {
    const std::int64_t size = fileSize(path);
    for (auto _ : state) {
        ReadResult result = edt::readFile(path, file.kind());
        if (!result.status.ok()) {
            state.SkipWithError(edt::describe(result.status).c_str());
            return;
        }
        benchmark::DoNotOptimize(result.entries.data());
    }
    reportThroughput(state, static_cast<std::uint64_t>(size));
}

} // namespace

void registerReaderBenchmarks(const std::string& dir) {
    for (const BenchFile& file : readerFiles()) {
        const std::string path = file.path(dir);
        for (auto* bench : {
                 benchmark::RegisterBenchmark(("ReadIntoMemory/" + file.label).c_str(),
                                              readIntoMemory, path),
                 benchmark::RegisterBenchmark(("ReadInPieces/" + file.label).c_str(), readInPieces,
                                              path),
                 benchmark::RegisterBenchmark(("VisitEntries/" + file.label).c_str(), visitEntries,
                                              file, path),
                 benchmark::RegisterBenchmark(("ReadFile/" + file.label).c_str(), readFile, file,
                                              path),
             })
            bench->UseRealTime()->Unit(benchmark::kMillisecond);
    }
}

} // namespace edt::bench
