// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record/code_page.h"
#include "record/entry_line.h"

namespace edt {

// Whether an entry's key or text holds a query, not minding case: the text as the code
// page folds it (CodePage::folded), the key as the list shows it ("641" and
// "[0000641]" find 0000641). Made once per search; fast enough to try a million
// entries in a step.
class Finder {
public:
    Finder(std::u16string_view query, const CodePage& codePage);

    bool matches(const EntryLine& entry) const;

private:
    bool inText(std::string_view text) const;

    const CodePage& codePage_;
    std::string folded_;                // the query in the code page, folded; empty when
    bool inTexts_ = false;              // it has a character the code page lacks
    std::vector<unsigned char> starts_; // every byte that folds to its first byte
    std::string digits_;                // the query as a key, when it is one
};

} // namespace edt
