#include "runreport/RunLog.h"

namespace gasmixer {
namespace {

// Rows older than this behind the last are not needed for the mean.
constexpr double KeptMinutes = ReportAverageMinutes + 1.0;

double Grams(const RecordRow& row, RecordField field) { return row.Values[field].value_or(0.0); }

TDelivered Between(const RecordRow* first, const RecordRow& last)
{
    TDelivered d{Grams(last, FieldGasA), Grams(last, FieldGasB), Grams(last, FieldH2O), last.MinutesSinceReset, 1};
    if (!first) return d;
    d.GramsA -= Grams(*first, FieldGasA);
    d.GramsB -= Grams(*first, FieldGasB);
    d.GramsWater -= Grams(*first, FieldH2O);
    d.Minutes -= first->MinutesSinceReset;
    d.Readings = 2;
    return d;
}

}  // namespace

void TRunLog::AddPlan(TAppliedPlan plan) { plans_.push_back({std::move(plan), {}}); }

void TRunLog::AddRow(const RecordRow& row)
{
    if (!start_) start_ = row.Time();
    end_ = row.Time();
    if (plans_.empty() || row.Mode != "Dilution" || !row.Values[FieldGasA] || !row.Values[FieldGasB]) return;
    std::deque<RecordRow>& rows = plans_.back().Rows;
    // The totalizers were reset: the mixture counts again from here.
    if (!rows.empty() && row.MinutesSinceReset < rows.back().MinutesSinceReset) rows.clear();
    rows.push_back(row);
    while (rows.size() > 2 && row.MinutesSinceReset - rows[1].MinutesSinceReset > KeptMinutes) rows.pop_front();
}

void TRunLog::AddAlarm(TDateTime time, std::string line) { alarms_.push_back({time, std::move(line)}); }

std::optional<TProducedMean> TRunLog::Mean(const PlanRecord& plan, const TAccuracySettings& accuracy) const
{
    if (plan.Rows.empty() || !plan.Plan.Running) return std::nullopt;
    const RecordRow& last = plan.Rows.back();
    // The latest row at least the averaging time before the last; none: since the reset.
    const RecordRow* first = nullptr;
    for (const RecordRow& row : plan.Rows)
        if (last.MinutesSinceReset - row.MinutesSinceReset >= ReportAverageMinutes) first = &row;
    const TDelivered delivered = Between(first, last);
    TProducedMean mean;
    mean.To = last.Time();
    mean.Minutes = delivered.Minutes;
    mean.From = mean.To - delivered.Minutes / (24.0 * 60.0);
    mean.Mixture = ProducedUncertainty(*plan.Plan.Running, delivered, accuracy);
    return mean;
}

}  // namespace gasmixer
