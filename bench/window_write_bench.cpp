// SPDX-License-Identifier: GPL-3.0-or-later
// Form1::WriteRecord of a 200-character text into the last entry of a 10 KB file and
// of a 1 GiB sparse file, as the user does it: line selected, text edited, button.
#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>

#include "bench/bench_support.h"
#include "bench/window_benchmarks.h"
#include "bench/write_texts.h"

namespace edt::bench {
namespace {

void windowWriteRecord(benchmark::State& state, const BenchFile& file, const std::string& dir) {
    Reports reports;
    const auto form = openedWindow(state, file, dir, reports);
    if (!form)
        return;
    auto* list = form->findChild<QListView*>(QStringLiteral("List1"));
    auto* edit = form->findChild<QPlainTextEdit*>(QStringLiteral("EditWindow"));
    const QModelIndex last = list->model()->index(list->model()->rowCount() - 1, 0);
    list->scrollToBottom();
    QCoreApplication::processEvents();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(last).center());

    const QString texts[2] = {QString::fromStdString(writeText(0)),
                              QString::fromStdString(writeText(1))};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edit->setPlainText(texts[turn ^= 1]);
        state.ResumeTiming();
        form->WriteRecord();
        if (reports.count != 0) {
            state.SkipWithError(reports.last.toStdString().c_str());
            return;
        }
    }
    if (list->model()->data(last).toString().right(200) != texts[turn]) {
        state.SkipWithError("the list line does not show the text written");
        return;
    }
    state.counters["file_MB"] = static_cast<double>(fileSize(file.path(dir))) / 1e6;
}

} // namespace

void registerWindowWriteBenchmarks(const std::string& dir) {
    for (const BenchFile& file : {smallWriteFile(), sparseWriteFile()})
        benchmark::RegisterBenchmark(("WindowWriteRecord/" + file.label).c_str(), windowWriteRecord,
                                     file, dir)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
}

} // namespace edt::bench
