// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/vector_path.h"

#include <atomic>
#include <cstring>

namespace edt {
namespace {

bool runsAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    // Also checks that the system saves the vector registers (XGETBV).
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

std::atomic<VectorPath>& chosen() {
    static std::atomic<VectorPath> path{availablePaths().back()};
    return path;
}

} // namespace

const char* pathName(VectorPath path) {
    return path == VectorPath::Avx2 ? "avx2" : "scalar";
}

std::vector<VectorPath> availablePaths() {
    std::vector<VectorPath> paths{VectorPath::Scalar};
    if (runsAvx2())
        paths.push_back(VectorPath::Avx2);
    return paths;
}

VectorPath vectorPath() {
    return chosen().load(std::memory_order_relaxed);
}

VectorPath chooseVectorPath(const char* name) {
    const std::vector<VectorPath> paths = availablePaths();
    VectorPath path = paths.back();
    for (const VectorPath offered : paths) {
        if (name && std::strcmp(name, pathName(offered)) == 0)
            path = offered;
    }
    chosen().store(path, std::memory_order_relaxed);
    return path;
}

} // namespace edt
