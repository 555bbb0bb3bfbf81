// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/write_texts.h"

namespace edt::bench {

std::string writeText(int variant) {
    std::string text;
    const char* const words[2] = {"Report from sector A-12: supplies arrived tonight. ",
                                  "Payment for the contract is due at the north gate. "};
    while (text.size() < 200)
        text += words[variant & 1];
    text.resize(200);
    return text;
}

RecordKey lastEntryKey(const FileKind& kind, std::uint64_t fileSize) {
    const EntryLayout layout(kind, fileSize);
    return layout.keyOf(layout.entryCount() - 1);
}

} // namespace edt::bench
