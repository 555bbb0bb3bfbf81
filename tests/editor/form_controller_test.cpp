// SPDX-License-Identifier: GPL-3.0-or-later
// The window's flows through a recording view: what each window is told, in order.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

#include "editor/form_controller.h"
#include "record/file_kind.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using Log = std::vector<std::string>;

// Keeps the state a window would and logs every change it is told; the temporary
// folder shows as "DIR".
class RecordingView : public FormView {
public:
    static constexpr const char* kParts[] = {"caption ", "version ", "limit ", "",
                                             "",         "",         "note ",  "tooltip "};
    explicit RecordingView(const std::string& dir) : dir_(dir) {}

    void setText(Part part, const std::u16string& t) override {
        if (part == Part::KeyLabel || part == Part::TextBox)
            (part == Part::KeyLabel ? key : box) = t;
        else // ASCII in these tests
            add(kParts[static_cast<int>(part)] + std::string(t.begin(), t.end()));
    }
    std::u16string text(Part part) const override {
        return part == Part::KeyLabel ? key : part == Part::TextBox ? box : query;
    }
    void setFileNames(const std::string&, const std::string& title) override {
        add("names " + title);
    }
    void listChanged(std::optional<std::size_t> row) override {
        if (!row)
            selected.reset();
        add(row ? "row " + std::to_string(*row)
                : "rows " + std::to_string(controller->editor().entries().size()));
    }
    std::optional<std::size_t> selectedRow() const override { return selected; }
    void selectRow(std::size_t row) override {
        selected = row;
        add("select " + std::to_string(row));
        controller->select(row);
    }
    void setCount(int count, const std::string& note) override {
        add("count " + std::to_string(count) + (note.empty() ? "" : " red: " + note));
    }
    void showFind(bool focus) override { add(focus ? "find focused" : "find shown"); }
    bool message(Message kind, const std::string& m) override {
        add(std::string(kind == Message::Question ? "ask "
                        : kind == Message::Note   ? "tell "
                                                  : "warn ") +
            m);
        return answer;
    }
    void setWaitCursor(bool on) override { add(on ? "wait" : "cursor"); }
    std::string recallCodePage(const std::string& path) const override {
        const auto it = kept.find(path);
        return it == kept.end() ? "" : it->second;
    }
    void rememberCodePage(const std::string& path, const std::string& name) override {
        kept[path] = name;
    }
    std::optional<Choice> chooseFile() override {
        add("dialog preset " + controller->codePageFor(""));
        return choice;
    }

    FormController* controller = nullptr;
    Log log;
    std::u16string key, box, query;
    std::optional<std::size_t> selected;
    std::map<std::string, std::string> kept;
    std::optional<Choice> choice;
    bool answer = false;

private:
    void add(std::string line) {
        for (std::size_t at; (at = line.find(dir_)) != std::string::npos;)
            line.replace(at, dir_.size(), "DIR");
        log.push_back(line);
    }
    std::string dir_;
};

class FormControllerTest : public testing::Test {
public:
    FormControllerTest() { view.controller = &controller; }
    std::string make(const std::string& name, const std::vector<std::string>& texts) {
        const std::string path = dir.file(name);
        test::writeBytes(path, samples::makeImage(kindForFileName(name), texts, 0xAB));
        return path;
    }
    // Opens a file of three entries and clears the log.
    void openThree(const std::string& name, const std::vector<std::string>& texts) {
        controller.openPath(make(name, texts), &test::codePage());
        view.log.clear();
    }

    test::TempDir dir;
    RecordingView view{dir.file("")};
    FormController controller{view, nullptr, u"\n"};
};

// A line that ends in "*" matches every line that starts like it.
void expectLog(const Log& log, const Log& expected) {
    ASSERT_EQ(log.size(), expected.size()) << testing::PrintToString(log);
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string& e = expected[i];
        if (!e.empty() && e.back() == '*')
            EXPECT_EQ(log[i].substr(0, e.size() - 1), e.substr(0, e.size() - 1)) << log[i];
        else
            EXPECT_EQ(log[i], e);
    }
}

