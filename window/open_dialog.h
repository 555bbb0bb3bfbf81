// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

namespace edt {

// The open-file dialog as the Open command uses it (DialogBox): six settings, a modal
// ShowOpen, then the chosen file's full path and bare name. Form1 talks only to this
// interface, so tests can put a scripted dialog in its place.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;

    // With CancelError set, a cancel leaves FileName and FileTitle as they were;
    // without it they become empty. ShowOpen reports the cancel either way.
    virtual void setCancelError(bool on) { cancelError_ = on; }
    virtual void setDialogTitle(const QString& title) { dialogTitle_ = title; }
    // The platform's open-file flags (design::kPathMustExist ...).
    virtual void setFlags(quint32 flags) { flags_ = flags; }
    // Description and pattern pairs divided by bars: "All Files (*.*)|*.*|...".
    virtual void setFilter(const QString& filter) { filter_ = filter; }
    // 1 selects the first pair of the filter.
    virtual void setFilterIndex(int index) { filterIndex_ = index; }
    // Added to a chosen name that has no extension.
    virtual void setDefaultExt(const QString& ext) { defaultExt_ = ext; }

    bool cancelError() const { return cancelError_; }
    const QString& dialogTitle() const { return dialogTitle_; }
    quint32 flags() const { return flags_; }
    const QString& filter() const { return filter_; }
    int filterIndex() const { return filterIndex_; }
    const QString& defaultExt() const { return defaultExt_; }

    // Shows the dialog modally over `parent` until the user decides. True once a file
    // was chosen; false when the user cancelled.
    virtual bool ShowOpen(QWidget* parent) = 0;

    // The chosen file's full path, and its name without folder.
    const QString& FileName() const { return fileName_; }
    const QString& FileTitle() const { return fileTitle_; }

protected:
    // For implementations: record a confirmed choice, or a cancel.
    void setChosenFile(const QString& path);
    void setCancelled();

private:
    bool cancelError_ = false;
    QString dialogTitle_;
    quint32 flags_ = 0;
    QString filter_;
    int filterIndex_ = 0;
    QString defaultExt_;
    QString fileName_;
    QString fileTitle_;
};

} // namespace edt
