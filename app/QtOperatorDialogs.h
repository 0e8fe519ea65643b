#pragma once

#include "app/OperatorDialogs.h"

#include <QPointer>
#include <QWidget>

namespace gasmixer {

// The operator dialogs as Qt message boxes and file dialog.
class QtOperatorDialogs final : public OperatorDialogs {
public:
    // Boxes are centred on the parent once it is set.
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Information(const std::string& text) override;
    bool Question(const std::string& text, const std::string& title) override;
    void Error(const std::string& text) override;
    std::optional<std::string> SaveFile(const SaveDialogSettings& settings) override;
    std::optional<std::string> OpenFile(const SaveDialogSettings& settings) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace gasmixer
