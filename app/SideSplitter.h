#pragma once

#include <QPointer>
#include <QWidget>

namespace gasmixer {

// A bar on the left edge of a right-aligned pane: dragging it sets the
// pane's width, which otherwise stays as the program last set it.
class TSideSplitter final : public QWidget {
    Q_OBJECT
public:
    TSideSplitter(QWidget* pane, QWidget* parent = nullptr);

    // Width of the pane; negative requests become 0.
    static void SetPaneWidth(QWidget* pane, int width);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> pane_;
    int pressX_ = 0;
    int pressWidth_ = 0;
};

}  // namespace gasmixer
