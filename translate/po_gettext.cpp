// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/po.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include <gettext-po.h>

#include "platform/c_library_file.h"
#include "platform/file.h"
#include "platform/output_file.h"
#include "translate/translate_status.h"

namespace edt::translate::po {
namespace {

// libgettextpo reports through a callback that must not return after a fatal error.
// The callback records every report and, on a fatal one, jumps back to the call that
// started the operation. Nothing with a destructor lives in the frames it jumps over.
struct Session {
    std::vector<Problem> errors; // warnings are gettext's advice and are dropped
    std::jmp_buf fatal;
};

Session* activeSession = nullptr;

void record(int severity, const char* filename, std::size_t lineno, const char* text) {
    if (severity == PO_SEVERITY_WARNING || !activeSession)
        return;
    std::string message = text ? text : "unknown error";
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    const bool located = filename && lineno != static_cast<std::size_t>(-1);
    activeSession->errors.push_back(
        problemAt(located ? lineno : 0, translate::Code::UnreadablePo, std::move(message)));
}

void onReport(int severity, po_message_t, const char* filename, std::size_t lineno, std::size_t,
              int, const char* text) {
    record(severity, filename, lineno, text);
    if (severity == PO_SEVERITY_FATAL_ERROR)
        std::longjmp(activeSession->fatal, 1);
}

void onReport2(int severity, po_message_t, const char* filename, std::size_t lineno, std::size_t,
               int, const char* text, po_message_t, const char*, std::size_t, std::size_t, int,
               const char*) {
    onReport(severity, nullptr, filename, lineno, 0, 0, text);
}

const po_xerror_handler reportHandler = {onReport, onReport2};

// Runs one libgettextpo call under `session`; false when it ended in a fatal error.
template <typename Call> bool runGuarded(Session& session, Call call) {
    activeSession = &session;
    volatile bool completed = false; // volatile: read after a longjmp
    if (setjmp(session.fatal) == 0) {
        call();
        completed = true;
    }
    activeSession = nullptr;
    return completed;
}

std::string joinMessages(const std::vector<Problem>& problems) {
    std::string out;
    for (const Problem& p : problems) {
        if (!out.empty())
            out += "; ";
        out += p.status.detail;
    }
    return out;
}

// Where a message starts: the line of its msgid keyword, and its msgctxt as written
// on the line before, when that is a plain one-line string.
struct MsgidLine {
    std::size_t line = 0;
    bool hasContext = false;
    bool contextKnown = true; // false when the msgctxt uses escapes or several lines
    std::string context;
};

// libgettextpo yields messages in file order but does not tell their lines. Each
// message (header and obsolete ones included) has one msgid keyword at the start of
// a line, so the lines are found by looking at line starts only; matchLines() pairs
// them with the messages.
std::vector<MsgidLine> scanMsgidLines(std::string_view content) {
    std::vector<MsgidLine> found;
    MsgidLine pending;
    std::size_t line = 1;
    for (std::size_t start = 0; start < content.size(); ++line) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view text = content.substr(start, end - start);
        start = end + 1;
        auto skipBlanks = [&text] {
            while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
                text.remove_prefix(1);
        };
        auto isKeyword = [&text](std::string_view word) {
            return text.substr(0, word.size()) == word && text.size() > word.size() &&
                   (text[word.size()] == ' ' || text[word.size()] == '\t' ||
                    text[word.size()] == '"');
        };
        skipBlanks();
        if (text.substr(0, 2) == "#~") {
            text.remove_prefix(2);
            skipBlanks();
        }
        while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
            text.remove_suffix(1);
        if (isKeyword("msgctxt")) {
            pending.hasContext = true;
            const auto open = text.find('"');
            const bool plain =
                open != std::string_view::npos && text.size() >= open + 2 && text.back() == '"';
            pending.context =
                plain ? std::string(text.substr(open + 1, text.size() - open - 2)) : std::string();
            pending.contextKnown = plain && !pending.context.empty() &&
                                   pending.context.find('\\') == std::string::npos;
        } else if (isKeyword("msgid")) {
            pending.line = line;
            found.push_back(std::move(pending));
            pending = {};
        }
    }
    return found;
}

// Pairs messages with msgid lines in order. gettext drops a message it cannot read,
// so a line whose msgctxt differs from the message's is skipped; a message with no
// match left gets no line rather than a wrong one.
class LineMatcher {
public:
    explicit LineMatcher(std::vector<MsgidLine> lines) : lines_(std::move(lines)) {}

