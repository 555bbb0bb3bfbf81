#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

namespace edt::test {

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
void writeBytes(const std::string& path, const std::string& bytes);

// A test name for a parameter: its letters and digits, then its index.
std::string paramName(const std::string& label, std::size_t index);

// Builds a byte string from a list of byte values.
std::string bytesOf(std::initializer_list<int> values);

} // namespace edt::test
