#include "controls/UpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace gasmixer {
namespace {

QToolButton* MakeArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

}  // namespace

TUpDownButtons::TUpDownButtons(QWidget* parent)
    : QWidget(parent),
      FUp(MakeArrowButton(Qt::UpArrow, this)),
      FDown(MakeArrowButton(Qt::DownArrow, this))
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);  // the field's text cursor would be inherited
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FUp);
    layout->addWidget(FDown);
    connect(FUp, &QToolButton::clicked, this, &TUpDownButtons::Up);
    connect(FDown, &QToolButton::clicked, this, &TUpDownButtons::Down);
}

}  // namespace gasmixer
