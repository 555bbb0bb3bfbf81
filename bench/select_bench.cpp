// SPDX-License-Identifier: GPL-3.0-or-later
// A click on the last line of the list, which selects it and runs the length
// counter, in a list of 1,000,000 entries beside one of 10: the cost of a selection
// must not grow with the list.
#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QTest>

#include "bench/bench_support.h"
#include "bench/window_benchmarks.h"
#include "record/reader.h"

namespace edt::bench {
namespace {

void selectLastLine(benchmark::State& state, const BenchFile& file, const std::string& dir) {
    Reports reports;
    const auto form = openedWindow(state, file, dir, reports);
    if (!form)
        return;
    auto* list = form->findChild<QListView*>(QStringLiteral("List1"));
    const auto* recordLabel = form->findChild<QLabel*>(QStringLiteral("RecordLabel"));
    const auto* stringLen = form->findChild<QLabel*>(QStringLiteral("StringLen"));
    const int rows = list->model()->rowCount();
    list->scrollToBottom();
    QCoreApplication::processEvents();
    // The last line and the one before it, clicked in turn so that each click changes
    // the selection.
    const QPoint points[2] = {list->visualRect(list->model()->index(rows - 1, 0)).center(),
                              list->visualRect(list->model()->index(rows - 2, 0)).center()};
    int turn = 0;
    for (auto _ : state) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, points[turn ^= 1]);
        QCoreApplication::processEvents(); // repaint the list, the labels and the text box
    }

    // The window must show what the file holds for the line clicked last.
    const ReadResult read = readFile(file.path(dir), file.kind());
    const EntryLine& expected = read.entries[static_cast<std::size_t>(rows - (turn == 0 ? 1 : 2))];
    if (recordLabel->text().toStdString() != formatKey(expected.key)) {
        state.SkipWithError("the click did not select the line");
        return;
    }
    // Sample texts are ASCII apart from CR LF and a few Windows-1252 letters, each of
    // which counts as one character: the counter must show the byte length.
    if (stringLen->text() != QString::number(expected.text.size())) {
        state.SkipWithError("the length counter is wrong");
        return;
    }
    state.counters["entries"] = rows;
}

} // namespace

void registerSelectBenchmarks(const std::string& dir) {
    for (std::uint64_t entries : {10, 1000000}) {
        const BenchFile file = entriesFile(entries);
        benchmark::RegisterBenchmark(("SelectLastLine/" + file.label).c_str(), selectLastLine, file,
                                     dir)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace edt::bench
