#include "app/Form1.h"

#include "app/AccuracyGroup.h"
#include "app/Fonts.h"
#include "app/ListBox.h"
#include "app/PageControl.h"
#include "mixer/GasLists.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gasmixer {

namespace {

QGroupBox* NewGroupBox(const char* caption, QWidget* parent)
{
    return new QGroupBox(QString::fromUtf8(caption), parent);
}

QCheckBox* NewIndicator(const char* caption, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setEnabled(false);  // the program sets it, the operator cannot
    return box;
}

}  // namespace

void TForm1::BuildSetupTab()
{
    Setup = new QWidget;
    auto* grid = new QGridLayout(Setup);

    GroupBox1 = NewGroupBox("1. List ports", Setup);
    ButtonSetupFindPorts = new QPushButton(QStringLiteral("Find ports"), GroupBox1);
    ButtonSetupRemembered = new QPushButton(QStringLiteral("Validate remembered set-up"), GroupBox1);
    ButtonSetupRemembered->setEnabled(false);  // until the remembered ports are listed
    // The column is as wide as its widest button: never narrower than this caption.
    ButtonSetupRemembered->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    auto* box1 = new QVBoxLayout(GroupBox1);
    box1->addWidget(ButtonSetupFindPorts);
    box1->addWidget(ButtonSetupRemembered);
    box1->addStretch();

    GroupBox2 = NewGroupBox("2. Select ports", Setup);
    Label1 = new QLabel(QStringLiteral("Port for Solenoid control"), GroupBox2);
    ListBoxPortSolenoid = new TListBox(GroupBox2);
    Label2 = new QLabel(QStringLiteral("Port for MFC control"), GroupBox2);
    ListBoxPortMFC = new TListBox(GroupBox2);
    auto* box2 = new QVBoxLayout(GroupBox2);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(ListBoxPortSolenoid),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(ListBoxPortMFC)}) {
        box2->addWidget(w);
    }

    GroupBox3 = NewGroupBox("3. Validate", Setup);
    ButtonSetupValidate = new QPushButton(QStringLiteral("Validate ports && equipment"), GroupBox3);
    ButtonSetupValidate->setVisible(false);  // the port lists validate on every click
    Label3 = new QLabel(QStringLiteral("Feedback"), GroupBox3);
    MemoSetupFeedback = new QPlainTextEdit(GroupBox3);
    // A day of traces would otherwise grow without bound.
    MemoSetupFeedback->setMaximumBlockCount(FeedbackMemoLineLimit);
    MemoSetupFeedback->setFont(CourierNewFont());
    MemoSetupFeedback->setReadOnly(true);
    MemoSetupFeedback->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* box3 = new QVBoxLayout(GroupBox3);
    box3->addWidget(ButtonSetupValidate);
    box3->addWidget(Label3);
    box3->addWidget(MemoSetupFeedback, 1);

    GroupBox4 = NewGroupBox("4. Select operating gases", Setup);
    Label7 = new QLabel(QStringLiteral("Click each list box and and wait few seconds"), GroupBox4);
    Label5 = new QLabel(QStringLiteral("Gas A, to be diluted"), GroupBox4);
    ListBoxSetupGas1 = new TListBox(GroupBox4);
    ListBoxSetupGas1->SetItems(GasListA());
    Label6 = new QLabel(QStringLiteral("Gas B, diluting"), GroupBox4);
    ListBoxSetupGas2 = new TListBox(GroupBox4);
    ListBoxSetupGas2->SetItems(GasListB());
    auto* box4 = new QGridLayout(GroupBox4);
    box4->addWidget(Label7, 0, 0, 1, 2);
    box4->addWidget(Label5, 1, 0);
    box4->addWidget(Label6, 1, 1);
    box4->addWidget(ListBoxSetupGas1, 2, 0);
    box4->addWidget(ListBoxSetupGas2, 2, 1);

    GroupBox5 = NewGroupBox("5. Conclusion", Setup);
    CheckBoxSolenoidOK = NewIndicator("Solenoid control is OK", GroupBox5);
    CheckBoxMFCOK = NewIndicator("MFC control is OK", GroupBox5);
    CheckBoxGasesSelected = NewIndicator("Gases are selected", GroupBox5);
    Label4 = new QLabel(QStringLiteral("Proceed to Operation tab when all 3 are checked"), GroupBox5);
    auto* box5 = new QVBoxLayout(GroupBox5);
    for (QWidget* w : {static_cast<QWidget*>(CheckBoxSolenoidOK), static_cast<QWidget*>(CheckBoxMFCOK),
                       static_cast<QWidget*>(CheckBoxGasesSelected), static_cast<QWidget*>(Label4)}) {
        box5->addWidget(w);
    }
    box5->addStretch();

    // Steps 1 and 2 side by side, 4 and 5 below them, the feedback of step 3
    // taking the rest of the width, the accuracy under it, so that the lists
    // keep their height.
    grid->addWidget(GroupBox1, 0, 0);
    grid->addWidget(GroupBox2, 0, 1);
    grid->addWidget(GroupBox3, 0, 2, 2, 1);
    grid->addWidget(GroupBox4, 1, 0, 1, 2);
    grid->addWidget(GroupBox5, 2, 0, 1, 2);
    GroupBoxAccuracy = new TAccuracyGroup(Setup);
    grid->addWidget(GroupBoxAccuracy, 2, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);

    PageControl1->AddPage(Setup, QStringLiteral("Setup"));
}

}  // namespace gasmixer
