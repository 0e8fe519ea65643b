#include "app/Form1.h"

#include "app/Fonts.h"
#include "app/PageControl.h"
#include "app/PlotImagePath.h"
#include "app/RecordGridModel.h"
#include "controls/RtIntegerEdit.h"
#include "plot/MixturePlot.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace gasmixer {

namespace {

// Hands every mouse press on a widget to a handler; the press goes on.
class TMouseDownFilter final : public QObject {
public:
    TMouseDownFilter(std::function<void(Qt::MouseButton)> handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            handler_(static_cast<QMouseEvent*>(event)->button());
        }
        return false;
    }

private:
    std::function<void(Qt::MouseButton)> handler_;
};

}  // namespace

void TForm1::BuildMadeMixtureTab()
{
    TabSheet2 = new QWidget;
    StringGrid1 = new QTableView(TabSheet2);
    gridModel_ = new TRecordGridModel(RecordGrid, StringGrid1);
    StringGrid1->setModel(gridModel_);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Captions start at the left edge, so a narrow column shows their beginning.
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->horizontalHeader()->setFont(WindowFont());
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One height for every row: the view never measures rows, so a long run
    // appends and scrolls as cheaply as a short one.
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
    StringGrid1->viewport()->installEventFilter(new TMouseDownFilter(
        [this](Qt::MouseButton button) { StringGrid1MouseDown(button); }, StringGrid1));
    auto* layout = new QVBoxLayout(TabSheet2);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtonRunReport = new QPushButton(QStringLiteral("Save run report..."), TabSheet2);
    connect(ButtonRunReport, &QPushButton::clicked, this, &TForm1::ButtonRunReportClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonRunReport);
    layout->addLayout(buttons);
    auto* splitter = new QSplitter(Qt::Vertical, TabSheet2);
    splitter->addWidget(StringGrid1);
    MixturePlot = new TMixturePlot([this] { return AskPlotImagePath(services_.dialogs); },
                                   [this](const std::string& message) { ReportError(message); }, splitter);
    splitter->addWidget(MixturePlot);
    splitter->setCollapsible(0, false);
    // The table keeps two thirds of the room, on first show and on resizing.
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({2000, 1000});
    layout->addWidget(splitter);
    PageControl1->AddPage(TabSheet2, QStringLiteral("Made mixture"));
}

void TForm1::BuildTGTab()
{
    TabSheet4 = new QWidget;

    RadioGroup1 = new QGroupBox(QStringLiteral("Notice"), TabSheet4);
    MemoTG = new QPlainTextEdit(RadioGroup1);
    MemoTG->setFrameShape(QFrame::NoFrame);
    MemoTG->setReadOnly(true);
    MemoTG->setMaximumHeight(120);  // a few lines of notice, not a page
    auto* notice = new QVBoxLayout(RadioGroup1);
    notice->addWidget(MemoTG);

    GroupBoxTGValues = new QGroupBox(
        QStringLiteral("These values can be used and update only when the mixer is already "
                       "producing mixture"),
        TabSheet4);

    GroupBoxTGFlows = new QGroupBox(QString::fromUtf8("Flow inputs, ml/min @ 25ºC"), GroupBoxTGValues);
    LabelTGProtectiveGas = new QLabel(QStringLiteral("TG protective gas\nSame as gas B"), GroupBoxTGFlows);
    RtIntegerEdit3 = new TRtIntegerEdit(GroupBoxTGFlows);
    LabelTGMixture = new QLabel(QStringLiteral("Mixture"), GroupBoxTGFlows);
    RtIntegerEdit4 = new TRtIntegerEdit(GroupBoxTGFlows);
    auto* flows = new QGridLayout(GroupBoxTGFlows);
    flows->addWidget(LabelTGProtectiveGas, 0, 0);
    flows->addWidget(RtIntegerEdit3, 0, 1);
    flows->addWidget(LabelTGMixture, 1, 0);
    flows->addWidget(RtIntegerEdit4, 1, 1);
    flows->setColumnStretch(0, 1);
    for (TRtIntegerEdit* field : {RtIntegerEdit3, RtIntegerEdit4}) field->setMaximumWidth(100);

    GroupBoxTGGas = new QGroupBox(QStringLiteral("Gas in TG, ppm, log10"), GroupBoxTGValues);
    auto* gas = new QGridLayout(GroupBoxTGGas);
    const auto addRow = [&](int row, const char* caption, QLabel*& ppm, QLabel*& log) {
        gas->addWidget(new QLabel(QString::fromUtf8(caption), GroupBoxTGGas), row, 0);
        ppm = new QLabel(QStringLiteral("Unknown"), GroupBoxTGGas);
        log = new QLabel(QStringLiteral("Unknown"), GroupBoxTGGas);
        ppm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        log->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gas->addWidget(ppm, row, 1);
        gas->addWidget(log, row, 2);
    };
    addRow(0, "Gas A", LabelTGAppm, LabelTGAlog);
    addRow(1, "Gas B", LabelTGBppm, LabelTGBlog);
    addRow(2, "H2O", LabelTGH2Oppm, LabelTGH2Olog);
    gas->setColumnMinimumWidth(1, 80);
    gas->setColumnMinimumWidth(2, 60);

    auto* values = new QHBoxLayout(GroupBoxTGValues);
    values->addWidget(GroupBoxTGFlows);
    values->addWidget(GroupBoxTGGas);
    values->addStretch();

    auto* page = new QVBoxLayout(TabSheet4);
    page->addWidget(RadioGroup1);
    page->addWidget(GroupBoxTGValues);
    page->addStretch(1);

    PageControl1->AddPage(TabSheet4, QStringLiteral("Mixture in TG"));
}

void TForm1::BuildDebugTab()
{
    TabSheet3 = new QWidget;
    MemoDevFeedback = new QPlainTextEdit(TabSheet3);
    // A day of traces would otherwise grow without bound.
    MemoDevFeedback->setMaximumBlockCount(FeedbackMemoLineLimit);
    MemoDevFeedback->setFont(CourierNewFont());
    MemoDevFeedback->setReadOnly(true);
    auto* layout = new QVBoxLayout(TabSheet3);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MemoDevFeedback);
    PageControl1->AddPage(TabSheet3, QStringLiteral("Debug"));
}

}  // namespace gasmixer
