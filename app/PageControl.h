#pragma once

#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

#include <functional>

namespace gasmixer {

// A tab bar whose every change of tab, by mouse, keyboard or wheel, is a
// request that the page control may refuse before anything moves.
class TGuardedTabBar final : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

signals:
    void TabRequested(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent* event) override;
#endif
};

// Tabbed pages whose changes can be vetoed before they happen: OnChanging is
// asked first and may refuse; Changed follows an accepted change.
class TPageControl final : public QWidget {
    Q_OBJECT
public:
    using ChangingHandler = std::function<void(bool& AllowChange)>;

    explicit TPageControl(QWidget* parent = nullptr);

    void AddPage(QWidget* page, const QString& caption);
    int PageCount() const { return pages_->count(); }
    QWidget* Page(int index) const { return pages_->widget(index); }
    QString Caption(int index) const { return tabs_->tabText(index); }
    int ActivePageIndex() const { return tabs_->currentIndex(); }
    QWidget* ActivePage() const { return pages_->currentWidget(); }
    TGuardedTabBar* TabBar() const { return tabs_; }

    void SetOnChanging(ChangingHandler handler) { onChanging_ = std::move(handler); }

    // A change as the operator would make it: asked, then announced.
    void SetActivePageIndex(int index);
    // Shows the page without asking or announcing.
    void SelectPageQuietly(int index);

signals:
    void Changed();

private:
    TGuardedTabBar* tabs_;
    QStackedWidget* pages_;
    ChangingHandler onChanging_;
};

}  // namespace gasmixer
