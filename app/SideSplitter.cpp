#include "app/SideSplitter.h"

#include <QMouseEvent>

#include <algorithm>

namespace gasmixer {

TSideSplitter::TSideSplitter(QWidget* pane, QWidget* parent) : QWidget(parent), pane_(pane)
{
    setFixedWidth(4);
    setCursor(Qt::SplitHCursor);
}

void TSideSplitter::SetPaneWidth(QWidget* pane, int width) { pane->setFixedWidth(std::max(width, 0)); }

void TSideSplitter::mousePressEvent(QMouseEvent* event)
{
    pressX_ = static_cast<int>(event->globalPosition().x());
    pressWidth_ = pane_ ? pane_->width() : 0;
}

void TSideSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!pane_ || !(event->buttons() & Qt::LeftButton)) return;
    SetPaneWidth(pane_, pressWidth_ - (static_cast<int>(event->globalPosition().x()) - pressX_));
}

}  // namespace gasmixer
