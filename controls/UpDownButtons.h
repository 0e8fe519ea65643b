#pragma once

#include <QWidget>

class QToolButton;

namespace gasmixer {

// The arrow-button pair of the numeric up-down: two stacked buttons that
// repeat while held and never take the focus from the field.
class TUpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit TUpDownButtons(QWidget* parent);

    QToolButton* UpButton() const { return FUp; }
    QToolButton* DownButton() const { return FDown; }

signals:
    void Up();
    void Down();

private:
    QToolButton* FUp;
    QToolButton* FDown;
};

}  // namespace gasmixer
