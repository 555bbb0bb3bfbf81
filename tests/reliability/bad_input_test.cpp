// SPDX-License-Identifier: GPL-3.0-or-later
// Bad inputs given to the core and to edt-tool: a file that is no EDT file or not
// there, bad keys, unstorable and overlong texts. Each is refused with a message
// that says why, and nothing below the test's folder changes (bytes, inode,
// modification time, no file created).
#include <cctype>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "record/code_page.h"
#include "record/escaped_text.h"
#include "record/message.h"
#include "record/reader.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/reliability/test_files.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::TempDir;

struct Outcome {
    StatusCode code;
    std::string says; // part of the message the user sees
};

struct Case {
    std::string path;
    RecordKey key = 1;
    std::string text = "Hi";             // Windows-1252, for the core
    std::optional<std::string> utf8Text; // instead: UTF-8 as a front end gets it
    std::optional<std::string> cliKey;   // default: the key's digits
    std::optional<std::string> cliText;  // default: the text escaped
    std::optional<Outcome> list;         // none: the file lists
    std::optional<Outcome> write;        // none: the core cannot be given this input
    std::string cliSays;                 // default: write.says
    std::string skip;                    // why this machine cannot run the case
};

struct Row {
    const char* name;
    Case (*setup)(const TempDir& dir);
};

std::string sample(const TempDir& dir, const std::string& name, std::uint64_t entries = 4) {
    const FileKind kind = kindForFileName(name);
    const std::string path = dir.file(name);
    test::writeBytes(path, samples::makeImage(kind, samples::sampleTexts(kind, entries)));
    return path;
}

// A file that neither lists nor takes a write.
Case refusedFile(std::string path, const Outcome& outcome) {
    Case c;
    c.path = std::move(path);
    c.list = outcome;
    c.write = outcome;
    return c;
}

// A file that lists, and a write to it that is refused.
Case refusedWrite(std::string path, RecordKey key, std::string text, const Outcome& outcome) {
    Case c;
    c.path = std::move(path);
    c.key = key;
    c.text = std::move(text);
    c.write = outcome;
    return c;
}

// A write only edt-tool can be given (its arguments are text).
Case refusedArgument(std::string path, std::string key, std::string text, std::string says) {
    Case c;
    c.path = std::move(path);
    c.cliKey = std::move(key);
    c.cliText = std::move(text);
    c.cliSays = std::move(says);
    return c;
}

const Outcome kMissing{StatusCode::SystemError, "No such file or directory"};
const Outcome kBadKey{StatusCode::BadKey, "is not the start of an entry"};

