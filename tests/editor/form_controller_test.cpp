// SPDX-License-Identifier: GPL-3.0-or-later
// The window's flows through a recording view: what a window is told, in order, over
// one session of opens, selections, edits, writes and finds.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "editor/form_controller.h"
#include "record/file_kind.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using Log = std::vector<std::string>;

// Keeps what a window would show and logs the rest; the temporary folder shows as
// "DIR/".
class RecordingView : public FormView {
public:
    void setText(Part part, const std::u16string& t) override {
        static const char* const parts[] = {"caption ", "version ", "limit ", "",
                                            "",         "",         "note ",  "tooltip "};
        if (part == Part::KeyLabel || part == Part::TextBox)
            (part == Part::KeyLabel ? key : box) = t;
        else // ASCII here, but U+FFFD, which shows as its low byte 0xFD
            add(parts[static_cast<int>(part)] + std::string(t.begin(), t.end()));
    }
    std::u16string text(Part part) const override {
        return part == Part::KeyLabel ? key : part == Part::TextBox ? box : query;
    }
    void setFileNames(const std::string&, const std::string& title) override {
        add("names " + title);
    }
    void listChanged(std::optional<std::size_t> row) override {
        if (!row)
            list.reset();
        add(row ? "row " + std::to_string(*row)
                : "rows " + std::to_string(controller->editor().entries().size()));
    }
    // List1 goes to a row and back to the row shown when the question is cancelled.
    void selectRow(std::size_t row) override {
        add("select " + std::to_string(row));
        list = controller->select(row) ? std::optional(row) : controller->shownRow();
    }
    std::optional<std::size_t> selectedRow() const override { return list; }
    void setCount(int count, const std::string& note) override {
        add("count " + std::to_string(count) + (note.empty() ? "" : " red: " + note));
    }
    void showFind(bool focus) override { add(focus ? "find focused" : "find shown"); }
    void message(Message kind, const std::string& m) override {
        add((kind == Message::Note ? "tell " : "warn ") + m);
    }
    Answer askToWrite(const std::string& m) override {
        add("ask " + m);
        return answer;
    }
    void setWaitCursor(bool on) override { add(on ? "wait" : "cursor"); }
    void setRightToLeft(bool on) override { add(on ? "right to left" : "left to right"); }
    std::string recallCodePage(const std::string& path) const override {
        return kept.count(path) ? kept.at(path) : "";
    }
    void rememberCodePage(const std::string& path, const std::string& name) override {
        kept[path] = name;
        add("kept " + name);
    }
    // DialogBox: answers with the file and code page the test chose, or cancels.
    struct Dialog : OpenDialog {
        bool ShowOpen() override {
            view->add("dialog " + dialogTitle() + " " + presetFor(""));
            choice ? setChosenFile(choice->first, choice->second) : setCancelled();
            return choice.has_value();
        }
        RecordingView* view = nullptr;
        std::optional<std::pair<std::string, std::string>> choice;
    } dialog;
    OpenDialog& openDialog() override { return dialog; }
    void add(std::string line) {
        for (std::size_t at; (at = line.find(dir)) != std::string::npos;)
            line.replace(at, dir.size(), "DIR/");
        log.push_back(line);
    }

    std::string dir;
    FormController* controller = nullptr;
    Log log;
    std::u16string key, box, query;
    std::map<std::string, std::string> kept;
    std::optional<std::size_t> list;
    Answer answer = Answer::Cancel;
};

struct Step {
    const char* name;
    std::function<void(FormController&, RecordingView&)> act;
    Log log; // a line that ends in "*" stands for every line that starts like it
};

