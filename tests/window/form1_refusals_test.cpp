#include <QFile>
#include <QTest>
#include <unistd.h>

#include "form1_fixture.h"

namespace edt::test {
namespace {

// Every refusal: a message saying why, nothing written, the text kept in EditWindow
// and the list line as it was.
class Refusals : public Form1Test {
protected:
    void openAndSelect(const QString& name, int index) {
        path = makeFile(name, {"first", "Hi!", "third"});
        before = bytesOf(path);
        open(path);
        clickRow(index);
        rowBefore = row(index);
    }
    void expectRefused(const QString& words, int index, const QString& kept) {
        ASSERT_EQ(reports.size(), 1);
        EXPECT_TRUE(reports[0].contains(words)) << reports[0].toStdString();
        EXPECT_EQ(edit->toPlainText(), kept);
        if (!path.isEmpty() && QFile::exists(path)) {
            EXPECT_EQ(bytesOf(path), before);
        }
        if (index >= 0) {
            EXPECT_EQ(row(index), rowBefore);
        }
    }

    QString path;
    QByteArray before;
    QString rowBefore;
};

TEST_F(Refusals, WriteWithNoFileOpen) {
    typeText(QStringLiteral("orphan"));
    clickWriteRecord();
    expectRefused(QStringLiteral("No file is open"), -1, QStringLiteral("orphan"));
}

TEST_F(Refusals, WriteWithNoLineSelected) {
    path = makeFile(QStringLiteral("email.edt"), {"first", "Hi!"});
    before = bytesOf(path);
    open(path);
    typeText(QStringLiteral("where to?"));
    clickWriteRecord();
    expectRefused(QStringLiteral("No line is selected"), -1, QStringLiteral("where to?"));
}

TEST_F(Refusals, WriteAfterTheOpenOfAFileThatCannotBeRead) {
    openAndSelect(QStringLiteral("email.edt"), 1);
    open(dir.filePath(QStringLiteral("gone.edt")));
    reports.clear();
    clickWriteRecord();
    expectRefused(QStringLiteral("could not be read"), -1, QStringLiteral("Hi!"));
}

TEST_F(Refusals, ATextTooLongForItsEntrySaysTheLimit) {
    openAndSelect(QStringLiteral("quests.edt"), 1); // 160-byte entries: 78 characters
    const QString tooLong(79, QLatin1Char('y'));
    typeText(tooLong);
    EXPECT_EQ(stringLen->text(), QStringLiteral("79"));
    clickWriteRecord();
    expectRefused(QStringLiteral("at most 78"), 1, tooLong);

    // At the limit it fits.
    reports.clear();
    typeText(QString(78, QLatin1Char('y')));
    clickWriteRecord();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(bytesOf(path).mid(160, 160), storedForm(std::string(78, 'y')));
}

TEST_F(Refusals, ACharacterWindows1252LacksIsNamed) {
    openAndSelect(QStringLiteral("email.edt"), 1);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("\u03A9"),
                        Qt::NoModifier);
    EXPECT_EQ(stringLen->text(), QStringLiteral("4"));
    clickWriteRecord();
    expectRefused(QStringLiteral("U+03A9"), 1, QString::fromUtf8("Hi!\u03A9"));
}

TEST_F(Refusals, ACharacterWithNoStoredFormIsNamed) {
    openAndSelect(QStringLiteral("email.edt"), 1);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_ydiaeresis, QString::fromUtf8("\u00FF"),
                        Qt::NoModifier);
    clickWriteRecord();
    expectRefused(QStringLiteral("cannot be stored"), 1, QString::fromUtf8("Hi!\u00FF"));
}

TEST_F(Refusals, AFileRemovedSinceItWasListed) {
    openAndSelect(QStringLiteral("email.edt"), 1);
    ASSERT_TRUE(QFile::remove(path));
    typeText(QStringLiteral("lost?"));
    clickWriteRecord();
    expectRefused(QStringLiteral("Open it again"), 1, QStringLiteral("lost?"));
    EXPECT_FALSE(QFile::exists(path)); // never created anew
}

TEST_F(Refusals, AFileChangedByAnotherProgram) {
    openAndSelect(QStringLiteral("email.edt"), 1);
    // Another program stores a text into the first entry meanwhile.
    QFile other(path);
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    const QByteArray theirs = storedForm("theirs");
    other.write(theirs);
    other.close();
    before.replace(0, theirs.size(), theirs);
    QFile touched(path);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                    QFileDevice::FileModificationTime));
    touched.close();

    typeText(QStringLiteral("mine"));
    clickWriteRecord();
    expectRefused(QStringLiteral("changed by another program"), 1, QStringLiteral("mine"));
}

TEST_F(Refusals, AFileThatMayNotBeWritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    openAndSelect(QStringLiteral("email.edt"), 1);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    typeText(QStringLiteral("denied"));
    clickWriteRecord();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    expectRefused(QStringLiteral("Permission denied"), 1, QStringLiteral("denied"));
}

} // namespace
} // namespace edt::test
