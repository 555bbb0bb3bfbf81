#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>

#include "cli/tool.h"

namespace edt::test {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/edt-translate-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    dir_ = pattern;
}

TempDir::~TempDir() {
    std::system(("rm -rf '" + dir_ + "'").c_str());
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

std::uint64_t digest(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char b : bytes)
        hash = (hash ^ b) * 1099511628211ULL;
    return hash;
}

namespace {

std::string drain(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

} // namespace

ToolRun runTool(const std::vector<std::string>& args) {
    std::vector<const char*> argv{"edt-tool"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    run.code = cli::runTool(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = drain(out);
    run.err = drain(err);
    return run;
}

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string lineOf(const std::string& content, std::size_t line) {
    std::size_t start = 0;
    for (std::size_t n = 1; n < line && start != std::string::npos; ++n) {
        start = content.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos)
        return {};
    return content.substr(start, content.find('\n', start) - start);
}

const std::vector<std::string>& trickyTexts() {
    static const std::vector<std::string> texts = {
        "Line one\r\nline two\r\n",
        "lone\rCR and lone\nLF",
        "\nstarts with a line break",
        "He said \"go\", then \"stop\"",
        ",\"",
        "C:\\games\\zelvar\\n is not a line break",
        "caf\xE9 \x80"
        "100 na\xEFve \xDC"
        "ber",
        "\x81\x8D\x8F\x90\x9D",
        "tab\tbell\x07 escape\x1B del\x7F",
        "\nmsgid \"not a message\"\n#~ msgid \"x\"",
        "  spaces around  ",
        "\xFE\xA0\xBF",
        "",
    };
    return texts;
}

} // namespace edt::test
