#pragma once

#include "uncertainty/UncertaintyBudget.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace gasmixer {

// Under the plan memo: "Expected: ... (k = 2)" for the plan on show, and
// "Budget..." opening its budget table beside the window.
class TPlanUncertaintyBar final : public QWidget {
public:
    explicit TPlanUncertaintyBar(QWidget* parent = nullptr);

    // Nothing: no plan, no line, no budget.
    void Show(const std::optional<TMixtureUncertainty>& uncertainty);
    const std::optional<TMixtureUncertainty>& Shown() const { return shown_; }

    void OpenBudget();
    // The open budget window, if any.
    QDialog* BudgetWindow() const { return budget_; }

    QLabel* LabelExpected = nullptr;
    QPushButton* ButtonBudget = nullptr;

private:
    void FillBudget();

    std::optional<TMixtureUncertainty> shown_;
    QPointer<QDialog> budget_;
    QTableWidget* budgetTable_ = nullptr;
};

}  // namespace gasmixer
