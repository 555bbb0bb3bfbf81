// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/plural_forms.h"

#include <algorithm>

namespace edt::translate {
namespace {

// ASCII only, whatever the locale.
bool lower(char c) {
    return c >= 'a' && c <= 'z';
}
bool upper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool digit(char c) {
    return c >= '0' && c <= '9';
}
template <typename Test> bool allOf(std::string_view text, Test test) {
    return std::all_of(text.begin(), text.end(), test);
}

constexpr const char* kOneForm = "nplurals=1; plural=0;";
constexpr const char* kGermanic = "nplurals=2; plural=(n != 1);";
constexpr const char* kSlavicEast =
    "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || "
    "n%100>=20) ? 1 : 2);";
constexpr const char* kCzech = "nplurals=3; plural=(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2;";

struct PluralRule {
    const char* language;
    const char* forms;
};

// gettext's own table (msginit's), in its expressions.
constexpr PluralRule kPluralTable[] = {
    {"ja", kOneForm},
    {"vi", kOneForm},
    {"ko", kOneForm},
    {"en", kGermanic},
    {"de", kGermanic},
    {"nl", kGermanic},
    {"sv", kGermanic},
    {"da", kGermanic},
    {"no", kGermanic},
    {"nb", kGermanic},
    {"nn", kGermanic},
    {"fo", kGermanic},
    {"es", kGermanic},
    {"pt", kGermanic},
    {"it", kGermanic},
    {"bg", kGermanic},
    {"el", kGermanic},
    {"fi", kGermanic},
    {"et", kGermanic},
    {"he", kGermanic},
    {"eo", kGermanic},
    {"hu", kGermanic},
    {"tr", kGermanic},
    {"pt_BR", "nplurals=2; plural=(n > 1);"},
    {"fr", "nplurals=2; plural=(n > 1);"},
    {"lv", "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n != 0 ? 1 : 2);"},
    {"ga", "nplurals=3; plural=n==1 ? 0 : n==2 ? 1 : 2;"},
    {"ro", "nplurals=3; plural=n==1 ? 0 : (n==0 || (n%100 > 0 && n%100 < 20)) ? 1 : 2;"},
    {"lt", "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && (n%100<10 || n%100>=20) "
           "? 1 : 2);"},
    {"ru", kSlavicEast},
    {"uk", kSlavicEast},
    {"be", kSlavicEast},
    {"sr", kSlavicEast},
    {"hr", kSlavicEast},
    {"cs", kCzech},
    {"sk", kCzech},
    {"pl", "nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 "
           ": 2);"},
    {"sl", "nplurals=4; plural=(n%100==1 ? 0 : n%100==2 ? 1 : n%100==3 || n%100==4 ? 2 : 3);"},
};

const char* tableForms(std::string_view language) {
    for (const PluralRule& rule : kPluralTable)
        if (language == rule.language)
            return rule.forms;
    return nullptr;
}

} // namespace

bool isLanguageCode(std::string_view language) {
    const auto at = language.find('@');
    if (at != std::string_view::npos) {
        const std::string_view modifier = language.substr(at + 1);
        if (modifier.empty() || !allOf(modifier, [](char c) { return lower(c) || digit(c); }))
            return false;
        language = language.substr(0, at);
    }
    const auto underscore = language.find('_');
    const std::string_view base = language.substr(0, underscore);
    if (base.size() < 2 || base.size() > 3 || !allOf(base, lower))
        return false;
    if (underscore == std::string_view::npos)
        return true;
    const std::string_view region = language.substr(underscore + 1);
    return (region.size() == 2 && allOf(region, upper)) ||
           (region.size() == 3 && allOf(region, digit)) ||
           (region.size() == 4 && upper(region[0]) && allOf(region.substr(1), lower));
}

std::string pluralForms(std::string_view language) {
    language = language.substr(0, language.find('@'));
    const char* forms = tableForms(language);
    if (!forms)
        forms = tableForms(language.substr(0, language.find('_')));
    return forms ? forms : kGermanic;
}

} // namespace edt::translate
