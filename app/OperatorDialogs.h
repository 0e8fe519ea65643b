#pragma once

#include <optional>
#include <string>

namespace gasmixer {

// What a file-save dialog is opened with.
struct SaveDialogSettings {
    std::string Filter;      // "Description (*.ext);;Other (*.x)"
    std::string DefaultExt;  // without the dot
    std::string FileName;    // proposed name
    std::string InitialDir;
};

// The modal boxes the window shows the operator. Tests substitute recorders
// with scripted answers so that nothing ever blocks.
class OperatorDialogs {
public:
    virtual ~OperatorDialogs() = default;
    virtual void Information(const std::string& text) = 0;
    // Yes/No with a question icon; true for Yes.
    virtual bool Question(const std::string& text, const std::string& title) = 0;
    virtual void Error(const std::string& text) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> SaveFile(const SaveDialogSettings& settings) = 0;
    // The chosen existing file, or nothing when cancelled. Boxes without a
    // file dialog open nothing.
    virtual std::optional<std::string> OpenFile(const SaveDialogSettings&) { return std::nullopt; }
};

}  // namespace gasmixer
