#include "record/status.h"

#include <cstring>

namespace edt {
namespace {

// strerror itself may share one buffer between threads. glibc's strerror_r returns
// the text (GNU form) or fills the buffer (XSI form), depending on feature macros.
[[maybe_unused]] const char* reasonText(int, const char* buffer) {
    return buffer;
}
[[maybe_unused]] const char* reasonText(const char* text, const char*) {
    return text;
}

} // namespace

std::string systemReason(int errorNumber) {
    char buffer[256] = {};
#ifdef _WIN32
    if (strerror_s(buffer, sizeof buffer, errorNumber) != 0)
        return "error " + std::to_string(errorNumber);
    return buffer;
#else
    return reasonText(strerror_r(errorNumber, buffer, sizeof buffer), buffer);
#endif
}

} // namespace edt
