#pragma once

#include <string>

namespace edt {

// Why an operation of the record core did not succeed. Errors travel as values:
// nothing in record/ throws across its interface or prints.
enum class StatusCode {
    Ok,
    IoError,             // the operating system refused (message carries its reason)
    NotRegularFile,      // a folder, FIFO, device ... given as the file
    BadKey,              // not the start of an entry of this file
    TextTooLong,         // text and terminator do not fit the entry
    UnstorableCharacter, // code 0, code 255 or a character Windows-1252 lacks
    VerifyFailed,        // the bytes read back after a write differ
    FileChanged,         // the file is no longer the one that was listed
    FileTooLarge,        // larger than any EDT file; not listed
};

struct Status {
    StatusCode code = StatusCode::Ok;
    std::string message; // complete sentence for the user; empty when ok

    bool ok() const { return code == StatusCode::Ok; }
    static Status success() { return {}; }
    static Status error(StatusCode code, std::string message) { return {code, std::move(message)}; }
};

// The operating system's words for an errno value.
std::string systemReason(int errorNumber);

} // namespace edt
