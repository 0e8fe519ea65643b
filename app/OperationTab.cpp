#include "app/Form1.h"

#include "app/Fonts.h"
#include "app/PageControl.h"
#include "app/PlanUncertaintyBar.h"
#include "app/SideSplitter.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

namespace gasmixer {

namespace {

constexpr int SchematicWidth = 998;
constexpr int SchematicHeight = 318;

QPushButton* NewModeButton(const char* caption, const char* hint, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setToolTip(QString::fromUtf8(hint));
    return button;
}

}  // namespace

void TForm1::BuildOperationTab()
{
    TabSheet1 = new QWidget;
    auto* content = new QWidget;

    Image1 = new QLabel(content);
    Image1->setFixedSize(SchematicWidth, SchematicHeight);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    GroupBox8 = new QGroupBox(QStringLiteral("Operating status"), content);
    Label9 = new QLabel(QStringLiteral("Mixer status:"), GroupBox8);
    LabelStatus = new QLabel(QStringLiteral("Undefined"), GroupBox8);
    LabelDeliveryWarning = new QLabel(GroupBox8);
    LabelDeliveryWarning->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    LabelDeliveryWarning->setWordWrap(true);
    // Wrapped to the column as it is: a warning must not shift the groups beside it.
    LabelDeliveryWarning->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    LabelDeliveryWarning->hide();
    ButtonStop = NewModeButton(
        "Stop",
        "Stops whatever the mixer is doing and closes all valves as quickly as possible. Note, "
        "that disconnecting the main power is more reliable way to disable the mixer in case of "
        "emergency.",
        GroupBox8);
    ButtonFlush = NewModeButton(
        "Flush",
        "Short procedure to remove some of the existing gases in the mixer. Multiple rounds of "
        "flushing may be required when input gas types are changed.",
        GroupBox8);
    ButtonBypass = NewModeButton("Bypass", "Switch immediately from diluted mixture to pure, dry gas B.",
                                 GroupBox8);
    ButtonDilution = NewModeButton("Apply Mixture", "Create mixture according user wishes.", GroupBox8);
    auto* status = new QGridLayout(GroupBox8);
    // The flush steps say what they do in a sentence: it wraps below the
    // caption instead of being cut off, in room kept for two lines.
    LabelStatus->setWordWrap(true);
    LabelStatus->setMinimumHeight(2 * LabelStatus->fontMetrics().lineSpacing());
    LabelStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->addWidget(Label9, 0, 0, 1, 2);
    status->addWidget(LabelStatus, 1, 0, 1, 2);
    status->addWidget(LabelDeliveryWarning, 2, 0, 1, 2);
    status->addWidget(ButtonStop, 3, 0, 1, 2);
    status->addWidget(ButtonFlush, 4, 0, 1, 2);
    status->addWidget(ButtonBypass, 5, 0, 1, 2);
    status->addWidget(ButtonDilution, 6, 0, 1, 2);
    status->setRowStretch(7, 1);

    GroupBox7 = new QGroupBox(QStringLiteral("Desired mixture"), content);
    GroupBox9 = new QGroupBox(QStringLiteral("Fractions ppm"), GroupBox7);
    LabelGasAPPM = new QLabel(QStringLiteral("Gas A"), GroupBox9);
    RtIntegerEditGasAPPM = new TRtIntegerEdit(GroupBox9);
    RtIntegerEditGasAPPM->SetMaxValue(1000000);
    RtIntegerEditGasAPPM->SetValue(150);
    LabelGasBPPM = new QLabel(QStringLiteral("Gas B"), GroupBox9);
    RtIntegerEditGasBPPM = new TRtIntegerEdit(GroupBox9);
    RtIntegerEditGasBPPM->SetValue(999850);
    RtIntegerEditGasBPPM->setEnabled(false);  // always what gas A and water leave
    LabelH2Oppm = new QLabel(QStringLiteral("H2O"), GroupBox9);
    RtIntegerEditH2Oppm = new TRtIntegerEdit(GroupBox9);
    RtIntegerEditH2Oppm->setMaxLength(8);
    RtIntegerEditH2Oppm->SetMaxValue(1000000);
    RtIntegerEditH2Oppm->SetValue(0);
    Button2 = new QPushButton(QStringLiteral("Max"), GroupBox9);
    Label8 = new QLabel(QStringLiteral("pH2O (atm)"), GroupBox9);
    RtIntegerEditpH2O = new TRtDoubleEdit(GroupBox9);
    RtIntegerEditpH2O->SetFormat(QStringLiteral("0.000 000"));
    RtIntegerEditpH2O->SetDoHashes(true);
    RtIntegerEditpH2O->setEnabled(false);  // follows the bubbler temperature
    Label14 = new QLabel(GroupBox9);
    auto* fractions = new QGridLayout(GroupBox9);
    fractions->addWidget(LabelGasAPPM, 0, 0);
    fractions->addWidget(RtIntegerEditGasAPPM, 0, 1);
    fractions->addWidget(LabelGasBPPM, 1, 0);
    fractions->addWidget(RtIntegerEditGasBPPM, 1, 1);
    fractions->addWidget(LabelH2Oppm, 2, 0);
    fractions->addWidget(RtIntegerEditH2Oppm, 2, 1);
    fractions->addWidget(Button2, 2, 2);
    fractions->addWidget(Label8, 3, 0);
    fractions->addWidget(RtIntegerEditpH2O, 3, 1);
    fractions->addWidget(Label14, 3, 2);

    GroupBox6 = new QGroupBox(QStringLiteral("Max flow"), GroupBox7);
    Label13 = new QLabel(QStringLiteral("Gas B limit (g/min)"), GroupBox6);
    RtNumericUpDn1 = new TRtNumericUpDn(GroupBox6);
    RtNumericUpDn1->SetIncrement(0.001);
    RtNumericUpDn1->SetBtnWidth(15);
    RtNumericUpDn1->SetDecimalPlaces(6);
    RtNumericUpDn1->SetMaxValue(2.0);
    RtNumericUpDn1->SetValue(0.4);
    auto* maxFlow = new QHBoxLayout(GroupBox6);
    maxFlow->addWidget(Label13);
    maxFlow->addWidget(RtNumericUpDn1);

    auto* desired = new QVBoxLayout(GroupBox7);
    desired->addWidget(GroupBox9);
    desired->addWidget(GroupBox6);
    desired->addStretch();

    GroupBox11 = new QGroupBox(QStringLiteral("Autosave filename"), content);
    EditAutosaveFilename = new QLineEdit(QStringLiteral("Filename"), GroupBox11);
    Label17 = new QLabel(QStringLiteral("Last autosave: never"), GroupBox11);
    auto* autosave = new QVBoxLayout(GroupBox11);
    autosave->addWidget(EditAutosaveFilename);
    autosave->addWidget(Label17);

    GroupBox12 = new QGroupBox(QStringLiteral("Automatic stop countdown"), content);
    ButtonAddToCounter = new QPushButton(QStringLiteral("Add hours to counter"), GroupBox12);
    RtDoubleEditCounter = new TRtDoubleEdit(GroupBox12);
    RtDoubleEditCounter->SetDoHashes(true);
    RtDoubleEditCounter->SetValue(24.0);
    auto* counter = new QHBoxLayout(GroupBox12);
    counter->addWidget(ButtonAddToCounter);
    counter->addWidget(RtDoubleEditCounter);

    GroupBox13 = new QGroupBox(QStringLiteral("Data store interval (m)"), content);
    RtIntegerEdit2 = new TRtIntegerEdit(GroupBox13);
    RtIntegerEdit2->SetMaxValue(60);
    RtIntegerEdit2->SetValue(1);
    auto* interval = new QHBoxLayout(GroupBox13);
    interval->addWidget(RtIntegerEdit2);

    auto* settings = new QVBoxLayout;
    settings->addWidget(GroupBox11);
    settings->addWidget(GroupBox12);
    settings->addWidget(GroupBox13);
    settings->addStretch();

    auto* controls = new QHBoxLayout;
    controls->addWidget(GroupBox8);
    controls->addWidget(GroupBox7);
    controls->addLayout(settings);
    controls->addStretch();

    auto* column = new QVBoxLayout(content);
    column->addWidget(Image1);
    column->addLayout(controls);
    column->addStretch();

    // The schematic keeps its size; a small window scrolls it rather than
    // squeezing the plan memo.
    auto* scroller = new QScrollArea;
    scroller->setWidget(content);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);

    Memo4 = new QPlainTextEdit;
    Memo4->setFont(CourierNewFont());
    Memo4->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QTextOption rightAligned = Memo4->document()->defaultTextOption();
    rightAligned.setAlignment(Qt::AlignRight);
    Memo4->document()->setDefaultTextOption(rightAligned);
    Splitter1 = new TSideSplitter(Memo4);

    auto* page = new QHBoxLayout(TabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(scroller, 1);
    page->addWidget(Splitter1);
    // The plan's expected mixture under it, as wide as the memo.
    PlanUncertaintyBar = new TPlanUncertaintyBar(TabSheet1);
    PlanUncertaintyBar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* planColumn = new QVBoxLayout;
    planColumn->setSpacing(0);
    planColumn->addWidget(Memo4, 1);
    planColumn->addWidget(PlanUncertaintyBar);
    page->addLayout(planColumn);

    PageControl1->AddPage(TabSheet1, QStringLiteral("Operation"));
}

}  // namespace gasmixer
