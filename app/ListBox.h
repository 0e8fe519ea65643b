#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace gasmixer {

// A single-selection list that tells the operator's choices apart from the
// program's: Click follows a mouse click on an item (also on the selected
// one) and a key that moves the selection; setting ItemIndex from code
// announces nothing.
class TListBox final : public QListWidget {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);

    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;       // -1 without a selection
    void SetItemIndex(int index);  // -1 clears the selection
    // Text of the selected item; empty without a selection.
    std::string SelectedText() const;

signals:
    void Click();
    void KeyUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace gasmixer
