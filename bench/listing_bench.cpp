// SPDX-License-Identifier: GPL-3.0-or-later
// The work edt-tool list does beyond reading the file: every entry decoded, its key
// formatted and its text escaped into the output buffer, from a file image already in
// memory. Beside read() into memory (reader_bench.cpp) this shows what part of the
// listing's time is reading and what part is turning entries into lines; on every
// vector path the CPU runs, and for the default kind in several code pages.
#include <cstdio>
#include <vector>

#include "bench/bench_files.h"
#include "bench/bench_support.h"
#include "bench/core_benchmarks.h"
#include "cli/listed_text.h"
#include "record/entry_line.h"
#include "record/escaped_text.h"
#include "record/file_kind.h"
#include "record/text_codec.h"
#include "record/vector_path.h"

namespace edt::bench {
namespace {

void listInMemory(benchmark::State& state, const BenchFile& file, const std::string& path,
                  VectorPath vectorPath, const char* codePageName) {
    std::string image;
    {
        const std::int64_t size = fileSize(path);
        if (size < 0) {
            state.SkipWithError(("missing " + path + "; run edt-bench-files").c_str());
            return;
        }
        std::FILE* in = std::fopen(path.c_str(), "rb");
        image.resize(static_cast<std::size_t>(size));
        const bool read = in && std::fread(image.data(), 1, image.size(), in) == image.size();
        if (in)
            std::fclose(in);
        if (!read) {
            state.SkipWithError(("cannot read " + path).c_str());
            return;
        }
    }
    const FileKind kind = file.kind();
    const EntryLayout layout(kind, image.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(image.data());
    std::vector<char> scratch(static_cast<std::size_t>(kind.recordLength));
    std::vector<char> output(1 << 20);
    const CodePage* page = nullptr;
    if (!CodePage::named(codePageName, page).ok()) {
        state.SkipWithError((std::string("no code page ") + codePageName).c_str());
        return;
    }
    const Escaper escaper(*page, vectorPath);
    std::uint64_t written = 0;
    for (auto _ : state) {
        char* out = output.data();
        for (std::uint64_t i = 0; i < layout.entryCount(); ++i) {
            const std::uint64_t key = layout.keyOf(i);
            const std::size_t length = static_cast<std::size_t>(layout.lengthOf(i));
            if (static_cast<std::size_t>(output.data() + output.size() - out) <
                24 + Escaper::kMaxEscapedChar * length + Escaper::kSlack) {
                written += static_cast<std::uint64_t>(out - output.data());
                out = output.data(); // the listing would be written out here
            }
            *out++ = '[';
            out = writeKey(out, key);
            *out++ = ']';
            *out++ = ' ';
            out =
                cli::writeListedText(out, bytes + key - 1, length, length, scratch.data(), escaper);
            *out++ = '\n';
        }
        written += static_cast<std::uint64_t>(out - output.data());
        benchmark::DoNotOptimize(output.data());
    }
    reportThroughput(state, image.size());
    state.counters["output_MB"] =
        static_cast<double>(written) / 1e6 / static_cast<double>(state.iterations());
}

} // namespace

void registerListingBenchmarks(const std::string& dir) {
    for (const BenchFile& file : readerFiles()) {
        if (file.label.find("-100mb") == std::string::npos)
            continue;
        for (const VectorPath vectorPath : availablePaths()) {
            for (const char* page : {"1252", "1250", "1251", "1253", "866", "KOI8-R"}) {
                if (file.label != "default-100mb" && page != std::string("1252"))
                    continue;
                benchmark::RegisterBenchmark(
                    ("ListInMemory/" + file.label + "/" + pathName(vectorPath) + "/" + page)
                        .c_str(),
                    listInMemory, file, file.path(dir), vectorPath, page)
                    ->UseRealTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

} // namespace edt::bench
