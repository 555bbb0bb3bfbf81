// SPDX-License-Identifier: GPL-3.0-or-later
// Code page tables from glibc's iconv: each byte converted alone, to UTF-32.
#include "platform/code_page_table.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <set>
#include <sstream>

namespace edt::os {
namespace {

// iconv's descriptor, closed on destruction.
class Converter {
public:
    explicit Converter(const std::string& from) : cd_(iconv_open("UTF-32LE", from.c_str())) {}
    ~Converter() {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The characters one byte stands for, with the converter's state flushed (some,
    // like CP1258, hold a letter back to join it with an accent that may follow).
    // -1 when the byte is undefined, -2 when it only starts a character.
    int convert(unsigned char byte, char32_t out[4]) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in = static_cast<char>(byte);
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = 4 * sizeof(char32_t);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return errno == EINVAL ? -2 : -1;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return -1;
        return static_cast<int>((4 * sizeof(char32_t) - outLeft) / sizeof(char32_t));
    }

private:
    iconv_t cd_;
};

} // namespace

TableLoad loadCodePageTable(const std::string& name, CodePageTable& out) {
    Converter converter(name);
    if (!converter.ok())
        return TableLoad::Unknown;
    out = {};
    for (int b = 1; b < 256; ++b) {
        char32_t chars[4];
        const int count = converter.convert(static_cast<unsigned char>(b), chars);
        if (count == -2 || count > 1)
            return TableLoad::MultiByte; // not one byte, one character
        if (count == 1) {
            out.unicode[b] = chars[0];
            out.defined.set(b);
        }
    }
    return TableLoad::Loaded;
}

namespace {

// Where glibc keeps its converters: GCONV_PATH, then its own folders.
std::vector<std::filesystem::path> gconvFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* path = std::getenv("GCONV_PATH")) {
        std::istringstream parts(path);
        for (std::string part; std::getline(parts, part, ':');)
            folders.emplace_back(part);
    }
    std::error_code ignored;
    for (const char* lib : {"/usr/lib", "/usr/lib64", "/lib"}) {
        folders.emplace_back(std::string(lib) + "/gconv");
        for (const auto& entry : std::filesystem::directory_iterator(lib, ignored))
            folders.push_back(entry.path() / "gconv");
    }
    return folders;
}

} // namespace

std::vector<std::string> converterCodePages() {
    // glibc lists its converters in gconv-modules files: "module FROM// TO// ...".
    std::set<std::string> names;
    std::vector<std::filesystem::path> files;
    std::error_code ignored;
    for (const auto& folder : gconvFolders()) {
        files.push_back(folder / "gconv-modules");
        for (const auto& entry :
             std::filesystem::directory_iterator(folder / "gconv-modules.d", ignored))
            files.push_back(entry.path());
    }
    for (const auto& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string keyword, from;
            if (words >> keyword >> from && keyword == "module" && from.size() > 2 &&
                from.compare(from.size() - 2, 2, "//") == 0 && from != "INTERNAL")
                names.insert(from.substr(0, from.size() - 2));
        }
    }
    return {names.begin(), names.end()};
}

unsigned systemAnsiCodePage() {
    return 0;
}

} // namespace edt::os
