// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "translate/po.h"

namespace edt::translate {

// What an update did to a translation's messages.
struct UpdateCounts {
    std::size_t kept = 0;     // the same original: translation and state kept
    std::size_t fuzzy = 0;    // a changed original: translation kept, marked fuzzy
    std::size_t added = 0;    // nothing to keep: a new key, or an untranslated changed one
    std::size_t obsolete = 0; // translated, but their key is gone
};

// `translation` brought up to date with `fresh` (the file's export now) as msgmerge
// --update --previous does, matched by key (msgctxt) instead of text: fresh's messages
// in its order, with their comments for translators and flags; each takes the
// translation of its key with its state and the translator's comments, fuzzy with the
// original it was made from (#|) where that changed. Translated messages whose key is
// gone turn obsolete, before those already obsolete; one of those whose key and
// original are back returns. The header is the translation's, with fresh's
// POT-Creation-Date and code page of the originals.
po::Catalog updatedCatalog(const po::Catalog& translation, const po::Catalog& fresh,
                           UpdateCounts& counts);

} // namespace edt::translate
