// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/playback.h"

#include <algorithm>

namespace edt {

PlayBack playBack(const os::File& file, const std::vector<Change>& changes, std::size_t count,
                  std::uint64_t oldSize) {
    PlayBack done;
    std::uint64_t writtenEnd = 0;
    std::string now;
    for (std::size_t i = count; i-- > 0;) {
        const Change& change = changes[i];
        writtenEnd = std::max<std::uint64_t>(writtenEnd, change.offset + change.after.size());
        os::Result result = os::readRange(file, change.offset, change.before.size(), now);
        if (!result.ok()) {
            done.failure = result.reason;
            return done;
        }
        // Bytes missing at the end are ours to put back only where this write cut the
        // file (a whole content made shorter); else another program shortened it.
        const std::size_t got = now.size();
        const auto ours = [&](std::size_t k) {
            return k >= got ? k >= change.after.size()
                            : k < change.after.size() && now[k] == change.after[k] &&
                                  now[k] != change.before[k];
        };
        for (std::size_t at = 0; at < change.before.size();) {
            if (!ours(at)) {
                ++at;
                continue;
            }
            std::size_t end = at;
            while (end < change.before.size() && ours(end))
                ++end;
            result = file.writeAt(change.offset + at, change.before.data() + at, end - at);
            if (!result.ok()) {
                done.failure = result.reason;
                return done;
            }
            at = end;
        }
    }
    os::FileIdentity id;
    os::Result result = file.identity(id);
    if (result.ok() && id.size > oldSize && id.size <= writtenEnd)
        result = file.truncate(oldSize);
    if (result.ok())
        result = file.sync();
    for (std::size_t i = 0; result.ok() && i < count; ++i) {
        const Change& change = changes[i];
        result = os::readRange(file, change.offset, change.before.size(), now);
        bool theirs = false;
        for (std::size_t k = 0; result.ok() && k < change.before.size(); ++k) {
            if (k < now.size() && now[k] == change.before[k])
                continue;
            if (k < now.size() ? k < change.after.size() && now[k] == change.after[k]
                               : k >= change.after.size()) {
                done.failure = "the bytes read back still differ from the previous ones";
                return done;
            }
            theirs = true;
        }
        ++(theirs ? done.others : done.putBack);
    }
    if (!result.ok())
        done.failure = result.reason;
    return done;
}

} // namespace edt
