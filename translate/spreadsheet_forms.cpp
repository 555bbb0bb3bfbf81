// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/spreadsheet_forms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace edt::translate {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a number as spreadsheets show one: a sign, digits with a decimal
// point or comma, an exponent, a trailing percent sign.
std::optional<double> numberOf(std::string_view text) {
    text = trimmed(text);
    double scale = 1;
    if (!text.empty() && text.back() == '%') {
        scale = 0.01;
        text = trimmed(text.substr(0, text.size() - 1));
    }
    std::string plain;
    bool digits = false, point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digits = true;
            plain += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            plain += '.';
        } else if ((c == '+' || c == '-') && i == 0) {
            plain += c;
        } else if ((c == 'e' || c == 'E') && digits && i + 1 < text.size()) {
            plain += text.substr(i);
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    if (plain.front() == '+')
        plain.erase(0, 1);
    double value = 0;
    const char* end = plain.data() + plain.size();
    if (std::from_chars(plain.data(), end, value).ptr != end)
        return std::nullopt;
    return value * scale;
}

// The numbers of a date of two or three parts ("1.2.26", "01/02/2026", "2026-02-01",
// "1.2."), years of four digits shortened to two.
std::optional<std::vector<int>> dateOf(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 1 && text.back() == '.')
        text.remove_suffix(1);
    const auto separator = text.find_first_of("./-");
    if (separator == std::string_view::npos)
        return std::nullopt;
    std::vector<int> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(text[separator], start), text.size());
        const std::string_view part = text.substr(start, end - start);
        int value = 0;
        if (part.empty() || part.size() > 4 ||
            std::from_chars(part.data(), part.data() + part.size(), value).ptr !=
                part.data() + part.size())
            return std::nullopt;
        parts.push_back(part.size() == 4 ? value % 100 : value);
        if (end == text.size())
            break;
        start = end + 1;
    }
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    return parts;
}

} // namespace

bool looksReformatted(std::string_view original, std::string_view cell) {
    if (original == cell)
        return false;
    if (!original.empty() && original.front() == '=')
        return true; // the cell holds the formula's value, or its error
    const auto number = numberOf(original);
    const auto cellNumber = numberOf(cell);
    if (number && cellNumber &&
        std::fabs(*number - *cellNumber) <= 1e-9 * std::max(1.0, std::fabs(*number)))
        return true;
    auto date = dateOf(original);
    auto cellDate = dateOf(cell);
    if (!date || !cellDate)
        return false;
    // Day and month may swap places, a year may be added: every part of the original's
    // is still there.
    std::sort(date->begin(), date->end());
    std::sort(cellDate->begin(), cellDate->end());
    return std::includes(cellDate->begin(), cellDate->end(), date->begin(), date->end());
}

} // namespace edt::translate
