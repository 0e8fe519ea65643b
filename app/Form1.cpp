#include "app/Form1.h"

#include "app/AccuracyGroup.h"
#include "app/Fonts.h"
#include "app/ListBox.h"
#include "app/PageControl.h"
#include "app/RecordGridModel.h"
#include "app/SideSplitter.h"
#include "app/QueuedMixerView.h"
#include "app/TextFlow.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "mixer/MixerThread.h"
#include "uncertainty/AccuracyStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

#include <cmath>

namespace gasmixer {

namespace {

constexpr int Memo4StartWidth = 533;
constexpr double Memo4ScreenShare = 0.4;

// The notice of the TG tab as it was written, line by line.
constexpr const char* MemoTGDesignText =
    "This program was originally designed to calculate the mixture made by the mixer, but it is "
    "useful to know what happens afterthe mixer so this tab was added.\r\n"
    "\r\n"
    "Unfortunately, having exact information from outside the mixer is impossible and therefore "
    "the calculations on this tab are less precise and based on user provided information.\r\n"
    "\r\n"
    "TG mass flow controllers measure (and control) the passing mass and use conversion factor "
    "to ml/min. This conversion is not accurate to begin with. \r\n"
    "\r\n"
    "Each gas, and gas mixture, has it's own conversion factor that is not known, so the user "
    "should select the mass flow controller to operate with a gas that is the main component in "
    "the mixture, or a gas that has \r\n"
    "similar atomic weight than the main component of the mixture.\r\n"
    "\r\n"
    "Furthermore the unit 'ml/min' assumes a temperature, which is not provided, so for "
    "calculations here some temperature must be assumed in order to have an exact amount of "
    "moles.";

}  // namespace

TForm1::TForm1(FormServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      errors_(services_.dialogs, [this](const std::string& line) {
          MemoDevFeedback->appendPlainText(QString::fromStdString(line));
      })
{
    setWindowTitle(QStringLiteral("Tarnis - Ortiva prototype"));
    setFont(WindowFont());
    resize(1069, 789);
    setWindowState(windowState() | Qt::WindowMaximized);

    PageControl1 = new TPageControl(this);
    setCentralWidget(PageControl1);
    BuildSetupTab();
    BuildOperationTab();
    BuildMadeMixtureTab();
    BuildTGTab();
    BuildDebugTab();
    BuildProgramTab();

    queuedView_ = std::make_unique<QueuedMixerView>(*this, *this);
    mixer_ = std::make_unique<TMixer>(MixerServices{.clock = services_.clock,
                                                    .monotonic = services_.monotonic,
                                                    .sleep = services_.sleep,
                                                    .linePause = services_.linePause,
                                                    .drawPercent = services_.drawPercent,
                                                    .wettingTiming = services_.wettingTiming,
                                                    .writeFile = services_.writeFile,
                                                    .journalFolder = services_.journalFolder},
                                      *queuedView_);
    snapshot_ = mixer_->Snapshot();
    if (services_.mixerThread) {
        mixerThread_ = std::make_unique<MixerThread>(*mixer_);
    } else {
        // Commands run at once, or after the tick that is running.
        mixer_->SetWake([mixer = mixer_.get()] {
            if (!mixer->Ticking()) mixer->RunPending();
        });
    }
    WireEvents();
    FormCreate();
}

TForm1::~TForm1()
{
    // The mixer's shut-down runs on its thread before the thread ends.
    if (mixerThread_) mixerThread_.reset();
    else mixer_->Close();
}

void TForm1::ReportError(const std::string& message) { errors_.Report(message); }

void TForm1::Post(TMixer::Command command) { mixer_->Post(std::move(command)); }

void TForm1::WireEvents()
{
    PageControl1->SetOnChanging([this](bool& AllowChange) { PageControl1Changing(AllowChange); });
    connect(PageControl1, &TPageControl::Changed, this, &TForm1::PageControl1Change);

    connect(ButtonSetupFindPorts, &QPushButton::clicked, this, &TForm1::ButtonSetupFindPortsClick);
    connect(ButtonSetupValidate, &QPushButton::clicked, this, &TForm1::ButtonSetupValidateClick);
    connect(ButtonSetupRemembered, &QPushButton::clicked, this, &TForm1::ButtonSetupRememberedClick);
    connect(ListBoxPortSolenoid, &TListBox::Click, this, &TForm1::ListBoxPortSolenoidClick);
    connect(ListBoxPortMFC, &TListBox::Click, this, &TForm1::ListBoxPortMFCClick);
    connect(ListBoxSetupGas1, &TListBox::Click, this, &TForm1::ListBoxSetupGas1Click);
    connect(ListBoxSetupGas2, &TListBox::Click, this, &TForm1::ListBoxSetupGas2Click);
    connect(ListBoxSetupGas1, &TListBox::KeyUp, this, &TForm1::ListBoxSetupGas1KeyUp);
    connect(ListBoxSetupGas2, &TListBox::KeyUp, this, &TForm1::ListBoxSetupGas1KeyUp);

    for (TRtIntegerEdit* ppmField :
         {RtIntegerEditGasAPPM, RtIntegerEditGasBPPM, RtIntegerEditH2Oppm, RtIntegerEdit2}) {
        connect(ppmField, &TRtIntegerEdit::OnValueChanged, this,
                &TForm1::RtIntegerEditGasAPPMValueChanged);
    }
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ButtonDilution, &QPushButton::clicked, this, &TForm1::ButtonDilutionClick);
    connect(ButtonStop, &QPushButton::clicked, this, &TForm1::ButtonStopClick);
    connect(ButtonFlush, &QPushButton::clicked, this, &TForm1::ButtonFlushClick);
    connect(ButtonBypass, &QPushButton::clicked, this, &TForm1::ButtonBypassClick);
    connect(ButtonAddToCounter, &QPushButton::clicked, this, &TForm1::ButtonAddToCounterClick);
    connect(RtNumericUpDn1, &TRtNumericUpDn::OnValueChanged, this,
            &TForm1::RtNumericUpDn1ValueChanged);
    connect(RtNumericUpDn1, &TRtNumericUpDn::OnClick, this, &TForm1::RtNumericUpDn1Click);
    connect(RtIntegerEdit2, &TRtIntegerEdit::OnValueChanged, this, &TForm1::SendSettings);
    connect(RtDoubleEditCounter, &TRtDoubleEdit::OnValueChanged, this, &TForm1::SendSettings);
    connect(EditAutosaveFilename, &QLineEdit::textChanged, this, &TForm1::SendSettings);
    GroupBoxAccuracy->OnChanged = [this](const TAccuracySettings& accuracy) { AccuracyChanged(accuracy); };
}

// The fields the mixer reads during a run.
void TForm1::SendSettings()
{
    const int storeInterval = RtIntegerEdit2->Value();
    const double counterHours = RtDoubleEditCounter->Value();
    std::string prefix = EditAutosaveFilename->text().toStdString();
    Post([storeInterval, counterHours, prefix = std::move(prefix)](TMixer& mixer) {
        mixer.SetStoreInterval(storeInterval);
        mixer.SetCounterHours(counterHours);
        mixer.SetAutosavePrefix(prefix);
    });
}

void TForm1::FormCreate()
{
    TSideSplitter::SetPaneWidth(Memo4, Memo4StartWidth);
    accuracy_ = LoadRememberedAccuracy();
    GroupBoxAccuracy->SetSettings(accuracy_);
    MemoTG->setPlainText(QString::fromStdString(FlowLines(MemoTGDesignText)));
    PageControl1->SelectPageQuietly(0);
    for (int valve = 1; valve <= 6; ++valve) SetValveGraphics(valve, false);

    ColumnInfo = DefaultColumnInfo();
    for (const RColInfo& column : ColumnInfo) {
        if (column.ColID < 0 || column.Caption.empty()) continue;
        RecordGrid.SetCell(column.ColID, 0, column.Caption);
        StringGrid1->setColumnWidth(column.ColID, column.ColW);
    }

    SaveDialog1.Filter = "Comma separated file (*.csv);;Text file (*.txt)";
    SaveDialog1.DefaultExt = "csv";

    RestoreRememberedFields();
    SendSettings();
    ButtonSetupFindPortsClick();
    RtNumericUpDn1Click(RtNumericUpDn1);
    Post([](TMixer& mixer) { mixer.LookAfterJournals(); });
}

void TForm1::FormResize()
{
    // The plan memo follows the screen, not the window, so that it keeps a
    // readable width when the window is made small.
    const int screenWidth = screen()->geometry().width();
    TSideSplitter::SetPaneWidth(Memo4, static_cast<int>(std::floor(screenWidth * Memo4ScreenShare)));
}

void TForm1::FormClose()
{
    if (closed_) return;
    closed_ = true;
    RememberSetup();
    Post([](TMixer& mixer) { mixer.Close(); });
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // The window closes whatever the shut-down meets.
    event->accept();
    FormClose();
}

}  // namespace gasmixer
