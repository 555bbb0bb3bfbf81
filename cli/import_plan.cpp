#include "cli/import_plan.h"

#include <algorithm>
#include <unordered_map>

#include "cli/parse_key.h"
#include "record/charset.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "record/writer.h"

namespace edt::cli {
namespace {

struct Candidate {
    PlannedWrite write;
    bool same = false; // the entry already holds this text
};

} // namespace

Status planImport(const std::string& path, const Translation& translation, ImportPlan& plan) {
    plan = {};
    plan.problems = translation.problems;
    const std::string title = fileTitleOf(path);
    const FileKind kind = kindForFileName(title);

    std::vector<Candidate> candidates;
    std::unordered_map<RecordKey, std::size_t> byKey; // -> index in candidates
    for (const TranslationItem& item : translation.items) {
        if (!item.translated()) {
            if (item.fuzzy && !item.text.empty())
                ++plan.fuzzy;
            continue;
        }
        RecordKey key = 0;
        if (!parseKey(item.key, key)) {
            plan.problems.push_back({item.line, "\"" + item.key +
                                                    "\" is not a key: it must be "
                                                    "an entry's position in "
                                                    "decimal digits."});
            continue;
        }
        std::string text;
        Status converted = charset::fromUtf8(item.text, text);
        if (!converted.ok()) {
            plan.problems.push_back(
                {item.line, "Entry " + formatKey(key) + ": " + converted.message});
            continue;
        }
        const auto [found, inserted] = byKey.emplace(key, candidates.size());
        if (!inserted) {
            plan.problems.push_back(
                {item.line, "Entry " + formatKey(key) + " already has a text, at line " +
                                std::to_string(candidates[found->second].write.line) + "."});
            continue;
        }
        candidates.push_back({{key, std::move(text), item.line}});
    }

    std::uint64_t entryCount = 0;
    Status status = visitEntries(
        path, kind,
        [&](RecordKey key, std::string_view current) {
            ++entryCount;
            const auto found = byKey.find(key);
            if (found == byKey.end())
                return;
            Candidate& candidate = candidates[found->second];
            candidate.same = candidate.write.text == current;
        },
        &plan.identity);
    if (!status.ok())
        return status;

    for (Candidate& candidate : candidates) {
        if (candidate.same) {
            ++plan.unchanged; // even a text that would not fit anew: nothing is written
            continue;
        }
        const PlannedWrite& write = candidate.write;
        const Status check = checkWrite(kind, plan.identity.size, write.key, write.text, title);
        if (check.code == StatusCode::BadKey) {
            plan.problems.push_back({write.line, "Key " + formatKey(write.key) +
                                                     " is not the start of an entry of \"" + title +
                                                     "\"."});
        } else if (check.code == StatusCode::TextTooLong) {
            const EntryLayout layout(kind, plan.identity.size);
            const int length =
                layout.lengthOf(static_cast<std::uint64_t>(layout.indexOfKey(write.key)));
            plan.problems.push_back({write.line, "The text for entry " + formatKey(write.key) +
                                                     " has " + std::to_string(write.text.size()) +
                                                     " characters, but the entry holds at most " +
                                                     std::to_string(maxCharsForEntry(length)) +
                                                     "."});
        } else if (!check.ok()) {
            plan.problems.push_back({write.line, check.message});
        } else {
            ++plan.changed;
            plan.writes.push_back(std::move(candidate.write));
        }
    }
    plan.untranslated = entryCount - plan.changed - plan.unchanged;

    std::stable_sort(plan.problems.begin(), plan.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    std::sort(plan.writes.begin(), plan.writes.end(),
              [](const PlannedWrite& a, const PlannedWrite& b) { return a.key < b.key; });
    return Status::success();
}

} // namespace edt::cli
