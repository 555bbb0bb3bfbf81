// PO files where GNU gettext's libgettextpo is not available (the Windows build):
// every PO operation is refused with the reason, and CSV does the round trip.
#include "cli/po.h"

namespace edt::cli::po {
namespace {

Status unsupported(const std::string& what) {
    return Status::error(StatusCode::IoError, "Cannot " + what +
                                                  ": this edt-tool is built without PO support "
                                                  "(GNU gettext's libgettextpo). Use CSV instead.");
}

} // namespace

Status read(const std::string& path, Catalog& catalog, std::vector<Problem>&) {
    catalog = {};
    return unsupported("read the PO file \"" + path + "\"");
}

struct Writer::Impl {};

Writer::Writer(const Header&) : impl_(std::make_unique<Impl>()) {}

Writer::~Writer() = default;

void Writer::add(const std::string&, const std::string&, const std::string&) {}

Status Writer::save(const std::string& path) {
    return unsupported("write the PO file \"" + path + "\"");
}

Status Writer::print(std::FILE*) {
    return unsupported("write a PO file");
}

} // namespace edt::cli::po
