// SPDX-License-Identifier: GPL-3.0-or-later
// PO files where GNU gettext's libgettextpo is not available (the Windows build):
// every PO operation is refused with the reason, and CSV does the round trip.
#include "translate/po.h"

namespace edt::translate::po {

Status read(std::string_view, Catalog& catalog, std::vector<Problem>&) {
    catalog = {};
    return Status::error(StatusCode::NoPoSupport);
}

struct Writer::Impl {};

Writer::Writer(const Header&) : impl_(std::make_unique<Impl>()) {}

Writer::Writer(const Message&) : impl_(std::make_unique<Impl>()) {}

Writer::~Writer() = default;

void Writer::add(const std::string&, const std::string&, const std::string&, const std::string&) {}

void Writer::add(const Message&) {}

Status Writer::render(std::string&) {
    return Status::error(StatusCode::NoPoSupport);
}

Status render(const Catalog&, std::string&) {
    return Status::error(StatusCode::NoPoSupport);
}

} // namespace edt::translate::po
