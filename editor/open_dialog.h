// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace edt {

// The open-file dialog as the Open command uses it (DialogBox), whatever its toolkit:
// six settings, a modal ShowOpen, then the chosen file's full path, bare name and code
// page. Each window's dialog shows these with its widgets; strings are UTF-8.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;

    // With CancelError set, a cancel leaves FileName and FileTitle as they were;
    // without it they become empty. ShowOpen reports the cancel either way.
    virtual void setCancelError(bool on) { cancelError_ = on; }
    virtual void setDialogTitle(const std::string& title) { dialogTitle_ = title; }
    // The platform's open-file flags (design::kPathMustExist ...).
    virtual void setFlags(std::uint32_t flags) { flags_ = flags; }
    // Description and pattern pairs divided by bars: "All Files (*.*)|*.*|...".
    virtual void setFilter(const std::string& filter) { filter_ = filter; }
    // 1 selects the first pair of the filter.
    virtual void setFilterIndex(int index) { filterIndex_ = index; }
    // Added to a chosen name that has no extension.
    virtual void setDefaultExt(const std::string& ext) { defaultExt_ = ext; }

    bool cancelError() const { return cancelError_; }
    const std::string& dialogTitle() const { return dialogTitle_; }
    std::uint32_t flags() const { return flags_; }
    const std::string& filter() const { return filter_; }
    int filterIndex() const { return filterIndex_; }
    const std::string& defaultExt() const { return defaultExt_; }

    // The character-set chooser, as text editors' open dialogs have an encoding box:
    // the code pages offered, and what it shows for a file (the one it would be read
    // with) or, before any file is picked, for none (an empty path).
    using CodePagePreset = std::function<std::string(const std::string& path)>;
    void setCodePages(std::vector<std::string> names, CodePagePreset presetFor) {
        codePages_ = std::move(names);
        presetFor_ = std::move(presetFor);
    }
    const std::vector<std::string>& codePages() const { return codePages_; }
    std::string presetFor(const std::string& path) const {
        return presetFor_ ? presetFor_(path) : std::string();
    }

    // Shows the dialog modally until the user decides. True once a file was chosen;
    // false when the user cancelled.
    virtual bool ShowOpen() = 0;

    // The chosen file's full path, its name without folder, and the code page chosen
    // with it.
    const std::string& FileName() const { return fileName_; }
    const std::string& FileTitle() const { return fileTitle_; }
    const std::string& CodePage() const { return codePage_; }

protected:
    // For implementations: record a confirmed choice, or a cancel.
    void setChosenFile(const std::string& path, const std::string& codePage);
    void setCancelled();

private:
    bool cancelError_ = false;
    std::string dialogTitle_;
    std::uint32_t flags_ = 0;
    std::string filter_;
    int filterIndex_ = 0;
    std::string defaultExt_;
    std::vector<std::string> codePages_;
    CodePagePreset presetFor_;
    std::string fileName_;
    std::string fileTitle_;
    std::string codePage_;
};

} // namespace edt
