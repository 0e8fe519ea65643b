#pragma once

#include "app/OperatorDialogs.h"

#include <ostream>

namespace gasmixer {

// The window's boxes with nobody to answer them: each is a line on the error
// stream, every question is answered No and no file is ever chosen.
class StderrDialogs final : public OperatorDialogs {
public:
    explicit StderrDialogs(std::ostream& err) : err_(err) {}

    void Information(const std::string& text) override { err_ << "gasmixer-run: " << text << std::endl; }
    bool Question(const std::string& text, const std::string& title) override
    {
        err_ << "gasmixer-run: " << title << ": " << text << " No" << std::endl;
        return false;
    }
    void Error(const std::string& text) override { err_ << "gasmixer-run: error: " << text << std::endl; }
    std::optional<std::string> SaveFile(const SaveDialogSettings&) override { return std::nullopt; }

private:
    std::ostream& err_;
};

}  // namespace gasmixer
