// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_plan.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "cli/tool_status.h"
#include "platform/file.h"
#include "record/message.h"
#include "translate/xlsx.h"

namespace edt::cli {
namespace {

// The code pages of an import: the target from --codepage, else the PO's Language,
// else the default; the source the one the translation names, else the target.
// `origin` says where the target came from.
Status codePagesOf(const translate::Translation& translation, const Settings& settings,
                   const CodePage*& source, const CodePage*& target, std::string& origin) {
    target = &settings.codePage;
    origin = settings.codePageOrigin;
    if (!settings.codePageNamed && !translation.language.empty()) {
        const std::string name = localeCodePageName(translation.language.c_str(), nullptr, nullptr);
        if (CodePage::named(name, target).ok())
            origin = "follows from the PO's Language " + quoted(translation.language);
        else
            target = &settings.codePage;
    }
    source = target;
    return translation.codePage.empty() ? Status::success()
                                        : CodePage::named(translation.codePage, source);
}

// Reads a translation ("-": standard input) and hands its content to translate/:
// refused when it is longer than `limit` bytes (TranslationTooLarge, read no further) or
// more than memory holds (TranslationOutOfMemory).
Status readTranslation(const std::string& path, translate::TranslationFormat format,
                       translate::Translation& out, std::uint64_t limit, const std::string& sheet) {
    Status tooLarge = Status::error(cli::ToolCode::TranslationTooLarge, path);
    tooLarge.limit = limit;
    os::FileIdentity id;
    if (path != "-" && os::identityAt(path, id) && id.size > limit)
        return tooLarge;
    try {
        std::string content;
        const auto most = static_cast<std::size_t>(std::min<std::uint64_t>(limit, SIZE_MAX - 1));
        os::Result read =
            path == "-" ? os::readStandardInput(content, most) : os::readWholeFile(path, content);
        if (!read.ok())
            return Status::system(std::move(read), path);
        if (content.size() > limit)
            return tooLarge;
        return translate::parseTranslation(content, format, out, limit, sheet);
    } catch (const std::bad_alloc&) {
        out = {};
        return Status::error(cli::ToolCode::TranslationOutOfMemory, path);
    }
}

} // namespace

FilePlan planFile(const std::string& path, const FileKind& kind, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format,
                  const translate::ImportOptions& options, const std::string& sheet,
                  const Settings& settings, bool writes, std::FILE* err) {
    FilePlan file;
    file.path = path;
    file.kind = kind;
    file.translationPath = translationPath;
    if (!translationPath.empty() && !format) {
        file.status = Status::error(cli::ToolCode::UnknownFormat, translationPath);
        return file;
    }
    Status& status = file.status;
    if (!translationPath.empty()) {
        os::FileIdentity identity;
        std::uint64_t limit =
            os::identityAt(path, identity) ? maxTranslationSize(kind, identity.size) : UINT64_MAX;
        if (*format == translate::TranslationFormat::Xlsx)
            limit = translate::xlsxLimit(limit);
        status = readTranslation(translationPath, *format, file.translation, limit, sheet);
        if (status.code == cli::ToolCode::TranslationTooLarge)
            status.detail = path;
    }
    if (status.ok())
        status = codePagesOf(file.translation, settings, file.source, file.target, file.origin);
    if (status.ok())
        status = openFile(path, kind, settings, writes, file.file, err);
    if (status.ok())
        status = translate::planImport(file.file, file.translation, *file.target, *file.source,
                                       options, file.plan);
    return file;
}

} // namespace edt::cli
