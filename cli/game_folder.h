// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "record/status.h"
#include "translate/translation.h"

namespace edt::cli {

// Whether a path names a folder (a link to one too).
bool isFolder(const std::string& path);

// The name EDT files and translations are matched by: the file name without its last
// extension, in small letters, as Windows compares names (EMAIL.EDT goes with email.po).
std::string matchName(const std::string& fileName);

// The file name without its last extension, as it is written.
std::string stemOf(const std::string& fileName);

// The regular files of `folder` (not those of its subfolders) whose name `takes`, in
// matchName order.
Status filesIn(const std::string& folder, const std::function<bool(const std::string&)>& takes,
               std::vector<std::string>& paths);

// Whether a file name ends in `extension` (".po"), in any case.
bool hasExtension(const std::string& name, const std::string& extension);

// Whether a file name ends in .edt, in any case: the files of a game folder.
bool isEdtFileName(const std::string& name);

// Whether a file of a translation folder holds a translation: .po, .csv or .xlsx in any
// case (a .pot holds none), of `format` only if given.
bool isTranslationName(const std::string& name,
                       std::optional<translate::TranslationFormat> format = std::nullopt);

// One match name, with the files of the game folder and of the translation folder
// that have it.
struct NamePair {
    std::string name; // matchName
    std::vector<std::string> edtFiles;
    std::vector<std::string> translations;
};

// The EDT files of `gameFolder` paired with the files of `translationFolder` that
// `isTranslation` takes, in name order. A translation folder that does not exist, or
// is not listed (no `isTranslation`), has no files.
Status pairFolders(const std::string& gameFolder, const std::string& translationFolder,
                   const std::function<bool(const std::string&)>& isTranslation,
                   std::vector<NamePair>& pairs);

// What a folder command says of a name that does not pair one EDT file with one
// translation, phrased in words.cpp.
struct FolderNote {
    enum class Kind {
        NoTranslation,  // path: the EDT file; detail: the translation folder
        NoEdtFile,      // path: the translation; detail: the game folder
        SameName,       // path: the folder; detail: the files, quoted, that share a name
        NoEdtFiles,     // path: the game folder
        NoLanguage,     // path: the PO to be made; detail: the translation folder
        Vanished,       // path: a PO; detail: the game folder, which lost its EDT file
        NotAFolder,     // path: what was given for the translation folder
        NoTranslations, // path: the translation folder; detail: the game folder
    };
    Kind kind;
    std::string path;
    std::string detail;
};

// Whether any pair has an EDT file.
bool anyEdtFile(const std::vector<NamePair>& pairs);

// The notes of the pairs that are not one EDT file with one translation.
void folderNotes(const std::vector<NamePair>& pairs, const std::string& gameFolder,
                 const std::string& translationFolder, std::vector<FolderNote>& notes);

// The start of a folder command: the pairs and their notes. Without `isTranslation`
// the translation folder is where the command writes, and is not listed; with it, it
// must be a folder. A refusal (that, a folder that cannot be listed or holds no EDT
// file) is told on `err` and its exit code returned.
std::optional<int> pairForCommand(const std::string& gameFolder,
                                  const std::string& translationFolder,
                                  const std::function<bool(const std::string&)>& isTranslation,
                                  bool writing, std::FILE* err, std::vector<NamePair>& pairs,
                                  std::vector<FolderNote>& notes);

} // namespace edt::cli
