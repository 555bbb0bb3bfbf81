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
    bool obsolete = false;
    std::string comments;          // the translator's (# ), one line each, each ending in \n
    std::string extractedComments; // for translators (#.), the same
    // A flag gettext does not know, such as "max-length:315": written, never read back
    // (libgettextpo drops such flags).
    std::string flag;
    std::optional<std::string> previousContext; // #| msgctxt of a fuzzy message
    std::optional<std::string> previousMsgid;   // #| msgid
};

// The header field that names the code page of the EDT file's texts.
constexpr const char* kCodePageField = "X-EDT-Code-Page";

struct Catalog {
    std::string charset;           // from the header's Content-Type; empty when not given
    std::string codePage;          // the kCodePageField; empty when not given
    std::string language;          // the Language field; empty when not given
    std::vector<Message> messages; // file order; no header, no obsolete messages
    // The header entry: its msgstr holds the fields ("Name: value\n" lines), its
    // comments the file's leading ones.
    Message header;
    std::vector<Message> obsolete; // file order
};

// Reads a PO file's content. gettext's complaints about its syntax come back as
// problems with their line; the status fails only when it cannot be read at all.
Status read(std::string_view content, Catalog& catalog, std::vector<Problem>& problems);

// Header fields in order, e.g. {"Content-Type", "text/plain; charset=UTF-8"}.
using Header = std::vector<std::pair<std::string, std::string>>;

// The header entry's text of `fields`: "Name: value\n" lines.
std::string headerText(const Header& fields);

// The value of the field `name` in `header` (an entry's "Name: value\n" lines);
// empty when there is none.
std::string headerValue(const std::string& header, const std::string& name);

// `header` (an entry's "Name: value\n" lines) with the field `name` set to `value`:
// replaced where it is, else added at the end.
std::string withHeaderField(std::string header, const std::string& name, const std::string& value);

// Builds a PO file in memory: a header, then messages in the order added.
class Writer {
public:
    explicit Writer(const Header& header);
    // With the header entry `header` (msgstr, comments, fuzzy flag) as it is.
    explicit Writer(const Message& header);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // An untranslated message; `note` becomes its comment for translators (#.),
    // `flag` (if any) its flag (#,), such as "max-length:315".
    void add(const std::string& context, const std::string& msgid, const std::string& note,
             const std::string& flag = {});
    // Any message, obsolete ones included, with its state and comments.
    void add(const Message& message);

    // The file's content as gettext writes it.
    Status render(std::string& content);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A catalog as gettext writes it: header, messages, then the obsolete ones.
Status render(const Catalog& catalog, std::string& content);

} // namespace edt::translate::po
