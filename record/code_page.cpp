// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/code_page.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>

#include "platform/code_page_table.h"
#include "platform/text_case.h"
#include "record/utf8.h"

namespace edt {
namespace {

std::string upper(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// The number after `prefix`, when all the rest is digits; 0 otherwise.
unsigned numberAfter(const std::string& name, std::string_view prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size() ||
        name.size() - prefix.size() > 5 ||
        name.find_first_not_of("0123456789", prefix.size()) != std::string::npos)
        return 0;
    return static_cast<unsigned>(std::stoul(name.substr(prefix.size())));
}

bool isWindowsCodePage(unsigned number) {
    return number == 874 || (number >= 1250 && number <= 1258);
}

// Code pages once built, by name, for the life of the program.
std::mutex registryMutex;
std::map<std::string, std::unique_ptr<CodePage>>& registry() {
    static std::map<std::string, std::unique_ptr<CodePage>> pages;
    return pages;
}

// Windows code pages first, then the DOS ones, ISO 8859, KOI8 and the rest, each in
// the order of their numbers.
std::pair<int, std::pair<unsigned, std::string>> sortKey(const std::string& name) {
    const std::pair<const char*, int> groups[] = {
        {"WINDOWS-", 0}, {"CP", 1}, {"ISO-8859-", 2}, {"KOI8-", 3}};
    const std::string u = upper(name);
    for (const auto& [prefix, group] : groups) {
        if (u.compare(0, std::string_view(prefix).size(), prefix) == 0)
            return {group, {numberAfter(u, prefix), name}};
    }
    return {4, {0, name}};
}

} // namespace

std::string canonicalCodePageName(std::string_view given) {
    const std::string name = upper(given);
    unsigned number = numberAfter(name, "");
    for (const char* prefix : {"CP", "CP-", "WINDOWS-", "WINDOWS", "WIN", "IBM", "MS"}) {
        if (!number)
            number = numberAfter(name, prefix);
    }
    if (number == 65001)
        return "UTF-8"; // Windows' number for it
    if (number)
        return (isWindowsCodePage(number) ? "Windows-" : "CP") + std::to_string(number);
    for (const char* prefix : {"ISO-8859-", "ISO8859-", "ISO_8859-", "ISO8859"}) {
        if (const unsigned part = numberAfter(name, prefix))
            return "ISO-8859-" + std::to_string(part);
    }
    if (name == "KOI8R" || name == "KOI8U")
        return std::string("KOI8-") + name.back();
    return name;
}

std::string localeCodePageName(const char* lcAll, const char* lcCtype, const char* lang) {
    const char* locale = nullptr;
    for (const char* value : {lcAll, lcCtype, lang}) {
        if (!locale && value && *value)
            locale = value;
    }
    std::string name;
    for (const char* c = locale ? locale : ""; *c; ++c)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    const std::string language =
        name.substr(0, name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"));
    // The script, where the language is written in more than one: "sr@latin",
    // "sr_RS.UTF-8@latin" (glibc), "sr_Latn", "uz-Cyrl-UZ" (Weblate, Windows).
    const auto written = [&name](const std::string& modifier, const std::string& subtag) {
        for (const char separator : {'_', '-'}) {
            const std::size_t at = name.find(separator + subtag);
            if (at != std::string::npos &&
                (at + 5 == name.size() || !std::isalpha(static_cast<unsigned char>(name[at + 5]))))
                return true;
        }
        return name.find("@" + modifier) != std::string::npos;
    };
    if (written("cyrillic", "cyrl"))
        return "Windows-1251";
    const bool latin = written("latin", "latn");
    const std::pair<const char*, const char*> byLanguage[] = {
        {"pl cs sk hu sl hr ro sq bs", "Windows-1250"},
        {"ru uk be bg mk sr", "Windows-1251"},
        {"el", "Windows-1253"},
        {"tr az", "Windows-1254"},
        {"he", "Windows-1255"},
        {"ar fa ur", "Windows-1256"},
        {"et lv lt", "Windows-1257"},
        {"vi", "Windows-1258"},
        {"th", "Windows-874"}};
    for (const auto& [languages, codePage] : byLanguage) {
        const std::string list = std::string(" ") + languages + " ";
        if (!language.empty() && list.find(" " + language + " ") != std::string::npos)
            // Serbian, Belarusian ... in Latin letters: those of Central Europe.
            return latin && std::string(codePage) == "Windows-1251" ? "Windows-1250" : codePage;
    }
    return "Windows-1252";
}

Status CodePage::named(std::string_view given, const CodePage*& out) {
    const std::string name = canonicalCodePageName(given);
    if (name.empty()) // the converter would take it for the locale's own
        return Status::error(StatusCode::UnknownCodePage);
    const std::lock_guard<std::mutex> lock(registryMutex);
    auto& pages = registry();
    if (const auto found = pages.find(name); found != pages.end()) {
        out = found->second.get();
        return Status::success();
    }
    os::CodePageTable table;
    const os::TableLoad load = os::loadCodePageTable(upper(name), table);
    if (load != os::TableLoad::Loaded) {
        Status status =
            Status::error(load == os::TableLoad::MultiByte ? StatusCode::MultiByteCodePage
                                                           : StatusCode::UnknownCodePage);
        status.detail = std::string(given);
        return status;
    }
    std::unique_ptr<CodePage> page(new CodePage);
    page->name_ = name;
    // One character per byte, in the BMP (text boxes hold UTF-16): a character two
    // bytes share, and an undefined byte, get a stand-in of their own.
    for (int b = 1; b < 256; ++b) {
        const char32_t cp = table.unicode[b];
        if (table.defined[b] && cp <= 0xFFFF &&
            page->bytes_.emplace(cp, static_cast<unsigned char>(b)).second) {
            page->unicode_[b] = cp;
            page->defined_[b] = true;
        }
    }
    for (int b = 1; b < 256; ++b) {
        if (page->defined_[b])
            continue;
        char32_t standIn = static_cast<char32_t>(b);
        if (b < 0x80 || b > 0x9F || page->bytes_.count(standIn))
            standIn = 0xF700 + static_cast<char32_t>(b);
        page->bytes_.emplace(standIn, static_cast<unsigned char>(b));
        page->unicode_[b] = standIn;
    }
    page->bytes_.emplace(0, 0);
    for (int b = 0; b < 256; ++b) {
        const auto lower = page->fromUnicode(os::lowerCase(page->unicode_[b]));
        page->folded_[b] = lower ? *lower : static_cast<unsigned char>(b);
        std::string utf8;
        appendUtf8(utf8, page->unicode_[b]);
        std::copy(utf8.begin(), utf8.end(), page->utf8_[b].begin());
        page->utf8Length_[b] = static_cast<unsigned char>(utf8.size());
    }
    out = page.get();
    pages.emplace(name, std::move(page));
    return Status::success();
}

Status CodePage::hostDefault(const std::string& chosen, const std::string& locale,
                             const CodePage*& out) {
    if (!chosen.empty()) {
        Status status = named(chosen, out);
        if (!status.ok())
            status.detail = "EDT_CODEPAGE=" + chosen;
        return status;
    }
    if (const unsigned ansi = os::systemAnsiCodePage();
        ansi && named(std::to_string(ansi), out).ok())
        return Status::success();
    if (named(localeCodePageName(locale.c_str(), nullptr, nullptr), out).ok())
        return Status::success();
    // A system whose converter lacks the code page still has Latin-1.
    return named("Windows-1252", out).ok() ? Status::success() : named("ISO-8859-1", out);
}

std::vector<std::string> CodePage::available() {
    std::vector<std::string> names;
    for (const std::string& offered : os::converterCodePages()) {
        const std::string name = canonicalCodePageName(offered);
        const CodePage* page = nullptr;
        if (std::find(names.begin(), names.end(), name) == names.end() && named(name, page).ok())
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return sortKey(a) < sortKey(b); });
    return names;
}

std::optional<unsigned char> CodePage::fromUnicode(char32_t codePoint) const {
    const auto found = bytes_.find(codePoint);
    if (found == bytes_.end())
        return std::nullopt;
    return found->second;
}

std::string CodePage::toUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (const unsigned char b : bytes)
        out += utf8Of(b);
    return out;
}

Status CodePage::notInCharacterSet(char32_t codePoint) const {
    Status status = Status::error(StatusCode::NotInCharacterSet);
    status.character = codePoint;
    status.codePage = name_;
    return status;
}

Status CodePage::fromUtf8(std::string_view utf8, std::string& bytes) const {
    bytes.clear();
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            Status status = Status::error(StatusCode::BadUtf8);
            status.position = i + 1;
            return status;
        }
        const auto byte = fromUnicode(cp);
        if (!byte)
            return notInCharacterSet(cp);
        bytes += static_cast<char>(*byte);
    }
    return Status::success();
}

} // namespace edt
