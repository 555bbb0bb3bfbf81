// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/write_command.h"

#include "cli/tool.h"
#include "record/escaped_text.h"
#include "record/file_kind.h"
#include "translate/translate_status.h"

namespace edt::cli {

int writeCommand(const std::string& path, const FileKind& kind, const std::string& keyText,
                 const std::string& escaped, const Settings& settings, std::FILE* out,
                 std::FILE* err) {
    const Escaper escaper(settings.codePage);
    RecordKey key = 0;
    if (!parseKey(keyText, key)) {
        Status status = Status::error(translate::Code::NotAKey);
        status.detail = keyText;
        return refuse(err, status, true);
    }
    // A character the code page lacks: say where the code page came from.
    const auto withOrigin = [&settings](Status status) {
        if (status.code == StatusCode::NotInCharacterSet)
            status.detail = settings.codePageOrigin;
        return status;
    };
    std::string text;
    const Status status = escaper.unescape(escaped, text);
    if (!status.ok())
        return refuse(err, withOrigin(status), true);
    OpenFile file;
    if (const Status opened = openFile(path, kind, settings, true, file, err); !opened.ok())
        return refuse(err, opened, true);
    const WriteResult result = file.writeRecord(key, text, settings.codePage);
    tell(err, result.notes);
    if (!result.status.ok())
        return refuse(err, withOrigin(result.status), true);
    std::string line = "[" + formatKey(result.line.key) + "] ";
    escaper.append(line, result.line.text);
    line += '\n';
    return deliver(line, out, err);
}

} // namespace edt::cli
