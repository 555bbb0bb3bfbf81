// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor's command line, as both windows' entries read it.
#include <gtest/gtest.h>

#include "editor/start_options.h"

namespace edt {
namespace {

using Action = StartOptions::Action;

TEST(StartOptions, TakesOneFileACodePageAndNoBackupElseTellsTheUsage) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        const char* file;     // none when null
        const char* codePage; // name of the code page, none when null
        bool noBackup;
    };
    for (const Case& c : std::vector<Case>{
             {{"--codepage", "1251", "--no-backup", "a.edt"},
              Action::Run,
              "a.edt",
              "Windows-1251",
              true},
             {{"sub/civ", "--codepage=koi8-r"}, Action::Run, "sub/civ", "KOI8-R", false},
             {{"--", "-x.edt"}, Action::Run, "-x.edt", nullptr, false},
             {{"-"}, Action::Run, "-", nullptr, false},
             {{"a.edt", "b.edt"}, Action::WrongUse, nullptr, nullptr, false},
             {{"--backup"}, Action::WrongUse, nullptr, nullptr, false},
             {{"a.edt", "--codepage"}, Action::WrongUse, nullptr, nullptr, false},
             {{"--codepage=nonsense"}, Action::WrongUse, nullptr, nullptr, false},
             {{"x", "--help", "--bad"}, Action::Help, nullptr, nullptr, false},
         }) {
        std::vector<std::string> args{"edt-editor"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const StartOptions options = parseStartOptions(args);
        const std::string shown = testing::PrintToString(c.args);
        EXPECT_EQ(options.action, c.action) << shown;
        EXPECT_EQ(options.file.value_or("(none)"), c.file ? c.file : "(none)") << shown;
        EXPECT_EQ(options.codePage ? options.codePage->name() : "(none)",
                  c.codePage ? c.codePage : "(none)")
            << shown;
        EXPECT_EQ(options.noBackup, c.noBackup) << shown;
        EXPECT_EQ(options.message.empty(), c.action == Action::Run) << shown;
    }
    EXPECT_NE(parseStartOptions({"edt-editor", "--codepage", "nonsense"}).message.find("nonsense"),
              std::string::npos);
}

} // namespace
} // namespace edt
