// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/write_all.h"

namespace edt::cli {

WrittenAll writeAll(const std::vector<FilePlan>& plans, const Settings& settings) {
    WrittenAll all;
    for (const FilePlan& file : plans) {
        WriteResult written = settings.writer.write(file.path, file.kind, file.plan.writes,
                                                    *file.target, &file.plan.identity);
        all.notes.insert(all.notes.end(), written.notes.begin(), written.notes.end());
        if (!written.status.ok()) {
            all.status = std::move(written.status);
            all.failed = all.written;
            all.entry = written.failed;
            return all;
        }
        ++all.written;
    }
    return all;
}

} // namespace edt::cli
