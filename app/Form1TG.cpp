#include "app/Form1.h"

#include "common/TextFormat.h"
#include "controls/RtIntegerEdit.h"
#include "mixing/TGEstimate.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace gasmixer {
namespace {

// Columns of the record holding the ppm of gas A, gas B and water.
constexpr int APpmColumn = 14;
constexpr int BPpmColumn = 15;
constexpr int H2OPpmColumn = 16;

void SetIfGiven(QLabel* label, const std::optional<std::string>& text)
{
    if (text) label->setText(QString::fromStdString(*text));
}

}  // namespace

void TForm1::UpdateTGMix()
{
    const int lastRow = RecordGrid.RowCount() - 1;
    const auto cell = [&](int column) { return RecordGrid.Cell(ColumnInfo[column].ColID, lastRow); };
    const TGMixTexts texts = EstimateTGMix(
        {RtIntegerEdit3->Value(), RtIntegerEdit4->Value(), lastRow, cell(APpmColumn),
         cell(BPpmColumn), cell(H2OPpmColumn)},
        CurrentFormatSettings());

    SetIfGiven(LabelTGAppm, texts.APpm);
    SetIfGiven(LabelTGAlog, texts.ALog);
    SetIfGiven(LabelTGBppm, texts.BPpm);
    SetIfGiven(LabelTGBlog, texts.BLog);
    SetIfGiven(LabelTGH2Oppm, texts.H2OPpm);
    SetIfGiven(LabelTGH2Olog, texts.H2OLog);
    for (const std::string& line : texts.Log) MemoDevFeedback->appendPlainText(QString::fromStdString(line));
}

}  // namespace gasmixer