const Row kRows[] = {
    {"missing file", [](const TempDir& d) { return refusedFile(d.file("email.edt"), kMissing); }},
    {"missing folder",
     [](const TempDir& d) { return refusedFile(d.file("nowhere/email.edt"), kMissing); }},
    {"empty file, key past its one entry",
     [](const TempDir& d) {
         test::writeBytes(d.file("strings.edt"), "");
         return refusedWrite(d.file("strings.edt"), 481, "Hi", kBadKey);
     }},
    {"tiny file (3 bytes), key inside",
     [](const TempDir& d) {
         test::writeBytes(d.file("strings.edt"), std::string("\x49\x00\x6a", 3));
         return refusedWrite(d.file("strings.edt"), 2, "Hi", kBadKey);
     }},
    {"trailing part shorter than half a record",
     [](const TempDir& d) {
         test::writeBytes(d.file("strings.edt"), std::string(700, 'A'));
         return refusedWrite(d.file("strings.edt"), 481, "Hi", kBadKey);
     }},
    {"huge sparse file (8 GiB)",
     [](const TempDir& d) {
         Case c =
             refusedWrite(d.file("strings.edt"), (std::uint64_t{8} << 30) + 481, "Hi", kBadKey);
         test::writeBytes(c.path, "");
         if (::truncate(c.path.c_str(), std::int64_t{8} << 30) != 0)
             c.skip = "this file system cannot hold an 8 GiB sparse file";
         c.list = Outcome{StatusCode::FileTooLarge, "is 8.6 GB; files above 1 GB are not listed"};
         return c;
     }},
    {"folder",
     [](const TempDir& d) {
         ::mkdir((d.file("email.edt")).c_str(), 0755);
         const Outcome folder{StatusCode::SystemError, "is a folder, not an EDT file"};
         return refusedFile(d.file("email.edt"), folder);
     }},
    {"pipe (FIFO)",
     [](const TempDir& d) {
         ::mkfifo((d.file("email.edt")).c_str(), 0644);
         const Outcome pipe{StatusCode::SystemError, "is a pipe, not an EDT file"};
         return refusedFile(d.file("email.edt"), pipe);
     }},
    {"/dev/null",
     [](const TempDir&) {
         const Outcome device{StatusCode::SystemError, "is a device, not an EDT file"};
         return refusedFile("/dev/null", device);
     }},
    {"device node (like /dev/zero) named email.edt",
     [](const TempDir& d) {
         const Outcome device{StatusCode::SystemError, "is a device, not an EDT file"};
         Case c = refusedFile(d.file("email.edt"), device);
         if (::mknod(c.path.c_str(), S_IFCHR | 0644, makedev(1, 5)) != 0)
             c.skip = "cannot make a device node here (needs root)";
         return c;
     }},
    {"socket",
     [](const TempDir& d) {
         const Outcome socket{StatusCode::SystemError, "is a socket, not an EDT file"};
         Case c = refusedFile(d.file("quests.edt"), socket);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         if (c.path.size() >= sizeof address.sun_path) {
             c.skip = "temporary folder's path too long for a socket";
             return c;
         }
         c.path.copy(address.sun_path, c.path.size());
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         // The socket file stays after its descriptor is closed.
         if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
             c.skip = "cannot bind a socket here";
         ::close(fd);
         return c;
     }},
    {"file name longer than 255 bytes",
     [](const TempDir& d) {
         const Outcome tooLong{StatusCode::SystemError, "File name too long"};
         return refusedFile(d.file(std::string(300, 'e') + ".edt"), tooLong);
     }},
    {"path longer than PATH_MAX",
     [](const TempDir& d) {
         // Folders that exist, each name well inside the limit, together too long.
         std::string path = d.path();
         const std::string folder(200, 'f');
         while (path.size() < PATH_MAX + 100) {
             path += "/" + folder;
             if (path.size() < PATH_MAX)
                 ::mkdir(path.c_str(), 0755);
         }
         const Outcome tooLong{StatusCode::SystemError, "File name too long"};
         return refusedFile(path + "/email.edt", tooLong);
     }},
    {"a file used as a folder",
     [](const TempDir& d) {
         sample(d, "email.edt");
         const Outcome notDir{StatusCode::SystemError, "Not a directory"};
         return refusedFile(d.file("email.edt/email.edt"), notDir);
     }},
    {"dangling symbolic link",
     [](const TempDir& d) {
         ::symlink("gone.edt", (d.file("email.edt")).c_str());
         return refusedFile(d.file("email.edt"), kMissing);
     }},
    {"symbolic link loop",
     [](const TempDir& d) {
         ::symlink("b.edt", (d.file("email.edt")).c_str());
         ::symlink("email.edt", (d.file("b.edt")).c_str());
         const Outcome loop{StatusCode::SystemError, "Too many levels of symbolic links"};
         return refusedFile(d.file("email.edt"), loop);
     }},
    {"key 0",
     [](const TempDir& d) { return refusedWrite(sample(d, "email.edt"), 0, "Hi", kBadKey); }},
    {"key inside an entry",
     [](const TempDir& d) { return refusedWrite(sample(d, "email.edt"), 642, "Hi", kBadKey); }},
    {"key one before a second field",
     [](const TempDir& d) { return refusedWrite(sample(d, "aimbios.edt"), 800, "Hi", kBadKey); }},
    {"key past the end",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "strings.edt", 2), 961, "Hi", kBadKey);
     }},
    {"key 2^64-1",
     [](const TempDir& d) {
         Case c = refusedWrite(sample(d, "strings.edt"), ~RecordKey{0}, "Hi", kBadKey);
         c.cliSays = "is not a key"; // twenty digits: more than a key can have
         return c;
     }},
    {"key not a number (edt-tool)",
     [](const TempDir& d) {
         return refusedArgument(sample(d, "strings.edt"), "-481", "Hi", "is not a key");
     }},
    {"character code 0",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "email.edt"), 1, std::string("a\0b", 3),
                             Outcome{StatusCode::UnstorableCharacter, "U+0000 (character 2"});
     }},
    {"character code 255",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "email.edt"), 1, "caf\xff",
                             Outcome{StatusCode::UnstorableCharacter, "U+00FF) (character 4"});
     }},
    {"character outside Windows-1252 (U+4E2D)",
     [](const TempDir& d) {
         Case c = refusedWrite(sample(d, "email.edt"), 1, "",
                               Outcome{StatusCode::NotInCharacterSet, "(U+4E2D) has no place"});
         c.utf8Text = "\xe4\xb8\xad";
         return c;
     }},
    {"malformed UTF-8",
     [](const TempDir& d) {
         Case c = refusedWrite(sample(d, "email.edt"), 1, "",
                               Outcome{StatusCode::BadUtf8, "not valid UTF-8 (at byte 4)"});
         c.utf8Text = "ok \xc3(";
         return c;
     }},
    {"unknown escape (edt-tool)",
     [](const TempDir& d) {
         return refusedArgument(sample(d, "email.edt"), "1", "a\\qb",
                                "Unknown escape at character 2");
     }},
    {"text one character too long (default kind)",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "strings.edt"), 481, std::string(239, 'x'),
                             Outcome{StatusCode::TextTooLong, "holds at most 238"});
     }},
    {"text too long for a second field",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "mercbios.edt"), 801, std::string(159, 'x'),
                             Outcome{StatusCode::TextTooLong, "holds at most 158"});
     }},
    {"text of 399 characters in an 800-byte entry",
     [](const TempDir& d) {
         return refusedWrite(sample(d, "files.edt"), 1, std::string(399, 'x'),
                             Outcome{StatusCode::TextTooLong, "holds at most 398"});
     }},
};

