// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/open_dialog.h"
#include "qt_print.h"
#include "window/form1.h"

namespace edt::test {

// An open-file dialog that answers from a script: a path to choose, or nothing for a
// cancel. It records which settings were made, in order.
class ScriptedOpenDialog : public OpenDialog {
public:
    std::deque<std::optional<QString>> answers;
    std::string codePage; // chosen in the character-set box; empty: as preset
    QStringList settings;
    int shown = 0;

    void setCancelError(bool on) override;
    void setDialogTitle(const std::string& title) override;
    void setFlags(std::uint32_t flags) override;
    void setFilter(const std::string& filter) override;
    void setFilterIndex(int index) override;
    void setDefaultExt(const std::string& ext) override;
    bool ShowOpen() override;
};

// A shown Form1 with a scripted dialog, its reports collected, and files made in a
// temporary folder.
class Form1Test : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file of the kind its name gives, one entry per text (Windows-1252),
    // every byte behind the terminators set to `filler`.
    QString makeFile(const QString& name, const std::vector<std::string>& texts,
                     unsigned char filler = 0xAB);
    static QByteArray bytesOf(const QString& path);

    // File > Open through the menu, the dialog answering `path` (or cancelling).
    void open(const std::optional<QString>& path);
    // A click on a row of List1, as a user makes it.
    void clickRow(int row);
    // Replaces EditWindow's text by typing, as a user does.
    void typeText(const QString& text);
    void clickWriteRecord();

    QString row(int index) const;
    int rowCount() const;

    std::unique_ptr<Form1> form;
    ScriptedOpenDialog* dialog = nullptr;
    QStringList reports;
    QTemporaryDir dir;

    QListView* list = nullptr;
    QPlainTextEdit* edit = nullptr;
    QLabel* recordLabel = nullptr;
    QLabel* stringLen = nullptr;
    QLabel* recLabel = nullptr;
    QLabel* versionInfo = nullptr;
    QLabel* label1 = nullptr;
    QPushButton* writeButton = nullptr;
};

// The bytes a text (Windows-1252) is stored as: two per character, raised by one from
// 33 up, then four zero bytes.
QByteArray storedForm(const std::string& text);

} // namespace edt::test
