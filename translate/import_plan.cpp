// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/import_plan.h"

#include <algorithm>
#include <unordered_map>

#include "record/reader.h"
#include "record/shown_text.h"
#include "translate/spreadsheet_forms.h"
#include "translate/translate_status.h"
#include "translate/translator_text.h"

namespace edt::translate {
namespace {

struct Candidate {
    EntryWrite write;
    std::size_t line = 0;
    const TranslationItem* item = nullptr;
    std::optional<std::string> original; // the source in bytes; none: not given or
                                         // not in the source's code page
    bool same = false;                   // the entry already holds this text
    std::optional<std::string> stale;    // what the entry holds instead of the original
};

// An untranslated item that gives its original, when the two code pages differ.
struct Untranslated {
    RecordKey key = 0;
    const TranslationItem* item = nullptr;
    std::string original; // in the source's code page
    std::optional<Misread> misread;
};

struct Candidates {
    std::vector<Candidate> list;
    std::unordered_map<RecordKey, std::size_t> byKey; // -> index in list
    std::vector<Untranslated> untranslated;
    std::unordered_map<RecordKey, std::size_t> untranslatedByKey; // -> index
};

// A refusal of one entry's text: every refusal names the entry.
Status keyed(Status status, RecordKey key) {
    if (!status.key)
        status.atKey(key);
    return status;
}

// Keeps an untranslated item whose original may read differently in the target.
void keepUntranslated(const TranslationItem& item, const CodePage& target, const CodePage& source,
                      Candidates& candidates) {
    RecordKey key = 0;
    std::string original;
    if (&target == &source || !item.source || !parseKey(item.key, key) ||
        !storedFromUtf8(*item.source, source, original).ok())
        return;
    if (candidates.untranslatedByKey.emplace(key, candidates.untranslated.size()).second)
        candidates.untranslated.push_back({key, &item, std::move(original), std::nullopt});
}

// The translated items that name a key once and convert to the target code page;
// every other translated item becomes a problem.
Candidates collect(const Translation& translation, const CodePage& target, const CodePage& source,
                   ImportPlan& plan) {
    Candidates candidates;
    for (const TranslationItem& item : translation.items) {
        if (!item.translated()) {
            if (item.fuzzy && !item.text.empty()) {
                ++plan.fuzzy;
                plan.fuzzyKeys.push_back(item.key);
            }
            keepUntranslated(item, target, source, candidates);
            continue;
        }
        RecordKey key = 0;
        if (!parseKey(item.key, key)) {
            Status status = Status::error(translate::Code::NotAKey);
            status.detail = item.key;
            plan.problems.push_back({item.line, status});
            continue;
        }
        std::string text;
        const Status converted = storedFromUtf8(item.text, target, text);
        if (!converted.ok()) {
            plan.problems.push_back({item.line, keyed(converted, key)});
            continue;
        }
        const auto [found, inserted] = candidates.byKey.emplace(key, candidates.list.size());
        if (!inserted) {
            Status twice = Status::error(translate::Code::DuplicateKey).atKey(key);
            twice.count = candidates.list[found->second].line;
            plan.problems.push_back({item.line, twice});
            continue;
        }
        Candidate candidate;
        candidate.write = {key, std::move(text)};
        candidate.line = item.line;
        candidate.item = &item;
        std::string original;
        if (item.source && storedFromUtf8(*item.source, source, original).ok())
            candidate.original = std::move(original);
        candidates.list.push_back(std::move(candidate));
    }
    return candidates;
}

// The first character of `bytes` that reads differently in `target` than in `source`.
std::optional<Misread> misreadIn(std::string_view bytes, const CodePage& target,
                                 const CodePage& source) {
    for (const unsigned char b : bytes) {
        if (source.toUnicode(b) != target.toUnicode(b)) {
            Misread misread;
            misread.original = source.toUnicode(b);
            misread.shown = target.toUnicode(b);
            return misread;
        }
    }
    return std::nullopt;
}

} // namespace

Status planImport(OpenFile& file, const Translation& translation, const CodePage& target,
                  const CodePage& source, const ImportOptions& options, ImportPlan& plan) {
    const std::string& path = file.path();
    const FileKind& kind = file.kind();
    plan = {};
    plan.problems = translation.problems;
    Candidates candidates = collect(translation, target, source, plan);

    std::uint64_t entryCount = 0;
    const Status status = file.visitEntries([&](RecordKey key, std::string_view current) {
        ++entryCount;
        const auto found = candidates.byKey.find(key);
        if (found == candidates.byKey.end()) {
            const auto left = candidates.untranslatedByKey.find(key);
            if (left == candidates.untranslatedByKey.end())
                return;
            Untranslated& entry = candidates.untranslated[left->second];
            if (entry.original == current) // else the file no longer holds it
                entry.misread = misreadIn(current, target, source);
            return;
        }
        Candidate& candidate = candidates.list[found->second];
        candidate.same = candidate.write.text == current;
        // Three states: the original (write), the translation (same), else stale.
        if (!candidate.same && candidate.item->source && candidate.original != current)
            candidate.stale = std::string(current);
    });
    plan.identity = file.identity();
    if (!status.ok())
        return status;

    std::vector<Candidate*> changed;
    for (Candidate& candidate : candidates.list) {
        if (candidate.same) {
            ++plan.unchanged; // even a text that would not fit anew: nothing is written
            continue;
        }
        const RecordKey key = candidate.write.key;
        if (candidate.stale) {
            const std::string now = shownUtf8(*candidate.stale, source);
            // A spreadsheet's rendering of the original says that its text cell may
            // have been reformatted too: not written even with force.
            const bool reformatted = looksReformatted(now, *candidate.item->source);
            if (reformatted || !options.force) {
                Status stale = Status::error(reformatted ? translate::Code::ReformattedSource
                                                         : translate::Code::StaleEntry,
                                             path);
                stale.atKey(key);
                stale.detail = shortView(now);
                stale.was = shortView(*candidate.item->source);
                plan.problems.push_back({candidate.line, stale});
                continue;
            }
        }
        const Status check =
            checkWrite(kind, plan.identity.size, key, candidate.write.text, path, target);
        if (!check.ok()) {
            plan.problems.push_back({candidate.line, keyed(check, key)});
            continue;
        }
        plan.forced += candidate.stale.has_value();
        changed.push_back(&candidate);
    }
    plan.changed = changed.size();
    plan.untranslated = entryCount - plan.changed - plan.unchanged;

    // Untranslated originals that read differently in the target, recoded if asked.
    std::vector<Candidate> recoded;
    recoded.reserve(candidates.untranslated.size());
    for (Untranslated& entry : candidates.untranslated) {
        if (!entry.misread)
            continue;
        Misread& misread = *entry.misread;
        misread.key = entry.item->key;
        misread.line = entry.item->line;
        if (options.recodeUntranslated) {
            Candidate candidate;
            candidate.write.key = entry.key;
            candidate.line = misread.line;
            Status check = storedFromUtf8(*entry.item->source, target, candidate.write.text);
            if (check.ok())
                check = checkWrite(kind, plan.identity.size, entry.key, candidate.write.text, path,
                                   target);
            misread.recoded = check.ok();
            if (check.ok())
                recoded.push_back(std::move(candidate));
            else
                misread.kept = keyed(check, entry.key);
        }
        plan.misread.push_back(std::move(misread));
    }
    plan.recoded = recoded.size();
    for (Candidate& candidate : recoded)
        changed.push_back(&candidate);

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
