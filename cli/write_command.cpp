#include "cli/write_command.h"

#include "cli/escape.h"
#include "cli/parse_key.h"
#include "cli/tool.h"
#include "record/file_kind.h"
#include "record/writer.h"

namespace edt::cli {

int writeCommand(const std::string& path, const std::string& keyText, const std::string& escaped,
                 std::FILE* out, std::FILE* err) {
    RecordKey key = 0;
    if (!parseKey(keyText, key)) {
        std::fprintf(err,
                     "edt-tool: \"%s\" is not a key: give the entry's position as decimal "
                     "digits, as the listing shows it. Nothing was written.\n",
                     keyText.c_str());
        return kExitRefused;
    }
    std::string text;
    Status status = unescape(escaped, text);
    if (!status.ok()) {
        std::fprintf(err, "edt-tool: %s Nothing was written.\n", status.message.c_str());
        return kExitRefused;
    }
    const WriteResult result = writeRecord(path, fileTitleOf(path), key, text);
    if (!result.status.ok()) {
        std::fprintf(err, "edt-tool: %s\n", result.status.message.c_str());
        return kExitRefused;
    }
    std::string line = "[" + formatKey(result.line.key) + "] ";
    appendEscaped(line, result.line.text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out);
    return std::fflush(out) == 0 ? kExitOk : kExitRefused;
}

} // namespace edt::cli
