#include "app/PlanUncertaintyBar.h"

#include "uncertainty/BudgetTable.h"
#include "uncertainty/MixtureUncertainty.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace gasmixer {

TPlanUncertaintyBar::TPlanUncertaintyBar(QWidget* parent) : QWidget(parent)
{
    LabelExpected = new QLabel(this);
    LabelExpected->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ButtonBudget = new QPushButton(QStringLiteral("Budget..."), this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(LabelExpected, 1);
    row->addWidget(ButtonBudget);
    connect(ButtonBudget, &QPushButton::clicked, this, [this] { OpenBudget(); });
    Show(std::nullopt);
}

void TPlanUncertaintyBar::Show(const std::optional<TMixtureUncertainty>& uncertainty)
{
    shown_ = uncertainty;
    LabelExpected->setText(shown_ ? QString::fromStdString(ExpectedLine(*shown_)) : QString());
    ButtonBudget->setEnabled(shown_.has_value());
    if (budget_) FillBudget();
}

// Not modal: the operator keeps working with the budget open, and it follows
// the plan on show.
void TPlanUncertaintyBar::OpenBudget()
{
    if (!budget_) {
        budget_ = new QDialog(window());
        budget_->setAttribute(Qt::WA_DeleteOnClose);
        budget_->setWindowTitle(QStringLiteral("Uncertainty budget"));
        budgetTable_ = new QTableWidget(budget_);
        budgetTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        budgetTable_->verticalHeader()->setVisible(false);
        auto* layout = new QVBoxLayout(budget_);
        layout->addWidget(budgetTable_);
        budget_->resize(900, 420);
    }
    FillBudget();
    budget_->show();
    budget_->raise();
}

void TPlanUncertaintyBar::FillBudget()
{
    budgetTable_->clear();
    if (!shown_) {
        budgetTable_->setRowCount(0);
        return;
    }
    const auto rows = BudgetTable(*shown_);
    const auto& header = rows.front();
    budgetTable_->setColumnCount(static_cast<int>(header.size()));
    budgetTable_->setRowCount(static_cast<int>(rows.size()) - 1);
    for (std::size_t c = 0; c < header.size(); ++c)
        budgetTable_->setHorizontalHeaderItem(static_cast<int>(c),
                                              new QTableWidgetItem(QString::fromStdString(header[c])));
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[r][c]));
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            budgetTable_->setItem(static_cast<int>(r - 1), static_cast<int>(c), item);
        }
    budgetTable_->resizeColumnsToContents();
}

}  // namespace gasmixer
