// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/game_folder.h"

#include <algorithm>
#include <map>

#include "cli/tool.h"
#include "platform/file.h"
#include "platform/folders.h"
#include "platform/text_case.h"
#include "record/file_kind.h"
#include "record/message.h"
#include "record/utf8.h"

namespace edt::cli {

bool isFolder(const std::string& path) {
    return os::isFolder(path);
}

std::string stemOf(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

std::string matchName(const std::string& fileName) {
    const std::string stem = stemOf(fileName);
    std::string folded;
    std::size_t at = 0;
    while (at < stem.size()) {
        char32_t c = 0;
        if (nextCodePoint(stem, at, c))
            appendUtf8(folded, os::lowerCase(c));
        else
            folded += stem[at++]; // not UTF-8: compared as it is
    }
    return folded;
}

bool hasExtension(const std::string& name, const std::string& extension) {
    return name.size() > extension.size() &&
           matchName(name.substr(name.size() - extension.size())) == extension;
}

bool isEdtFileName(const std::string& name) {
    return hasExtension(name, ".edt");
}

bool isTranslationName(const std::string& name,
                       std::optional<translate::TranslationFormat> format) {
    if (hasExtension(name, ".pot"))
        return false;
    const auto named = translate::formatOfPath(name);
    return named && (!format || named == format);
}

Status filesIn(const std::string& folder, const std::function<bool(const std::string&)>& takes,
               std::vector<std::string>& paths) {
    std::vector<std::string> names;
    os::Result listed = os::listFolder(folder, names);
    if (!listed.ok())
        return Status::system(std::move(listed), folder);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ma = matchName(a), mb = matchName(b);
        return ma != mb ? ma < mb : a < b;
    });
    paths.clear();
    for (const std::string& name : names) {
        os::FileIdentity identity;
        const std::string path = os::inFolder(folder, name);
        if (takes(name) && os::identityAt(path, identity))
            paths.push_back(path);
    }
    return Status::success();
}

Status pairFolders(const std::string& gameFolder, const std::string& translationFolder,
                   const std::function<bool(const std::string&)>& isTranslation,
                   std::vector<NamePair>& pairs) {
    std::vector<std::string> edtFiles, translations;
    Status status = filesIn(gameFolder, isEdtFileName, edtFiles);
    if (status.ok() && isTranslation && os::exists(translationFolder))
        status = filesIn(translationFolder, isTranslation, translations);
    if (!status.ok())
        return status;
    std::map<std::string, NamePair> byName;
    for (const std::string& path : edtFiles)
        byName[matchName(fileTitleOf(path))].edtFiles.push_back(path);
    for (const std::string& path : translations)
        byName[matchName(fileTitleOf(path))].translations.push_back(path);
    pairs.clear();
    for (auto& [name, pair] : byName) {
        pair.name = name;
        pairs.push_back(std::move(pair));
    }
    return Status::success();
}

bool anyEdtFile(const std::vector<NamePair>& pairs) {
    return std::any_of(pairs.begin(), pairs.end(),
                       [](const NamePair& pair) { return !pair.edtFiles.empty(); });
}

void folderNotes(const std::vector<NamePair>& pairs, const std::string& gameFolder,
                 const std::string& translationFolder, std::vector<FolderNote>& notes) {
    const auto sameName = [&](const std::vector<std::string>& paths, const std::string& folder) {
        std::string names;
        for (const std::string& path : paths)
            names += (names.empty() ? "" : ", ") + quoted(fileTitleOf(path));
        notes.push_back({FolderNote::Kind::SameName, folder, names});
    };
    for (const NamePair& pair : pairs) {
        if (pair.edtFiles.size() > 1)
            sameName(pair.edtFiles, gameFolder);
        if (pair.translations.size() > 1)
            sameName(pair.translations, translationFolder);
        if (pair.edtFiles.empty()) {
            for (const std::string& path : pair.translations)
                notes.push_back({FolderNote::Kind::NoEdtFile, path, gameFolder});
        } else if (pair.translations.empty()) {
            for (const std::string& path : pair.edtFiles)
                notes.push_back({FolderNote::Kind::NoTranslation, path, translationFolder});
        }
    }
}

std::optional<int> pairForCommand(const std::string& gameFolder,
                                  const std::string& translationFolder,
                                  const std::function<bool(const std::string&)>& isTranslation,
                                  bool writing, std::FILE* err, std::vector<NamePair>& pairs,
                                  std::vector<FolderNote>& notes) {
    if (isTranslation && !isFolder(translationFolder))
        return refuseFolder(err, {FolderNote::Kind::NotAFolder, translationFolder, gameFolder});
    const Status listed = pairFolders(gameFolder, translationFolder, isTranslation, pairs);
    if (!listed.ok())
        return refuse(err, listed, writing);
    if (!anyEdtFile(pairs))
        return refuseFolder(err, {FolderNote::Kind::NoEdtFiles, gameFolder, {}});
    folderNotes(pairs, gameFolder, translationFolder, notes);
    return std::nullopt;
}

} // namespace edt::cli