    std::size_t lineOf(const char* context) {
        for (std::size_t k = next_; k < lines_.size(); ++k) {
            const MsgidLine& candidate = lines_[k];
            const bool matches =
                candidate.hasContext == (context != nullptr) &&
                (!context || !candidate.contextKnown || candidate.context == context);
            if (matches) {
                next_ = k + 1;
                return candidate.line;
            }
        }
        return 0;
    }

private:
    std::vector<MsgidLine> lines_;
    std::size_t next_ = 0;
};

// PO strings cannot hold U+0004, gettext's separator of context and text: in the
// file it stands as U+2404 SYMBOL FOR END OF TRANSMISSION.
std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}
constexpr std::string_view kEot = "\x04";
constexpr std::string_view kEotSymbol = "\xE2\x90\x84";

// A field of the file's header; empty when there is none.
std::string headerField(po_file_t file, const char* name) {
    // Both calls return fresh copies (for the header, despite its const) to be freed.
    const char* header = po_file_domain_header(file, nullptr);
    if (!header)
        return {};
    char* field = po_header_field(header, name);
    std::free(const_cast<char*>(header));
    if (!field)
        return {};
    std::string value = field;
    std::free(field);
    return value;
}

std::string charsetOf(po_file_t file) {
    const std::string contentType = headerField(file, "Content-Type");
    const auto at = contentType.find("charset=");
    if (at == std::string::npos)
        return {};
    std::string charset = contentType.substr(at + 8);
    const auto end = charset.find_first_of("; \t");
    if (end != std::string::npos)
        charset.erase(end);
    return charset;
}

// libgettextpo reads and writes named files only, through fopen(): a scratch file stands
// between it and the content in memory, removed on destruction.
class ScratchFile {
public:
    ~ScratchFile() {
        if (!path_.empty())
            os::removeFile(path_);
    }
    Status create() {
        os::Result created = os::createTemporaryFile(".po", path_);
        if (!created.ok())
            return Status::system(std::move(created), "a temporary file");
        created = os::cLibraryPath(path_, cName_);
        if (!created.ok())
            return Status::system(std::move(created), path_);
        os::useBinaryFileMode();
        return Status::success();
    }
    const std::string& path() const { return path_; }
    const char* cName() const { return cName_.c_str(); } // for libgettextpo

private:
    std::string path_;
    std::string cName_;
};

} // namespace

Status read(std::string_view content, Catalog& catalog, std::vector<Problem>& problems) {
    catalog = {};
    ScratchFile scratch;
    Status status = scratch.create();
    if (!status.ok())
        return status;
    os::OutputFile output;
    os::Result written = output.create(scratch.path());
    if (written.ok())
        written = output.write(content.data(), content.size());
    if (written.ok())
        written = output.commit();
    if (!written.ok())
        return Status::system(std::move(written), scratch.path());

    Session session;
    po_file_t file = nullptr;
    const bool completed =
        runGuarded(session, [&] { file = po_file_read(scratch.cName(), &reportHandler); });
    problems.insert(problems.end(), session.errors.begin(), session.errors.end());
    if (!completed || !file) {
        if (file)
            po_file_free(file);
        if (completed && session.errors.empty())
            problems.push_back(problemAt(0, translate::Code::UnreadablePo));
        return Status::success(); // the problems say why
    }

    for (const char* const* domain = po_file_domains(file); *domain; ++domain) {
        if (std::strcmp(*domain, "messages") != 0)
            problems.push_back(problemAt(0, translate::Code::OtherDomain, *domain));
    }
    catalog.charset = charsetOf(file);
    catalog.codePage = headerField(file, kCodePageField);
    catalog.language = headerField(file, "Language");

    LineMatcher lines(scanMsgidLines(content));
    po_message_iterator_t it = po_message_iterator(file, nullptr);
    for (po_message_t m = po_next_message(it); m; m = po_next_message(it)) {
        const char* context = po_message_msgctxt(m);
        const char* msgid = po_message_msgid(m);
        Message message;
        message.line = lines.lineOf(context);
        if (context)
            message.context = context;
        message.msgid = replaced(msgid, kEotSymbol, kEot);
        message.hasPlural = po_message_msgid_plural(m) != nullptr;
        message.msgstr = message.hasPlural ? "" : replaced(po_message_msgstr(m), kEotSymbol, kEot);
        message.fuzzy = po_message_is_fuzzy(m) != 0;
        message.obsolete = po_message_is_obsolete(m) != 0;
        message.comments = po_message_comments(m);
        message.extractedComments = po_message_extracted_comments(m);
        if (const char* previous = po_message_prev_msgctxt(m))
            message.previousContext = previous;
        if (const char* previous = po_message_prev_msgid(m))
            message.previousMsgid = replaced(previous, kEotSymbol, kEot);
        if (message.obsolete)
            catalog.obsolete.push_back(std::move(message));
        else if (!context && *msgid == '\0')
            catalog.header = std::move(message);
        else
            catalog.messages.push_back(std::move(message));
    }
    po_message_iterator_free(it);
    po_file_free(file);
    return Status::success();
}

