// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "editor/edit_text.h"
#include "qt_print.h"
#include "record/message.h"
#include "record/shown_text.h"
#include "tests/support/test_support.h"

namespace edt {
namespace {

// The text box changes line breaks on the way in (CR LF, CR and LF all become one
// paragraph break) and toPlainText would turn a no-break space into a blank: every
// text must still come back byte for byte and count its true characters.
class EditRoundTrip : public testing::TestWithParam<std::string> {};

// The text as the box gives it back, and its count.
std::pair<std::string, int> throughTheBox(QPlainTextEdit& box) {
    const std::u16string raw = box.document()->toRawText().toStdU16String();
    std::string bytes;
    const Status status = storedFromUtf16(raw, test::codePage(), bytes);
    EXPECT_TRUE(status.ok()) << describe(status);
    return {bytes, editTextLength(raw)};
}

TEST_P(EditRoundTrip, ThroughARealTextBoxKeepsEveryByte) {
    const std::string& text = GetParam();
    QPlainTextEdit box;
    box.setPlainText(QString::fromStdU16String(shownUtf16(text, test::codePage(), u"\n")));
    EXPECT_EQ(throughTheBox(box), std::pair(text, static_cast<int>(text.size())));
}

std::vector<std::string> roundTripTexts() {
    std::vector<std::string> texts = {"",
                                      "Hi!",
                                      "a\r\nb",
                                      "a\rb",
                                      "a\nb",
                                      "\r",
                                      "\n",
                                      "\r\n",
                                      "\r\r\n",
                                      "\n\r",
                                      "\r\n\r\n",
                                      "end\r",
                                      "\n\nstart",
                                      "no\xA0"
                                      "break",
                                      "tab\there",
                                      "soft\xADhyphen",
                                      "\x80\x81\x8D\x8F\x90\x9D\x9F",
                                      "  two leading blanks",
                                      "\x01\x02\x0B\x0C\x1F\x7F control codes"};
    std::string all;
    for (int c = 1; c <= 255; ++c)
        all += static_cast<char>(c);
    texts.push_back(all);
    return texts;
}

INSTANTIATE_TEST_SUITE_P(Texts, EditRoundTrip, testing::ValuesIn(roundTripTexts()));

TEST(EditText, TypedLineBreaksAreCrLfAndCountTwo) {
    QPlainTextEdit box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("c"));
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier); // a line separator
    QTest::keyClicks(&box, QStringLiteral("d"));
    EXPECT_EQ(throughTheBox(box), std::pair(std::string("ab\r\nc\r\nd"), 8));
}

} // namespace
} // namespace edt
