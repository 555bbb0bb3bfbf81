// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

// Helpers of the translators' round-trip tests, beside the shared ones.
namespace edt::test {

// Runs a shell command, returns its exit status; the output goes to the test log.
int runCommand(const std::string& command);

// One line of a text file, counted from 1 (without its line break).
std::string lineOf(const std::string& content, std::size_t line);

// The texts every round trip carries: line breaks of every sort, quotes, commas,
// backslashes, control codes, Windows-1252 letters and the five bytes it leaves
// undefined. All fit the smallest entry (160 bytes, 78 characters).
const std::vector<std::string>& trickyTexts();

} // namespace edt::test
