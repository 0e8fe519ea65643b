#include "app/PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace gasmixer {

void TGuardedTabBar::mousePressEvent(QMouseEvent* event)
{
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0 && index != currentIndex()) {
        event->accept();
        emit TabRequested(index);
        return;
    }
    QTabBar::mousePressEvent(event);
}

void TGuardedTabBar::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: step = -1; break;
    case Qt::Key_Right:
    case Qt::Key_Down: step = 1; break;
    default: QTabBar::keyPressEvent(event); return;
    }
    event->accept();
    const int index = currentIndex() + step;
    if (index >= 0 && index < count()) emit TabRequested(index);
}

#if QT_CONFIG(wheelevent)
void TGuardedTabBar::wheelEvent(QWheelEvent* event)
{
    // Turning the wheel over the tabs must not slip past the guard.
    event->accept();
}
#endif

TPageControl::TPageControl(QWidget* parent)
    : QWidget(parent), tabs_(new TGuardedTabBar(this)), pages_(new QStackedWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    layout->addWidget(tabs_);
    layout->addWidget(pages_, 1);
    connect(tabs_, &TGuardedTabBar::TabRequested, this, &TPageControl::SetActivePageIndex);
}

void TPageControl::AddPage(QWidget* page, const QString& caption)
{
    const QSignalBlocker quiet(tabs_);
    pages_->addWidget(page);
    tabs_->addTab(caption);
}

void TPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= PageCount() || index == ActivePageIndex()) return;
    bool allow = true;
    if (onChanging_) onChanging_(allow);
    if (!allow) return;
    SelectPageQuietly(index);
    emit Changed();
}

void TPageControl::SelectPageQuietly(int index)
{
    tabs_->setCurrentIndex(index);
    pages_->setCurrentIndex(index);
}

}  // namespace gasmixer
