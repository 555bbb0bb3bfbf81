#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace edt::test {

// A fresh folder under the system's temporary folder, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// FNV-1a: enough to tell a file changed by even one byte.
std::uint64_t digest(const std::string& bytes);
inline std::uint64_t fileDigest(const std::string& path) {
    return digest(readBytes(path));
}

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs edt-tool in-process with these arguments (without the program name).
ToolRun runTool(const std::vector<std::string>& args);

// Runs a shell command, returns its exit status; the output goes to the test log.
int runCommand(const std::string& command);

// One line of a text file, counted from 1 (without its line break).
std::string lineOf(const std::string& content, std::size_t line);

// The texts every round trip carries: line breaks of every sort, quotes, commas,
// backslashes, control codes, Windows-1252 letters and the five bytes it leaves
// undefined. All fit the smallest entry (160 bytes, 78 characters).
const std::vector<std::string>& trickyTexts();

} // namespace edt::test
