// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/parallel_lines.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <vector>

namespace edt::cli {

Status writeEntryLines(OpenFile& file, OutputBuffer& output, std::size_t roomPerRecord,
                       const std::function<std::size_t(std::size_t)>& roomFor,
                       const EntryLineWriter& line) {
    const FileKind& kind = file.kind();
    // Each block's lines are gathered in its slot and written out in turn; blocks of
    // about one buffer of lines, so that the slots' buffers seldom grow.
    struct Slot {
        OutputBuffer lines;
        std::unique_ptr<char[]> scratch; // no entry is longer than a record
    };
    std::vector<Slot> slots;
    try {
        slots.resize(parallelSlots());
        for (Slot& slot : slots)
            slot.scratch.reset(new char[static_cast<std::size_t>(kind.recordLength)]);
    } catch (const std::bad_alloc&) {
        return Status::system(os::errnoFailure(os::Op::Read, ENOMEM), file.path());
    }
    return file.visitEntryBytesInParallel(
        std::max<std::size_t>(1, OutputBuffer::kSize / roomPerRecord),
        [&](std::size_t s, std::uint64_t index, RecordKey key, const unsigned char* bytes,
            std::size_t available, std::size_t length) {
            Slot& slot = slots[s];
            char* out = slot.lines.room(roomFor(length));
            slot.lines.commit(line(out, index, key, bytes, available, length, slot.scratch.get()));
        },
        [&](std::size_t s) { slots[s].lines.moveTo(output); });
}

} // namespace edt::cli
