// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "record/message.h"

namespace edt::test {

// Whether a message (or a program's output) holds `words`; a failure shows it whole.
inline testing::AssertionResult says(const std::string& said, const std::string& words) {
    if (said.find(words) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\"" << said << "\" does not say \"" << words << "\"";
}

// The same of what `status` says (describe).
inline testing::AssertionResult says(const Status& status, const std::string& words) {
    return says(describe(status), words);
}

} // namespace edt::test
