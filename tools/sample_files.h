// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/file_kind.h"

namespace edt::samples {

// A file image of the given kind with one entry per text, in entry order (for split
// kinds: first field, second field, ...). Texts are Windows-1252 bytes; each is
// stored with its terminator when it fits, else it fills its entry unterminated.
// `filler` is the byte that fills each entry behind its terminator.
std::string makeImage(const FileKind& kind, const std::vector<std::string>& texts,
                      unsigned char filler = 0);

// A plausible text for entry `index`, of varied length, at most `maxChars` long.
// Includes line breaks and Windows-1252 letters now and then.
std::string sampleText(std::uint64_t index, int maxChars);

// Texts for `count` entries of a kind, each fitting its entry.
std::vector<std::string> sampleTexts(const FileKind& kind, std::uint64_t count);

// Writes bytes to a new file (replacing it); false on failure.
bool writeWholeFile(const std::string& path, const std::string& bytes);

} // namespace edt::samples
