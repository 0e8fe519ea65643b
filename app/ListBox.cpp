#include "app/ListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace gasmixer {

TListBox::TListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TListBox::SetItems(const std::vector<std::string>& items)
{
    clear();
    for (const std::string& item : items) addItem(QString::fromStdString(item));
}

int TListBox::ItemIndex() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void TListBox::SetItemIndex(int index)
{
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

std::string TListBox::SelectedText() const
{
    const int index = ItemIndex();
    return index < 0 ? std::string() : item(index)->text().toStdString();
}

void TListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) {
        emit Click();
    }
}

void TListBox::keyPressEvent(QKeyEvent* event)
{
    const int before = ItemIndex();
    QListWidget::keyPressEvent(event);
    if (ItemIndex() != before && ItemIndex() >= 0) emit Click();
}

void TListBox::keyReleaseEvent(QKeyEvent* event)
{
    QListWidget::keyReleaseEvent(event);
    emit KeyUp();
}

}  // namespace gasmixer