// Names the case in test output (instead of its bytes).
void PrintTo(const Row& c, std::ostream* out) {
    *out << c.name;
}
struct TranslationRow;
void PrintTo(const TranslationRow& c, std::ostream* out);

class BadInput : public ::testing::TestWithParam<Row> {};

// One row of the table in the closing note, printed when EDT_PRINT_TABLE is set.
void printRow(const char* name, const std::string& list, const std::string& write,
              const std::string& tool) {
    if (std::getenv("EDT_PRINT_TABLE"))
        std::cout << "| " << name << " | " << list << " | " << write << " | " << tool << " |\n";
}

TEST_P(BadInput, IsRefusedAndNothingChanges) {
    TempDir dir;
    const Case c = GetParam().setup(dir);
    if (!c.skip.empty())
        GTEST_SKIP() << c.skip;
    const std::string tree = test::describeTree(dir.path());
    const FileKind kind = kindForPath(c.path);

    // The core, as the window calls it.
    const ReadResult read = readFile(c.path, kind);
    std::string listSays = "lists";
    if (c.list) {
        EXPECT_EQ(read.status.code, c.list->code) << describe(read.status);
        EXPECT_TRUE(test::says(read.status, c.list->says));
        EXPECT_NE(describe(read.status).find(c.path), std::string::npos) << "names the file";
        EXPECT_TRUE(read.entries.empty());
        listSays = describe(read.status);
    } else {
        EXPECT_TRUE(read.status.ok()) << describe(read.status);
    }
    EXPECT_EQ(test::describeTree(dir.path()), tree);

    std::string writeSays = "-";
    if (c.write) {
        std::string text = c.text;
        Status status;
        if (c.utf8Text)
            status = test::codePage().fromUtf8(*c.utf8Text, text);
        if (status.ok())
            status = writeRecord(c.path, kind, c.key, text, test::codePage()).status;
        EXPECT_EQ(status.code, c.write->code) << describe(status);
        EXPECT_TRUE(test::says(status, c.write->says));
        writeSays = describe(status, true);
        EXPECT_TRUE(c.utf8Text || writeSays.find(formatKey(c.key)) != std::string::npos)
            << "names the entry: " << writeSays;
    }
    EXPECT_EQ(test::describeTree(dir.path()), tree);

    // edt-tool.
    const test::ToolRun list = test::runTool({"list", c.path});
    EXPECT_EQ(list.code, c.list ? 1 : 0) << list.err;
    if (c.list) {
        EXPECT_TRUE(test::says(list.err, c.list->says));
    }
    const std::string cliText = c.cliText    ? *c.cliText
                                : c.utf8Text ? *c.utf8Text
                                             : test::escaper().escape(c.text);
    const test::ToolRun write =
        test::runTool({"write", c.path, c.cliKey ? *c.cliKey : std::to_string(c.key), cliText});
    const std::string cliSays = c.cliSays.empty() ? c.write->says : c.cliSays;
    EXPECT_EQ(write.code, 1) << write.out;
    EXPECT_TRUE(test::says(write.err, cliSays));
    EXPECT_TRUE(write.err.find("Nothing was written") != std::string::npos ||
                write.err.find("It was not written") != std::string::npos)
        << write.err;
    EXPECT_TRUE(write.out.empty());
    EXPECT_EQ(test::describeTree(dir.path()), tree);

    std::string tool = write.err;
    if (tool.size() && tool.back() == '\n')
        tool.pop_back();
    printRow(GetParam().name, listSays, writeSays, tool);
}

std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return std::to_string(info.index) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(kRows), rowName);

// Bad translations and exports: each is refused naming its cause (and the entry's key),
// and no file of the folder changes.
struct TranslationRow {
    const char* name;
    std::vector<std::string> (*setup)(const TempDir& dir); // writes the files; the arguments
    const char* says;
};

std::string poOf(const std::string& msgid, const std::string& msgstr) {
    return "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\nmsgctxt "
           "\"0000001\"\nmsgid \"" +
           msgid + "\"\nmsgstr \"" + msgstr + "\"\n";
}

