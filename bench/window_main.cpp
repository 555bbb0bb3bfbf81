// SPDX-License-Identifier: GPL-3.0-or-later
// edt-bench-window --data=DIR [--benchmark_...]: the editor window opening files,
// selecting lines and writing records, on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another.
#include <QApplication>
#include <QCoreApplication>
#include <chrono>

#include "bench/bench_support.h"
#include "bench/window_benchmarks.h"

namespace edt::bench {

std::unique_ptr<Form1> makeWindow(Reports& reports) {
    auto form = std::make_unique<Form1>();
    form->setReporter([&reports](const QString& message) {
        ++reports.count;
        reports.last = message;
    });
    form->show();
    QCoreApplication::processEvents();
    return form;
}

bool openInWindow(Form1& form, const BenchFile& file, const std::string& dir,
                  const Reports& reports, double* readFileSeconds) {
    form.CurrFileName = QString::fromStdString(file.path(dir));
    form.CurrFileTitle = QString::fromStdString(file.title);
    const int before = reports.count;
    const auto start = std::chrono::steady_clock::now();
    form.ReadFile();
    if (readFileSeconds)
        *readFileSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    QCoreApplication::processEvents();
    return reports.count == before;
}

std::unique_ptr<Form1> openedWindow(benchmark::State& state, const BenchFile& file,
                                    const std::string& dir, Reports& reports) {
    auto form = makeWindow(reports);
    if (openInWindow(*form, file, dir, reports))
        return form;
    state.SkipWithError(reports.last.toStdString().c_str());
    return nullptr;
}

} // namespace edt::bench

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return edt::bench::runBenchmarks(argc, argv, [](const std::string& dir) {
        edt::bench::registerOpenBenchmarks(dir);
        edt::bench::registerSelectBenchmarks(dir);
        edt::bench::registerWindowWriteBenchmarks(dir);
    });
}