struct Writer::Impl {
    po_file_t file = nullptr;
    po_message_iterator_t iterator = nullptr;
    std::unordered_map<std::string, std::string> flags; // by context
};

Writer::Writer(const Header& header)
    : Writer([&header] {
          Message entry;
          entry.msgstr = headerText(header);
          return entry;
      }()) {}

Writer::Writer(const Message& header) : impl_(std::make_unique<Impl>()) {
    impl_->file = po_file_create();
    impl_->iterator = po_message_iterator(impl_->file, nullptr);
    po_message_t entry = po_message_create();
    po_message_set_msgid(entry, "");
    po_message_set_msgstr(entry, header.msgstr.c_str());
    po_message_set_comments(entry, header.comments.c_str());
    po_message_set_fuzzy(entry, header.fuzzy);
    po_message_insert(impl_->iterator, entry);
}

Writer::~Writer() {
    po_message_iterator_free(impl_->iterator);
    po_file_free(impl_->file);
}

void Writer::add(const std::string& context, const std::string& msgid, const std::string& note,
                 const std::string& flag) {
    Message message;
    message.context = context;
    message.msgid = msgid;
    if (!note.empty())
        message.extractedComments = note + "\n";
    message.flag = flag;
    add(message);
}

void Writer::add(const Message& m) {
    if (!m.flag.empty() && m.context && !m.obsolete)
        impl_->flags[*m.context] = m.flag;
    po_message_t message = po_message_create();
    if (m.context)
        po_message_set_msgctxt(message, m.context->c_str());
    po_message_set_msgid(message, replaced(m.msgid, kEot, kEotSymbol).c_str());
    po_message_set_msgstr(message, replaced(m.msgstr, kEot, kEotSymbol).c_str());
    po_message_set_comments(message, m.comments.c_str());
    po_message_set_extracted_comments(message, m.extractedComments.c_str());
    if (m.previousContext)
        po_message_set_prev_msgctxt(message, m.previousContext->c_str());
    if (m.previousMsgid)
        po_message_set_prev_msgid(message, replaced(*m.previousMsgid, kEot, kEotSymbol).c_str());
    po_message_set_fuzzy(message, m.fuzzy);
    po_message_set_obsolete(message, m.obsolete);
    po_message_insert(impl_->iterator, message);
}

Status Writer::render(std::string& content) {
    ScratchFile scratch;
    Status status = scratch.create();
    if (!status.ok())
        return status;
    Session session;
    const bool completed =
        runGuarded(session, [&] { po_file_write(impl_->file, scratch.cName(), &reportHandler); });
    if (!completed || !session.errors.empty()) {
        return Status::system(os::Result::failure(os::Op::Write, joinMessages(session.errors)),
                              scratch.path());
    }
    os::Result read = os::readWholeFile(scratch.path(), content);
    if (!read.ok())
        return Status::system(std::move(read), scratch.path());
    // libgettextpo sets only the flags it knows: the others join the message's flag
    // line, or make one where gettext writes flags (before #| lines and msgctxt).
    if (!impl_->flags.empty()) {
        std::string flagged;
        flagged.reserve(content.size() + impl_->flags.size() * 24);
        std::size_t flagLineEnd = std::string::npos, previousStart = std::string::npos;
        std::size_t start = 0;
        while (start < content.size()) {
            std::size_t end = content.find('\n', start);
            end = end == std::string::npos ? content.size() : end + 1;
            const std::string_view line(content.data() + start, end - start);
            start = end;
            if (line.rfind("msgctxt \"", 0) == 0 && line.size() > 11) {
                const auto found = impl_->flags.find(std::string(line.substr(9, line.size() - 11)));
                if (found != impl_->flags.end() && flagLineEnd != std::string::npos)
                    flagged.insert(flagLineEnd, ", " + found->second);
                else if (found != impl_->flags.end())
                    flagged.insert(std::min(previousStart, flagged.size()),
                                   "#, " + found->second + "\n");
            }
            if (line.rfind("#, ", 0) == 0)
                flagLineEnd = flagged.size() + line.size() - 1;
            else if (line.rfind("#| ", 0) == 0 && previousStart == std::string::npos)
                previousStart = flagged.size();
            else if (line.rfind("#", 0) != 0)
                flagLineEnd = previousStart = std::string::npos;
            flagged += line;
        }
        content = std::move(flagged);
    }
    return Status::success();
}

Status render(const Catalog& catalog, std::string& content) {
    Writer writer(catalog.header);
    for (const Message& message : catalog.messages)
        writer.add(message);
    for (const Message& message : catalog.obsolete)
        writer.add(message);
    return writer.render(content);
}

} // namespace edt::translate::po
