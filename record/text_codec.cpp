#include "record/text_codec.h"

#include "record/charset.h"

namespace edt {

void decodeEntryInto(const unsigned char* bytes, std::size_t available, std::size_t entryLength,
                     std::string& text) {
    text.clear();
    int balance = 0;
    for (std::size_t i = 0; i < entryLength; ++i) {
        const unsigned char b = i < available ? bytes[i] : 0;
        if (b == 0) {
            if (++balance == 2)
                return;
        } else {
            --balance;
            text += static_cast<char>(decodeByte(b));
        }
    }
}

std::string decodeEntry(const unsigned char* bytes, std::size_t available,
                        std::size_t entryLength) {
    std::string text;
    decodeEntryInto(bytes, available, entryLength, text);
    return text;
}

Status checkStorable(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0 || c == 255) {
            return Status::error(StatusCode::UnstorableCharacter,
                                 "The character " +
                                     charset::describeCodePoint(charset::toUnicode(c)) +
                                     " (character " + std::to_string(i + 1) +
                                     " of the text) cannot be stored in an EDT file.");
        }
    }
    return Status::success();
}

std::string encodeText(std::string_view text) {
    std::string bytes(text.size() * 2 + 4, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[2 * i] = static_cast<char>(encodeChar(static_cast<unsigned char>(text[i])));
    return bytes;
}

} // namespace edt
