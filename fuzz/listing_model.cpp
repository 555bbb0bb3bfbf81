#include "fuzz/listing_model.h"

#include <cmath>

namespace edt::fuzz {

std::vector<ModelEntry> modelListing(std::string_view image, const FileKind& kind) {
    const bool split = kind.firstFieldLength != 0;
    // The default floating-point rounding is to the nearest, halves to even; the
    // quotient of two integers below 2^53 is exact at the halves.
    const double records = std::nearbyint(static_cast<double>(image.size()) / kind.recordLength);
    const auto count = static_cast<std::uint64_t>(records) * (split ? 2 : 1);
    std::vector<ModelEntry> entries;
    std::uint64_t start = 1;
    bool secondField = false;
    for (std::uint64_t number = 1;; ++number) {
        const int length = !split        ? kind.recordLength
                           : secondField ? kind.secondFieldLength
                                         : kind.firstFieldLength;
        std::string text;
        int balance = 0;
        for (std::uint64_t pos = start; pos < start + length; ++pos) {
            const auto b = pos - 1 < image.size() ? static_cast<unsigned char>(image[pos - 1]) : 0;
            balance += b == 0 ? 1 : -1;
            if (balance == 2)
                break;
            const unsigned char c = b >= 33 ? b - 1 : b;
            if (c != 0)
                text += static_cast<char>(c);
        }
        entries.push_back({start, length, text});
        if (number + 1 > count)
            break;
        start += length;
        if (split)
            secondField = !secondField;
    }
    return entries;
}

} // namespace edt::fuzz
