// SPDX-License-Identifier: GPL-3.0-or-later
// edt-tool's text escapes: any text escapes and comes back, and any argument either
// is refused or reads as a text that escapes to a form reading back the same.
#include "fuzz/fuzz_support.h"
#include "record/code_page.h"
#include "record/escaped_text.h"
#include "record/message.h"
#include "tests/support/test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Any Windows-1252 text: its escaped form is plain UTF-8 without control codes
    // (safe on a terminal) and reads back as the same text.
    const std::string escaped = edt::fuzz::escaper().escape(input);
    for (const unsigned char c : escaped)
        FUZZ_CHECK(c >= 32 && c != 127);
    std::string text;
    FUZZ_CHECK(edt::fuzz::escaper().unescape(escaped, text).ok());
    FUZZ_CHECK(text == input);
    std::string ignored;
    FUZZ_CHECK(edt::test::codePage().fromUtf8(escaped, ignored).ok());

    // Any argument.
    const edt::Status status = edt::fuzz::escaper().unescape(input, text);
    if (status.ok()) {
        std::string again;
        FUZZ_CHECK(edt::fuzz::escaper().unescape(edt::fuzz::escaper().escape(text), again).ok());
        FUZZ_CHECK(again == text);
    } else {
        FUZZ_CHECK(!edt::describe(status).empty());
    }
    return 0;
}
