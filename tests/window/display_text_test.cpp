#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "qt_print.h"
#include "window/display_text.h"

namespace edt {
namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(RowText, KeyInBracketsBlankThenText) {
    EXPECT_EQ(rowText({641, "Hi!"}), u("[0000641] Hi!"));
    EXPECT_EQ(rowText({641, ""}), u("[0000641] "));
    EXPECT_EQ(rowText({641, ""}).size(), 10);
    EXPECT_EQ(rowText({1, "  two blanks"}), u("[0000001]   two blanks"));
    EXPECT_EQ(rowText({15999841, "x"}), u("[15999841] x"));
}

TEST(RowText, ShowsWindows1252AndMarksLineBreaks) {
    EXPECT_EQ(rowText({1, "\x80 caf\xE9 \xA0."}), u("[0000001] € café \u00A0."));
    EXPECT_EQ(rowText({1, "a\r\nb"}), u("[0000001] a\u21B5b"));
    EXPECT_EQ(rowText({1, "a\rb\nc"}), u("[0000001] a\u2190b\u2193c"));
    EXPECT_EQ(rowText({1, "\n\r"}), u("[0000001] \u2193\u2190"));
    EXPECT_FALSE(rowText({1, "one\r\ntwo"}).contains(QLatin1Char('\n')));
}

// The text box changes line breaks on the way in (CR LF, CR and LF all become one
// paragraph break) and toPlainText would turn a no-break space into a blank: every
// text must still come back byte for byte and count its true characters.
class EditRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(EditRoundTrip, ThroughARealTextBoxKeepsEveryByte) {
    const std::string& text = GetParam();
    QPlainTextEdit box;
    box.setPlainText(toEditText(text));
    const QString raw = box.document()->toRawText();
    const EditTextBytes back = fromEditText(raw);
    ASSERT_TRUE(back.ok) << back.error.toStdString();
    EXPECT_EQ(back.bytes, text);
    EXPECT_EQ(editTextLength(raw), static_cast<int>(text.size()));
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

TEST(EditText, EveryByteAloneRoundTrips) {
    QPlainTextEdit box;
    for (int c = 1; c <= 255; ++c) {
        const std::string text(1, static_cast<char>(c));
        box.setPlainText(toEditText(text));
        const EditTextBytes back = fromEditText(box.document()->toRawText());
        ASSERT_TRUE(back.ok) << "byte " << c;
        EXPECT_EQ(back.bytes, text) << "byte " << c;
    }
}

TEST(EditText, TypedLineBreaksAreCrLfAndCountTwo) {
    QPlainTextEdit box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("c"));
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier); // a line separator
    QTest::keyClicks(&box, QStringLiteral("d"));
    const QString raw = box.document()->toRawText();
    EXPECT_EQ(editTextLength(raw), 8);
    const EditTextBytes back = fromEditText(raw);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, "ab\r\nc\r\nd");
}

TEST(EditText, MarksTypedByTheUserStandForLoneBreaks) {
    const EditTextBytes back = fromEditText(u("x\u2190y\u2193z"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, "x\ry\nz");
}

TEST(EditText, RefusesCharactersWindows1252Lacks) {
    const EditTextBytes omega = fromEditText(u("Greek \u03A9 here"));
    EXPECT_FALSE(omega.ok);
    EXPECT_TRUE(omega.bytes.empty());
    EXPECT_TRUE(omega.error.contains(QStringLiteral("U+03A9"))) << omega.error.toStdString();
    EXPECT_TRUE(omega.error.contains(QStringLiteral("Windows-1252")));

    const EditTextBytes emoji = fromEditText(u("\U0001F600"));
    EXPECT_FALSE(emoji.ok);
    EXPECT_TRUE(emoji.error.contains(QStringLiteral("U+1F600"))) << emoji.error.toStdString();
}

TEST(EditText, CountsEveryCharacterOnceButLineBreaksTwice) {
    EXPECT_EQ(editTextLength(QString()), 0);
    EXPECT_EQ(editTextLength(u("Hi!")), 3);
    EXPECT_EQ(editTextLength(u("one\u2029two")), 8);
    EXPECT_EQ(editTextLength(u("\u2190\u2193")), 2);
    EXPECT_EQ(editTextLength(u("\U0001F600")), 1);
    EXPECT_EQ(editTextLength(u("\u03A9")), 1);
}

} // namespace
} // namespace edt
