#include "cli/whole_file.h"

#include "record/file_io.h"

namespace edt::cli {

Status readWholeFile(const std::string& path, std::string& content) {
    content.clear();
    File file;
    Status status = file.open(path, File::Mode::Read);
    FileIdentity id;
    if (status.ok())
        status = file.identity(id);
    if (!status.ok())
        return status;
    content.resize(static_cast<std::size_t>(id.size));
    std::size_t got = 0;
    status = file.readAt(0, content.data(), content.size(), got);
    content.resize(got);
    return status;
}

} // namespace edt::cli
