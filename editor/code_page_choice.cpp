// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/code_page_choice.h"

namespace edt {

const CodePage& defaultCodePage() {
    const CodePage* page = nullptr;
    if (!CodePage::hostDefault(page).ok())
        CodePage::named("1252", page);
    return *page;
}

const CodePage& codePageOrDefault(std::string_view name) {
    const CodePage* page = nullptr;
    return CodePage::named(name, page).ok() ? *page : defaultCodePage();
}

const std::vector<std::string>& offeredCodePages() {
    static const std::vector<std::string> names = CodePage::available();
    return names;
}

} // namespace edt
