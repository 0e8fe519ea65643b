#pragma once

#include "controls/Beep.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace gasmixer {

// A shown, active window with the fields under test and one plain line edit
// to move the focus to. Beeps and announced values are counted.
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetBeepHandler([this] { ++beeps; });
        layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        layout->addWidget(other);
    }

    void TearDown() override { SetBeepHandler({}); }

    // Adds a field to the window and records its value at every OnValueChanged.
    template <typename Field>
    Field* Add(Field* field, int width = 200)
    {
        field->setFixedWidth(width);
        layout->addWidget(field);
        QObject::connect(field, &Field::OnValueChanged, field,
                         [this, field] { fired.push_back(static_cast<double>(field->Value())); });
        return field;
    }

    void Show()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    static void Enter(QWidget* field)
    {
        field->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(field->hasFocus());
    }

    // Focus the field and select its text, ready to type over it.
    static void EnterSelected(QLineEdit* field)
    {
        Enter(field);
        field->selectAll();
    }

    void Leave()
    {
        other->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(other->hasFocus());
    }

    // Declared before the window, which may still announce while it is destroyed.
    int beeps = 0;
    std::vector<double> fired;
    QWidget window;
    QVBoxLayout* layout = nullptr;
    QLineEdit* other = nullptr;
};

}  // namespace gasmixer
