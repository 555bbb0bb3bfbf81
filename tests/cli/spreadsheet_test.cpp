// SPDX-License-Identifier: GPL-3.0-or-later
// Translations through a spreadsheet as translators use one: LibreOffice Calc (Debian:
// libreoffice-calc-nogui, python3-uno) opens the export, types into it and saves it.
#include <gtest/gtest.h>

#include "record/reader.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

// What translators type that a spreadsheet reads as a date, a number, a percentage or a
// formula unless the cell is Text.
const std::vector<std::string> kTyped = {"1.10", "12.03", "007", "10%", "0,0", "=A1"};

class Spreadsheet : public testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.file("email.edt");
        const FileKind kind = kindForFileName("email.edt");
        std::vector<std::string> texts = samples::sampleTexts(kind, 20);
        texts.insert(texts.end(), test::trickyTexts().begin(), test::trickyTexts().end());
        test::writeBytes(file_, samples::makeImage(kind, texts, 0xC3));
        original_ = test::readBytes(file_);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    // Opened by Calc (`options`: how) and saved into `folder` as `filter` has it.
    std::string throughCalc(const std::string& file, const std::string& filter,
                            const std::string& folder, const std::string& options = {}) {
        EXPECT_EQ(test::runCommand("soffice --headless -env:UserInstallation=file://" +
                                   path("profile") + " " + options + " --convert-to '" + filter +
                                   "' --outdir " + path(folder) + " " + file + " >>" +
                                   path("calc.log") + " 2>&1"),
                  0)
            << calcLog();
        return path(folder) + file.substr(file.rfind('/'), file.rfind('.') - file.rfind('/')) +
               "." + filter.substr(0, filter.find(':'));
    }
    std::string calcLog() { return "Calc said: " + test::readBytes(path("calc.log")); }
    // Types kTyped into the text column's first rows in Calc, as keys would
    // (calc_type.py); --general first takes the Text format away.
    int type(const std::string& from, const std::string& to, const std::string& options = {}) {
        std::string values;
        for (const std::string& value : kTyped)
            values += " '" + value + "'";
        return test::runCommand("/usr/bin/python3 " EDT_SOURCE_DIR "/tests/cli/calc_type.py " +
                                options + " " + path("profile") + " " + from + " " + to + values +
                                " >>" + path("calc.log") + " 2>&1");
    }
    std::vector<std::string> firstTexts() {
        std::vector<std::string> texts;
        for (const EntryLine& entry : readFile(file_, kindForPath(file_)).entries)
            if (texts.size() < kTyped.size())
                texts.push_back(entry.text);
        return texts;
    }

    test::TempDir dir_;
    std::string file_, original_;
};

TEST_F(Spreadsheet, XlsxThroughCalcKeepsWhatIsTypedWhereCsvDoesNot) {
    ASSERT_EQ(test::runTool({"export", file_, "-o", path("texts.xlsx")}).code, 0);
    const std::string saved = throughCalc(path("texts.xlsx"), "xlsx", "calc");
    test::ToolRun run = test::runTool({"import", file_, saved});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(test::says(run.out, " 0 changed, ")) << run.out;
    EXPECT_EQ(test::fileDigest(file_), test::digest(original_));

    // Typed into cells not typed Text, the values become numbers and a formula: refused.
    ASSERT_EQ(type(saved, path("general.xlsx"), "--general"), 0) << calcLog();
    run = test::runTool({"import", file_, path("general.xlsx")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(test::says(run.err, "row 2: Entry 0000001: D2 holds the number 1.1, not text"))
        << run.err;
    EXPECT_TRUE(test::says(run.err, "D7 holds the formula =A1, not text")) << run.err;
    EXPECT_EQ(test::fileDigest(file_), test::digest(original_));

    ASSERT_EQ(type(saved, path("typed.xlsx")), 0) << calcLog();
    run = test::runTool({"import", file_, path("typed.xlsx")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(firstTexts(), kTyped);

    // The same sheet as a CSV (which keeps the texts as typed), opened by Calc with its
    // defaults for Polish and saved as CSV UTF-8 with semicolons: what the README warns of.
    test::writeBytes(file_, original_);
    const std::string csv =
        throughCalc(path("typed.xlsx"), "csv:Text - txt - csv (StarCalc):44,34,76", "csv");
    run = test::runTool({"import", file_,
                         throughCalc(csv, "csv:Text - txt - csv (StarCalc):59,34,76,1,,1045",
                                     "calc", "--infilter=CSV:44,34,76,1,,1045,false,true")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(test::says(run.out, " 6 changed, ")) << run.out;
    const std::vector<std::string> texts = firstTexts();
    for (std::size_t i = 0; i < kTyped.size(); ++i)
        std::printf("CSV through Calc: %s -> %s\n", kTyped[i].c_str(), texts[i].c_str());
    EXPECT_NE(texts, kTyped);
}

} // namespace
} // namespace edt
