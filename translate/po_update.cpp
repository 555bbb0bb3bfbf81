// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/po_update.h"

#include <unordered_map>

namespace edt::translate {
namespace {

// A message of `fresh` that takes over what `old` (the same key) holds.
po::Message merged(po::Message message, const po::Message& old, UpdateCounts& counts) {
    message.comments = old.comments;
    if (old.msgid == message.msgid) {
        message.msgstr = old.msgstr;
        message.fuzzy = old.fuzzy;
        message.previousContext = old.previousContext;
        message.previousMsgid = old.previousMsgid;
        ++counts.kept;
    } else if (!old.msgstr.empty()) {
        message.msgstr = old.msgstr;
        message.fuzzy = true;
        // Already fuzzy: the original it was translated from is still the one to compare.
        const bool hadPrevious = old.previousMsgid.has_value();
        message.previousContext = hadPrevious ? old.previousContext : old.context;
        message.previousMsgid = hadPrevious ? old.previousMsgid : old.msgid;
        ++counts.fuzzy;
    } else {
        ++counts.added;
    }
    return message;
}

} // namespace

po::Catalog updatedCatalog(const po::Catalog& translation, const po::Catalog& fresh,
                           UpdateCounts& counts) {
    counts = {};
    po::Catalog updated;
    updated.charset = fresh.charset;
    updated.codePage = fresh.codePage;
    updated.language = translation.language;
    updated.header = translation.header;
    for (const char* name : {"POT-Creation-Date", po::kCodePageField})
        updated.header.msgstr = po::withHeaderField(updated.header.msgstr, name,
                                                    po::headerValue(fresh.header.msgstr, name));

    std::unordered_map<std::string, std::size_t> active, obsolete;
    for (std::size_t i = 0; i < translation.messages.size(); ++i)
        if (translation.messages[i].context)
            active.emplace(*translation.messages[i].context, i);
    for (std::size_t i = 0; i < translation.obsolete.size(); ++i)
        if (translation.obsolete[i].context)
            obsolete.emplace(*translation.obsolete[i].context, i);

    std::vector<bool> used(translation.messages.size()), revived(translation.obsolete.size());
    updated.messages.reserve(fresh.messages.size());
    for (const po::Message& message : fresh.messages) {
        const auto found = message.context ? active.find(*message.context) : active.end();
        if (found != active.end()) {
            used[found->second] = true;
            updated.messages.push_back(
                merged(message, translation.messages[found->second], counts));
            continue;
        }
        // As msgmerge: an obsolete message of the same key and original comes back.
        const auto gone = message.context ? obsolete.find(*message.context) : obsolete.end();
        if (gone != obsolete.end() && translation.obsolete[gone->second].msgid == message.msgid) {
            revived[gone->second] = true;
            po::Message back = translation.obsolete[gone->second];
            back.obsolete = false;
            updated.messages.push_back(merged(message, back, counts));
            continue;
        }
        updated.messages.push_back(message);
        ++counts.added;
    }
    for (std::size_t i = 0; i < translation.messages.size(); ++i) {
        if (used[i] || translation.messages[i].msgstr.empty())
            continue; // untranslated ones go, as in msgmerge
        po::Message gone = translation.messages[i];
        gone.obsolete = true;
        gone.flag.clear();
        updated.obsolete.push_back(std::move(gone));
        ++counts.obsolete;
    }
    for (std::size_t i = 0; i < translation.obsolete.size(); ++i)
        if (!revived[i])
            updated.obsolete.push_back(translation.obsolete[i]);
    return updated;
}

} // namespace edt::translate
