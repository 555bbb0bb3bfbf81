// SPDX-License-Identifier: GPL-3.0-or-later
// edt-tool list's one-pass path: for any stored bytes of any entry length, it writes
// exactly what decoding by the running-balance rule and then escaping writes, and
// stays inside the room it promises.
#include <algorithm>
#include <memory>
#include <string>

#include "cli/escape.h"
#include "cli/listed_text.h"
#include "fuzz/fuzz_support.h"
#include "record/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr std::size_t kEntryLengths[] = {160, 320, 480, 640, 800};
    const std::size_t entryLength = kEntryLengths[data[0] % 5];
    // The stored bytes in an allocation of their own exact size, so that the sanitizers
    // see any read past them (the rest of the entry lies past the end of the file).
    const std::size_t available = std::min(size - 1, entryLength);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[available ? available : 1]);
    std::copy(data + 1, data + 1 + available, bytes.get());

    const std::size_t room = edt::cli::kMaxEscapedChar * entryLength + edt::cli::kEscapeSlack;
    std::unique_ptr<char[]> out(new char[room]);
    std::unique_ptr<char[]> scratch(new char[entryLength]);
    const char* end =
        edt::cli::writeListedText(out.get(), bytes.get(), available, entryLength, scratch.get());
    FUZZ_CHECK(end >= out.get() && end <= out.get() + room);

    const std::string expected =
        edt::cli::escape(edt::decodeEntry(bytes.get(), available, entryLength));
    FUZZ_CHECK(std::string(static_cast<const char*>(out.get()), end) == expected);
    return 0;
}
