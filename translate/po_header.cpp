// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/po.h"

namespace edt::translate::po {

std::string headerText(const Header& fields) {
    std::string text;
    for (const auto& [name, value] : fields)
        text += name + ": " + value + "\n";
    return text;
}

std::string headerValue(const std::string& header, const std::string& name) {
    for (std::size_t start = 0; start < header.size();) {
        std::size_t end = header.find('\n', start);
        end = end == std::string::npos ? header.size() : end;
        if (header.compare(start, name.size() + 1, name + ":") == 0) {
            const auto value = header.find_first_not_of(' ', start + name.size() + 1);
            return value < end ? header.substr(value, end - value) : std::string();
        }
        start = end + 1;
    }
    return {};
}

std::string withHeaderField(std::string header, const std::string& name, const std::string& value) {
    const std::string field = name + ": " + value + "\n";
    for (std::size_t start = 0; start < header.size();) {
        std::size_t end = header.find('\n', start);
        end = end == std::string::npos ? header.size() : end + 1;
        if (header.compare(start, name.size() + 1, name + ":") == 0) {
            header.replace(start, end - start, field);
            return header;
        }
        start = end;
    }
    if (!header.empty() && header.back() != '\n')
        header += '\n';
    return header + field;
}

} // namespace edt::translate::po