TEST(FormController, RunsEveryFlowOfTheWindow) {
    test::TempDir dir;
    RecordingView view;
    FormController controller(view, nullptr, u"\n");
    view.controller = &controller;
    view.dialog.view = &view;
    view.dir = dir.file("");
    const std::string quests = dir.file("quests.edt");
    test::writeBytes(quests, samples::makeImage(kindForFileName("quests.edt"),
                                                {"Zelvar one", "other", "two ZELVAR"}, 0xAB));
    using Answer = FormView::Answer;
    using Act = std::function<void(FormController&, RecordingView&)>;
    const auto find = [](const char16_t* query, bool forward = true) {
        return [=](FormController& c, RecordingView& v) {
            v.query = query;
            c.findNext(forward);
        };
    };
    // A change typed (none: the one there), the question's answer, and a way to leave
    // the entry; then where List1 is.
    const auto leave = [](const char16_t* typed, Answer answer, Act how) {
        return [=](FormController& c, RecordingView& v) {
            v.box = typed ? typed : v.box;
            v.answer = answer;
            how(c, v);
            v.add("list " + (v.list ? std::to_string(*v.list) : "none"));
        };
    };
    const auto click = [](std::size_t row) {
        return [=](FormController& c, RecordingView& v) {
            v.list = c.select(row) ? std::optional(row) : c.shownRow();
        };
    };
    const Act exit = [](FormController& c, RecordingView& v) {
        v.add(c.mayLeave() ? "closed" : "open");
    };
    // Another file: the same one listed again keeps its keys and so the change.
    std::filesystem::create_directory(dir.file("b"));
    std::filesystem::copy_file(quests, dir.file("b/quests.edt"));
    const Act drop = [&](FormController& c, RecordingView&) { c.drop({dir.file("b/quests.edt")}); };
    test::writeBytes(
        dir.file("caf\xE9.edt"),
        samples::makeImage(kindForFileName("caf.edt"), {"\xF9\xEC\xE5\xED 1", "2 Hi \xF9"}));
    // Even root cannot write into a program that runs (Linux: "Text file busy").
    const std::string locked = dir.file("running.edt");
    std::filesystem::create_symlink(std::filesystem::read_symlink("/proc/self/exe"), locked);
    const std::string huge = dir.file("huge.edt");
    test::writeBytes(huge, "");
    std::filesystem::resize_file(huge, (std::uint64_t{1} << 30) + 1); // sparse
    const Step steps[] = {
        {"load",
         [](FormController& c, RecordingView&) { c.load(); },
         {"count 0", "rows 0", "version Oskeln's Zelvar EDT File Editor - Version 1.0.1"}},
        {"open cancelled",
         [](FormController& c, RecordingView&) { c.openFile(); },
         {"dialog Open File ... Windows-1252"}},
        {"open missing",
         [&](FormController& c, RecordingView&) { c.openPath(dir.file("a.edt")); },
         {"names a.edt", "caption Zelvar Email Editor - DIR/a.edt", "wait", "rows 0", "cursor",
          "limit Record Length (Max 235):", "count 0", "caption Zelvar EDT File Editor", "tooltip ",
          "warn Cannot open \"DIR/a.edt\"*"}},
        {"open chosen",
         [&](FormController& c, RecordingView& v) {
             v.dialog.choice = {{quests, "KOI8-R"}};
             c.openFile();
         },
         {"dialog Open File ... Windows-1252", "names quests.edt", "caption *", "wait", "rows 3",
          "cursor", "limit Record Length (Max 75):", "count 0", "kept KOI8-R",
          "tooltip Texts in KOI8-R"}},
        {"drop, in the code page kept",
         [&](FormController& c, RecordingView&) { c.drop({dir.file("./quests.edt")}); },
         {"names quests.edt", "caption Zelvar Email Editor - DIR/quests.edt", "wait", "rows 3",
          "cursor", "limit *", "count 0", "tooltip Texts in KOI8-R"}},
        {"several dropped",
         [&](FormController& c, RecordingView&) {
             c.drop({quests, quests});
         },
         {"warn 2 files were dropped. The editor opens one file at a time: drop only that one."}},
        {"nothing to find", find(u""), {"find focused"}},
        {"found", find(u"zelvar"), {"find shown", "select 0", "count 10", "note "}},
        {"too long for the entry",
         [](FormController& c, RecordingView& v) {
             v.box = std::u16string(79, u'y');
             c.countLength();
             c.write();
         },
         {"count 79 red: Entry 0000001 holds at most 78 characters.",
          "warn The text has 79 characters, but entry 0000001*"}},
        {"edit kept",
         leave(nullptr, Answer::Cancel, find(u"zelvar")),
         {"find shown", "select 2",
          "ask Entry 0000001 holds a change that was not written. Write it before going on, or "
          "discard it?",
          "list 0"}},
        {"edit dropped, round the end",
         leave(nullptr, Answer::Discard, find(u"zelvar", false)),
         {"find shown", "select 2", "ask *", "count 10", "count 10", "note From the bottom again",
          "list 2"}},
        {"written",
         [](FormController& c, RecordingView& v) {
             v.box = u"ok\nok";
             c.write();
         },
         {"row 2"}},
        {"not found", find(u"ok\u2193"), {"find shown", "note Not found"}},
        {"only the one shown", find(u"OK"), {"find shown", "note From the top again"}},
        // Every way to leave a change behind, with each answer.
        {"click, no change", leave(nullptr, Answer::Cancel, click(1)), {"count 5", "list 1"}},
        {"click, Cancel",
         leave(u"draft", Answer::Cancel, click(0)),
         {"ask Entry 0000161*", "list 1"}},
        {"click, Discard",
         leave(nullptr, Answer::Discard, click(0)),
         {"ask *", "count 5", "count 10", "list 0"}},
        {"click, Write",
         leave(u"draft", Answer::Write, click(1)),
         {"ask Entry 0000001*", "row 0", "count 5", "list 1"}},
        {"Ctrl+Down, Write",
         leave(u"x", Answer::Write, [](FormController& c, RecordingView&) { c.step(true); }),
         {"select 2", "ask *", "row 1", "count 6", "list 2"}},
        {"Ctrl+Up, Write refused",
         leave(u"\u0100", Answer::Write, [](FormController& c, RecordingView&) { c.step(false); }),
         {"select 1", "ask *", "warn *", "list 2"}},
        {"deselected, F3 from the top; the change kept",
         leave(u"z", Answer::Cancel,
               [&](FormController& c, RecordingView& v) {
                   v.list.reset();
                   find(u"ok")(c, v);
               }),
         {"find shown", "select 2", "note ", "list 2"}},
        {"close, Cancel", leave(nullptr, Answer::Cancel, exit), {"ask *", "open", "list 2"}},
        {"close, Discard",
         leave(nullptr, Answer::Discard, exit),
         {"ask *", "count 6", "closed", "list 2"}},
        {"close, no change", leave(nullptr, Answer::Cancel, exit), {"closed", "list 2"}},
        {"open, Cancel", leave(u"y", Answer::Cancel, drop), {"ask Entry 0000321*", "list 2"}},
        {"open, Write",
         leave(nullptr, Answer::Write, drop),
         {"ask *", "row 2", "names quests.edt", "caption *", "wait", "rows 3", "cursor", "limit *",
          "count 1", "kept *", "tooltip *", "list none"}},
        {"the key shown stays",
         [](FormController&, RecordingView& v) { v.add(std::string(v.key.begin(), v.key.end())); },
         {"0000321"}},
        {"a change to it, Discard",
         leave(u"typed", Answer::Discard, exit),
         {"ask Entry 0000321*", "count *", "closed", "list none"}},
        // A name that is not UTF-8 (Latin-1's é), read by its bytes; its texts in
        // Hebrew, shown right to left.
        {"a name as the system has it",
         [&](FormController& c, RecordingView&) {
             c.openPath(dir.file("caf\xE9.edt"), &test::codePage("1255"));
         },
         {"names caf\xE9.edt", "caption Zelvar Email Editor - DIR/caf\xFD.edt", "wait", "rows 2",
          "cursor", "limit *", "count *", "kept Windows-1255", "tooltip Texts in Windows-1255"}},
        {"a text that starts right to left", click(0), {"right to left", "count 6"}},
        {"one that starts left to right", click(1), {"left to right", "count 6"}},
        {"a file that cannot be written",
         [&](FormController& c, RecordingView&) { c.openPath(locked); },
         {"names running.edt", "caption *", "wait", "rows *", "cursor", "limit *", "count 6",
          "kept Windows-1252", "caption Zelvar Email Editor - DIR/running.edt (read-only)",
          "tooltip Texts in Windows-1252\nRead-only: nothing can be written into this file (Text "
          "file busy)."}},
        {"a file above 1 GB",
         [&](FormController& c, RecordingView&) { c.openPath(huge); },
         {"names huge.edt", "caption *", "wait", "rows 0", "cursor", "limit *", "count 6",
          "caption Zelvar EDT File Editor", "tooltip ",
          "warn \"DIR/huge.edt\" is 1.1 GB; files above 1 GB are not listed.*"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        view.log.clear();
        step.act(controller, view);
        ASSERT_EQ(view.log.size(), step.log.size()) << testing::PrintToString(view.log);
        for (std::size_t i = 0; i < step.log.size(); ++i) {
            const std::string& e = step.log[i];
            EXPECT_EQ(e.back() == '*' ? view.log[i].substr(0, e.size() - 1) : view.log[i],
                      e.back() == '*' ? e.substr(0, e.size() - 1) : e);
        }
    }
}

} // namespace
} // namespace edt
