// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/stats_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "cli/file_plan.h"
#include "cli/game_folder.h"
#include "cli/words.h"
#include "translate/csv.h"
#include "translate/translate_status.h"

namespace edt::cli {
namespace {

constexpr std::size_t kCounts = 7;
const char* const kColumns[] = {"file",       "entries", "translated", "fuzzy", "untranslated",
                                "over limit", "stale",   "problems",   "done"};

// One file's counts, in the order of kColumns after "file".
struct Row {
    std::string file;
    std::array<std::uint64_t, kCounts> counts{};
};

// The counts of an import's plan: a translated text that cannot go in is over the limit
// (it does not fit its entry), stale, or another problem; the untranslated are the
// entries left after translated, fuzzy, over the limit, stale and the other problems
// of an entry (not those of a line the translation cannot read, nor of a key that
// starts no entry or an entry's second text).
Row rowOf(const FilePlan& file) {
    const translate::ImportPlan& plan = file.plan;
    std::uint64_t over = 0, stale = 0, other = 0, ofEntries = 0;
    for (const translate::Problem& problem : plan.problems) {
        const StatusCode code = problem.status.code;
        ofEntries += problem.status.key && code != StatusCode::BadKey &&
                     code != translate::Code::DuplicateKey;
        switch (numberOf(code)) {
        case numberOf(StatusCode::TextTooLong):
        case numberOf(StatusCode::EntryCutOff):
        case numberOf(StatusCode::EntryPastEnd):
            ++over;
            break;
        case numberOf(translate::Code::StaleEntry):
        case numberOf(translate::Code::ReformattedSource):
            ++stale;
            break;
        default:
            ++other;
        }
    }
    const std::uint64_t translated = plan.changed + plan.unchanged;
    const std::uint64_t left =
        plan.untranslated - std::min(plan.untranslated, plan.fuzzy + ofEntries);
    return {fileTitleOf(file.path),
            {translated + plan.untranslated, translated, plan.fuzzy, left, over, stale, other}};
}

// The share translated, rounded down, so that 100% means every entry.
std::string done(const Row& row) {
    const std::uint64_t entries = row.counts[0];
    if (entries == 0)
        return {};
    const std::uint64_t permille = row.counts[1] * 1000 / entries;
    return std::to_string(permille / 10) + "." + std::to_string(permille % 10) + "%";
}

std::size_t width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // UTF-8 characters
    }));
}

std::string padded(const std::string& text, std::size_t to, bool left) {
    const std::string room(to - std::min(to, width(text)), ' ');
    return left ? text + room : room + text;
}

std::string table(const std::vector<Row>& rows) {
    std::vector<std::array<std::string, kCounts + 2>> cells;
    cells.emplace_back();
    for (std::size_t c = 0; c < kCounts + 2; ++c)
        cells.back()[c] = kColumns[c];
    for (const Row& row : rows) {
        cells.emplace_back();
        cells.back()[0] = row.file;
        for (std::size_t c = 0; c < kCounts; ++c)
            cells.back()[c + 1] = std::to_string(row.counts[c]);
        cells.back()[kCounts + 1] = row.counts[0] ? done(row) : "-";
    }
    std::array<std::size_t, kCounts + 2> widths{};
    for (const auto& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], width(line[c]));
    std::string text;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        if (r + 1 == cells.size() && rows.size() > 1) { // a rule above the total
            std::size_t all = 0;
            for (std::size_t w : widths)
                all += w + 2;
            text += std::string(all - 2, '-') + "\n";
        }
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            text += (c ? "  " : "") + padded(cells[r][c], widths[c], c == 0);
        text += "\n";
    }
    return text;
}

std::string csvTable(const std::vector<Row>& rows) {
    std::string text;
    for (std::size_t c = 0; c < kCounts + 2; ++c) {
        std::string name = kColumns[c];
        std::replace(name.begin(), name.end(), ' ', '_');
        text += (c ? "," : "") + name;
    }
    text += translate::csv::kRecordEnd;
    for (const Row& row : rows) {
        translate::csv::appendField(text, row.file);
        for (std::uint64_t count : row.counts)
            text += "," + std::to_string(count);
        std::string share = done(row);
        text += "," + share.substr(0, share.empty() ? 0 : share.size() - 1);
        text += translate::csv::kRecordEnd;
    }
    return text;
}

} // namespace

int statsCommand(const std::string& path, const std::string& translationPath, bool csv,
                 const Settings& settings, std::FILE* out, std::FILE* err) {
    std::vector<std::pair<std::string, std::string>> files; // EDT file, translation
    if (isFolder(path)) {
        std::vector<NamePair> pairs;
        std::vector<FolderNote> notes;
        if (const std::optional<int> refused = pairForCommand(
                path, translationPath,
                [](const std::string& name) { return isTranslationName(name); }, false, err, pairs,
                notes))
            return *refused;
        for (const FolderNote& note : notes)
            if (note.kind != FolderNote::Kind::NoTranslation) // a row says it
                tellFolder(err, note);
        for (const NamePair& pair : pairs)
            for (const std::string& edtFile : pair.edtFiles)
                files.emplace_back(edtFile, pair.translations.size() == 1
                                                ? pair.translations.front()
                                                : std::string());
    } else {
        files.emplace_back(path, translationPath);
    }
    std::vector<Row> rows;
    Row total{"total", {}};
    int code = kExitOk;
    for (const auto& [edtFile, translation] : files) {
        const FilePlan file =
            planFile(edtFile, kindForPath(edtFile), translation,
                     translation.empty() ? std::nullopt : translate::formatOfPath(translation), {},
                     {}, settings, false, err);
        if (!file.status.ok()) {
            code = refuse(err, file.status, false);
            continue;
        }
        rows.push_back(rowOf(file));
        for (std::size_t c = 0; c < kCounts; ++c)
            total.counts[c] += rows.back().counts[c];
    }
    if (rows.empty())
        return code;
    if (rows.size() > 1)
        rows.push_back(total);
    const int shown = deliver(csv ? csvTable(rows) : table(rows), out, err);
    return code != kExitOk ? code : shown;
}

} // namespace edt::cli