// A file and a translation for it; the arguments of their import.
std::vector<std::string> importOf(const TempDir& d, const std::string& edt,
                                  const std::string& bytes, const std::string& name,
                                  const std::string& translation) {
    test::writeBytes(d.file(edt), bytes);
    test::writeBytes(d.file(name), translation);
    return {"import", d.file(edt), d.file(name)};
}

const TranslationRow kTranslationRows[] = {
    {"CSV cut off midway",
     [](const TempDir& d) {
         const std::string csv =
             test::runTool({"export", sample(d, "email.edt"), "--format=csv"}).out;
         return importOf(d, "email.edt", test::readBytes(d.file("email.edt")), "cut.csv",
                         csv.substr(0, csv.size() / 2 + 1));
     },
     "ends in the middle: its last line has no line break"},
    {"CSV ending inside a quoted field",
     [](const TempDir& d) {
         return importOf(d, "email.edt", "", "cut.csv", "key,text\r\n1,\"two\nlines\r\n");
     },
     "never closed"},
    {"PO ending inside a string",
     [](const TempDir& d) {
         const std::string po = poOf("", "abc");
         return importOf(d, "email.edt", "", "cut.po", po.substr(0, po.size() - 2));
     },
     "ends in the middle"},
    {"PO made for another original",
     [](const TempDir& d) {
         return importOf(d, "email.edt", samples::makeImage(kindForFileName("email.edt"), {"Hi"}),
                         "old.po", poOf("Hello", "Hallo"));
     },
     "no longer holds the original"},
    {"character 255 in a PO (Cyrillic ya)",
     [](const TempDir& d) {
         auto args =
             importOf(d, "email.edt", samples::makeImage(kindForFileName("email.edt"), {"Hi"}),
                      "ru.po", poOf("Hi", "\xD1\x8F"));
         args.insert(args.end(), {"--codepage", "1251"});
         return args;
     },
     "Entry 0000001: The character '\xD1\x8F'"},
    {"CSV not in UTF-8 (Latin-1)",
     [](const TempDir& d) {
         return importOf(d, "email.edt", samples::makeImage(kindForFileName("email.edt"), {"Hi"}),
                         "de.csv", "key,text\r\n1,caf\xE9\r\n");
     },
     "not UTF-8 (line 2"},
    {"a text into an empty file",
     [](const TempDir& d) {
         return importOf(d, "email.edt", "", "de.csv", "key,text\r\n1,Hi\r\n");
     },
     "lies past the end of the file"},
    {"a text longer than the bytes of an entry cut off by the end",
     [](const TempDir& d) {
         return importOf(d, "email.edt", std::string(1040, '\0'), "de.csv",
                         "key,text\r\n641," + std::string(199, 'x') + "\r\n");
     },
     "only 400 of the 640 bytes of entry 0000641"},
    {"export onto an EDT file's name",
     [](const TempDir& d) {
         return std::vector<std::string>{"export",       sample(d, "email.edt"),
                                         "--format=csv", "--force",
                                         "-o",           d.file("quests.edt")};
     },
     "is the name of an EDT file"},
    {"export onto an existing translation",
     [](const TempDir& d) {
         test::writeBytes(d.file("email.po"), poOf("Hi", "Hallo"));
         return std::vector<std::string>{"export", sample(d, "email.edt"), "-o",
                                         d.file("email.po")};
     },
     "exists; give --force"},
    {"a translation that does not exist",
     [](const TempDir& d) {
         return std::vector<std::string>{"import", sample(d, "email.edt"), d.file("none.po")};
     },
     "No such file or directory"},
    {"empty code page name",
     [](const TempDir& d) {
         return std::vector<std::string>{"--codepage", "", "list", sample(d, "email.edt")};
     },
     "An empty name names no code page"},
    {"code page 65001 (UTF-8)",
     [](const TempDir& d) {
         return std::vector<std::string>{"--codepage", "65001", "list", sample(d, "email.edt")};
     },
     "several bytes per character"},
};

void PrintTo(const TranslationRow& c, std::ostream* out) {
    *out << c.name;
}

class BadTranslation : public ::testing::TestWithParam<TranslationRow> {};

TEST_P(BadTranslation, IsRefusedNamingItsCauseAndNoFileChanges) {
    TempDir dir;
    const std::vector<std::string> args = GetParam().setup(dir);
    const std::string tree = test::describeTree(dir.path());
    const test::ToolRun run = test::runTool(args);
    EXPECT_NE(run.code, 0);
    EXPECT_TRUE(test::says(run.err, GetParam().says));
    EXPECT_EQ(test::describeTree(dir.path()), tree);
}

INSTANTIATE_TEST_SUITE_P(Table, BadTranslation, ::testing::ValuesIn(kTranslationRows),
                         [](const auto& info) {
                             std::string name = std::to_string(info.index) + "_";
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

} // namespace
} // namespace edt
