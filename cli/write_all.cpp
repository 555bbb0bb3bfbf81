// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/write_all.h"

namespace edt::cli {

WrittenAll writeAll(std::vector<FilePlan>& plans) {
    std::vector<OpenFile::FileWrites> set;
    for (FilePlan& plan : plans)
        set.push_back({&plan.file, plan.plan.writes, plan.target});
    const OpenFile::TogetherResult together = OpenFile::writeTogether(set);
    WrittenAll all;
    for (const WriteResult& result : together.results)
        all.notes.insert(all.notes.end(), result.notes.begin(), result.notes.end());
    all.status = together.status;
    if (all.status.ok()) {
        all.written = plans.size();
    } else {
        all.failed = together.failedFile;
        if (all.failed < together.results.size())
            all.entry = together.results[all.failed].failed;
    }
    return all;
}

} // namespace edt::cli
