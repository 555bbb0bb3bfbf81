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

struct Candidates {
    std::vector<Candidate> list;
    std::unordered_map<RecordKey, std::size_t> byKey; // -> index in list
};

// The translated items that name a key once and convert to Windows-1252; every
// other translated item becomes a problem.
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
            plan.problems.push_back(
                {item.line,
                 "\"" + item.key + "\" is not a key: it must be an entry's position in digits."});
            continue;
        }
        std::string text;
        const Status converted = charset::fromUtf8(item.text, text);
        if (!converted.ok()) {
            plan.problems.push_back(
                {item.line, "Entry " + formatKey(key) + ": " + converted.message});
            continue;
        }
        const auto [found, inserted] = candidates.byKey.emplace(key, candidates.list.size());
        if (!inserted) {
            const std::size_t first = candidates.list[found->second].write.line;
            plan.problems.push_back({item.line, "Entry " + formatKey(key) +
                                                    " already has a text, at line " +
                                                    std::to_string(first) + "."});
            continue;
        }
        candidates.list.push_back({{key, std::move(text), item.line}});
    }
    return candidates;
}

// Why a changed text cannot be written, in the words of a translation's problem
// list; empty when it can.
std::string whyNot(const PlannedWrite& write, const FileKind& kind, std::uint64_t fileSize,
                   const std::string& title) {
    const Status check = checkWrite(kind, fileSize, write.key, write.text, title);
    if (check.code == StatusCode::BadKey)
        return "Key " + formatKey(write.key) + " is not the start of an entry of \"" + title +
               "\".";
    if (check.code == StatusCode::TextTooLong) {
        const EntryLayout layout(kind, fileSize);
        const auto index = static_cast<std::uint64_t>(layout.indexOfKey(write.key));
        return "The text for entry " + formatKey(write.key) + " has " +
               std::to_string(write.text.size()) + " characters, but the entry holds at most " +
               std::to_string(maxCharsForEntry(layout.lengthOf(index))) + ".";
    }
    return check.message;
}

} // namespace

Status planImport(const std::string& path, const Translation& translation, ImportPlan& plan) {
    plan = {};
    plan.problems = translation.problems;
    const std::string title = fileTitleOf(path);
    const FileKind kind = kindForFileName(title);
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

    for (Candidate& candidate : candidates.list) {
        if (candidate.same) {
            ++plan.unchanged; // even a text that would not fit anew: nothing is written
            continue;
        }
        const std::string problem = whyNot(candidate.write, kind, plan.identity.size, title);
        if (!problem.empty()) {
            plan.problems.push_back({candidate.write.line, problem});
            continue;
        }
        ++plan.changed;
        plan.writes.push_back(std::move(candidate.write));
    }
    plan.untranslated = entryCount - plan.changed - plan.unchanged;

    std::stable_sort(plan.problems.begin(), plan.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    std::sort(plan.writes.begin(), plan.writes.end(),
              [](const PlannedWrite& a, const PlannedWrite& b) { return a.key < b.key; });
    return Status::success();
}

} // namespace edt::cli
