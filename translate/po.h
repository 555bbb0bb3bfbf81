// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/status.h"
#include "translate/problem.h"

// PO files, read and written through GNU gettext's libgettextpo, so that they are
// exactly what gettext's own tools and the translation tools built on it expect.
// PO strings cannot hold U+0004 (gettext's separator of context and text); in the file
// it stands as U+2404 SYMBOL FOR END OF TRANSMISSION.
namespace edt::translate::po {

struct Message {
    std::size_t line = 0;               // line of its msgid keyword; 0 when it cannot be told
    std::optional<std::string> context; // msgctxt
    std::string msgid;
    std::string msgstr; // empty: untranslated
    bool hasPlural = false;
    bool fuzzy = false;
};

// The header field that names the code page of the EDT file's texts.
constexpr const char* kCodePageField = "X-EDT-Code-Page";

struct Catalog {
    std::string charset;           // from the header's Content-Type; empty when not given
    std::string codePage;          // the kCodePageField; empty when not given
    std::string language;          // the Language field; empty when not given
    std::vector<Message> messages; // file order; no header, no obsolete messages
};

// Reads a PO file's content. gettext's complaints about its syntax come back as
// problems with their line; the status fails only when it cannot be read at all.
Status read(std::string_view content, Catalog& catalog, std::vector<Problem>& problems);

// Header fields in order, e.g. {"Content-Type", "text/plain; charset=UTF-8"}.
using Header = std::vector<std::pair<std::string, std::string>>;

// Builds a PO file in memory: a header, then messages in the order added.
class Writer {
public:
    explicit Writer(const Header& header);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // An untranslated message; `note` becomes its comment for translators (#.),
    // `flag` (if any) its flag (#,), such as "max-length:315".
    void add(const std::string& context, const std::string& msgid, const std::string& note,
             const std::string& flag = {});

    // The file's content as gettext writes it.
    Status render(std::string& content);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace edt::translate::po