TEST_F(FormControllerTest, OpensFromTheDialogTheCommandLineAndADrop) {
    controller.load();
    expectLog(view.log,
              {"count 0", "rows 0", "version Oskeln's Zelvar EDT File Editor - Version 1.0.1"});
    const std::string email = make("email.edt", {"a", "b"});
    const struct {
        const char* name;
        std::function<void(FormControllerTest&)> act;
        Log log;
    } rows[] = {
        {"cancelled",
         [](FormControllerTest& t) { t.controller.openFile(); },
         {"dialog preset Windows-1252"}},
        {"chosen",
         [&](FormControllerTest& t) {
             t.view.choice = FormView::Choice{email, "email.edt", "KOI8-R"};
             t.controller.openFile();
         },
         {"dialog preset Windows-1252", "names email.edt",
          "caption Zelvar Email Editor - DIRemail.edt", "wait", "rows 2", "cursor",
          "limit Record Length (Max 315):", "count 0", "tooltip Texts in KOI8-R"}},
        {"missing",
         [](FormControllerTest& t) { t.controller.openPath(t.dir.file("quests.edt")); },
         {"names quests.edt", "caption *", "wait", "rows 0", "cursor",
          "limit Record Length (Max 75):", "count 0", "warn Cannot open \"DIRquests.edt\"*"}},
        {"code page kept from the dialog",
         [&](FormControllerTest& t) { t.controller.drop({email}); },
         {"names email.edt", "caption *", "wait", "rows 2", "cursor", "limit *", "count 0",
          "tooltip Texts in KOI8-R"}},
        {"several dropped",
         [&](FormControllerTest& t) {
             t.controller.drop({email, email});
         },
         {"warn 2 files were dropped. The editor opens one file at a time: drop only that one."}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        view.log.clear();
        r.act(*this);
        expectLog(view.log, r.log);
    }
    EXPECT_EQ(view.kept[email], "KOI8-R");
}

TEST_F(FormControllerTest, SelectsCountsInRedAndWrites) {
    openThree("quests.edt", {"one", "Hi!", "three"});
    view.selectRow(1);
    EXPECT_EQ(view.key, u"0000161");
    EXPECT_EQ(view.box, u"Hi!");
    view.box = std::u16string(79, u'y');
    controller.countLength();
    controller.write();
    view.box = u"ok\nok";
    controller.countLength();
    controller.write();
    expectLog(view.log,
              {"select 1", "count 3", "count 79 red: Entry 0000161 holds at most 78 characters.",
               "warn The text has 79 characters, but entry 0000161*", "count 6", "row 1"});
    EXPECT_EQ(controller.editor().entries()[1].text, "ok\r\nok");
}

// Find: the field shown, the question before an edit is dropped, the note after it.
TEST_F(FormControllerTest, FindsAndAsksBeforeDroppingAnEdit) {
    const struct {
        const char* name;
        std::u16string query;
        std::optional<std::size_t> from;
        bool edited;
        bool answer;
        bool forward;
        Log log;
    } rows[] = {
        {"nothing to find", u"", std::nullopt, false, false, true, {"find focused"}},
        {"first",
         u"zelvar",
         std::nullopt,
         false,
         false,
         true,
         {"find shown", "select 0", "count 10", "note "}},
        {"round the end",
         u"zelvar",
         2,
         false,
         false,
         true,
         {"find shown", "select 0", "count 10", "note From the top again"}},
        {"back",
         u"zelvar",
         0,
         false,
         false,
         false,
         {"find shown", "select 2", "count 10", "note From the bottom again"}},
        {"only match", u"other", 1, true, false, true, {"find shown", "note From the top again"}},
        {"not found", u"nowhere", 1, true, false, true, {"find shown", "note Not found"}},
        {"edit kept",
         u"zelvar",
         1,
         true,
         false,
         true,
         {"find shown", "ask Entry 0000161 holds a change that was not written.*"}},
        {"edit dropped",
         u"zelvar",
         1,
         true,
         true,
         true,
         {"find shown", "ask *", "select 2", "count 10", "note "}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        openThree("quests.edt", {"Zelvar one", "other", "two ZELVAR"});
        if (r.from)
            view.selectRow(*r.from);
        if (r.edited)
            view.box += u"!";
        view.log.clear();
        view.query = r.query;
        view.answer = r.answer;
        controller.findNext(r.forward);
        expectLog(view.log, r.log);
        EXPECT_EQ(!view.box.empty() && view.box.back() == u'!', r.edited && !r.answer);
    }
}

} // namespace
} // namespace edt
