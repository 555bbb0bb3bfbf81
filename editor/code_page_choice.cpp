// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/code_page_choice.h"

namespace edt {

namespace {

const CodePage*& chosenDefault() {
    static const CodePage* page = nullptr;
    return page;
}

} // namespace

void useEnvironment(const os::Environment& environment) {
    const CodePage* page = nullptr;
    if (!CodePage::hostDefault(environment.codePage, environment.locale, page).ok())
        CodePage::named("1252", page);
    chosenDefault() = page;
}

const CodePage& defaultCodePage() {
    if (!chosenDefault())
        useEnvironment({});
    return *chosenDefault();
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
