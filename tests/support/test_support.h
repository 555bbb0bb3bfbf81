// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace edt::test {

// Helpers shared by the test programs: scratch folders, whole-file I/O and hashes.

// A fresh folder under the system's temp folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);

// A test name for a parameter: its letters and digits, then its index.
std::string paramName(const std::string& label, std::size_t index);

// Builds a byte string from a list of byte values.
std::string bytesOf(std::initializer_list<int> values);

// FNV-1a: enough to tell a file changed by even one byte.
std::uint64_t digest(const std::string& bytes);
inline std::uint64_t fileDigest(const std::string& path) {
    return digest(readBytes(path));
}

} // namespace edt::test
