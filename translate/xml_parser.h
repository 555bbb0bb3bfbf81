// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/status.h"

namespace edt::translate {

// What an XML part holds, as events; names are local (without their namespace).
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // `attributes`: name, value, name, value ..., then a null.
    virtual void start(std::string_view name, const char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view text) = 0;
};

// The value of the attribute `name` (local), empty when there is none.
std::string_view attributeOf(const char** attributes, std::string_view name);

// Parses the XML part `name` of a workbook (through expat). A document type or an
// entity declaration is refused, so that no external entity is ever read, nor an
// entity expanded beyond the part's size. Malformed XML is UnreadableXlsx naming the
// part and its line.
Status parseXml(std::string_view xml, const std::string& name, XmlHandler& handler);

} // namespace edt::translate
