// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/import_plan.h"

#include <algorithm>
#include <unordered_map>

#include "record/charset.h"
#include "record/message.h"
#include "record/reader.h"

namespace edt::translate {
namespace {

struct Candidate {
    EntryWrite write;
    std::size_t line = 0;
    bool same = false; // the entry already holds this text
};

struct Candidates {
    std::vector<Candidate> list;
    std::unordered_map<RecordKey, std::size_t> byKey; // -> index in list
};

// The translated items that name a key once and convert to the texts' character set;
// every other translated item becomes a problem.
Candidates collect(const Translation& translation, ImportPlan& plan) {
    Candidates candidates;
    for (const TranslationItem& item : translation.items) {
        if (!item.translated()) {
            if (item.fuzzy && !item.text.empty())
                ++plan.fuzzy;
            continue;
        }
        RecordKey key = 0;
        if (!parseKey(item.key, key)) {
            Status status = Status::error(StatusCode::NotAKey);
            status.detail = item.key;
            plan.problems.push_back({item.line, describe(status)});
            continue;
        }
        std::string text;
        const Status converted = charset::fromUtf8(item.text, text);
        if (!converted.ok()) {
            plan.problems.push_back(
                {item.line, "Entry " + formatKey(key) + ": " + describe(converted)});
            continue;
        }
        const auto [found, inserted] = candidates.byKey.emplace(key, candidates.list.size());
        if (!inserted) {
            const std::size_t first = candidates.list[found->second].line;
            plan.problems.push_back({item.line, "Entry " + formatKey(key) +
                                                    " already has a text, at line " +
                                                    std::to_string(first) + "."});
            continue;
        }
        candidates.list.push_back({{key, std::move(text)}, item.line});
    }
    return candidates;
}

} // namespace

Status planImport(const std::string& path, const Translation& translation, ImportPlan& plan) {
    plan = {};
    plan.problems = translation.problems;
    const FileKind kind = kindForFileName(fileTitleOf(path));
    Candidates candidates = collect(translation, plan);

    std::uint64_t entryCount = 0;
    const Status status = visitEntries(
        path, kind,
        [&](RecordKey key, std::string_view current) {
            ++entryCount;
            const auto found = candidates.byKey.find(key);
            if (found != candidates.byKey.end()) {
                Candidate& candidate = candidates.list[found->second];
                candidate.same = candidate.write.text == current;
            }
        },
        &plan.identity);
    if (!status.ok())
        return status;

    std::vector<Candidate*> changed;
    for (Candidate& candidate : candidates.list) {
        if (candidate.same) {
            ++plan.unchanged; // even a text that would not fit anew: nothing is written
            continue;
        }
        const Status check =
            checkWrite(kind, plan.identity.size, candidate.write.key, candidate.write.text, path);
        if (!check.ok()) {
            plan.problems.push_back({candidate.line, describe(check)});
            continue;
        }
        changed.push_back(&candidate);
    }
    plan.changed = changed.size();
    plan.untranslated = entryCount - plan.changed - plan.unchanged;

    std::stable_sort(plan.problems.begin(), plan.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    std::sort(changed.begin(), changed.end(),
              [](const Candidate* a, const Candidate* b) { return a->write.key < b->write.key; });
    for (Candidate* candidate : changed) {
        plan.writes.push_back(std::move(candidate->write));
        plan.lines.push_back(candidate->line);
    }
    return Status::success();
}

} // namespace edt::translate
