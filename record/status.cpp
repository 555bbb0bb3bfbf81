#include "record/status.h"

#include <cstring>

namespace edt {

std::string systemReason(int errorNumber) {
    return std::strerror(errorNumber);
}

} // namespace edt
