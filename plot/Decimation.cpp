#include "plot/Decimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace gasmixer {

namespace {

constexpr double Break = std::numeric_limits<double>::quiet_NaN();

// The filled rows of one column between two breaks.
struct Stretch {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t min = 0;
    std::size_t max = 0;
    double minValue = 0.0;
    double maxValue = 0.0;
    bool any = false;

    void Add(std::size_t row, double value)
    {
        if (!any || value < minValue) {
            min = row;
            minValue = value;
        }
        if (!any || value > maxValue) {
            max = row;
            maxValue = value;
        }
        if (!any) first = row;
        last = row;
        any = true;
    }

    // A whole block of filled rows, from `from` to `to`.
    void Add(std::size_t from, std::size_t to, const TFieldSummary& block)
    {
        if (!any || block.Min < minValue) {
            min = block.MinRow;
            minValue = block.Min;
        }
        if (!any || block.Max > maxValue) {
            max = block.MaxRow;
            maxValue = block.Max;
        }
        if (!any) first = from;
        last = to;
        any = true;
    }
};

class Decimator {
public:
    Decimator(std::span<const TMixtureSample> rows, std::span<const TSampleBlock> blocks,
              TMixtureField field, TPixelColumns columns)
        : rows_(rows), blocks_(blocks), field_(field), columns_(std::max(columns.Count, 1))
    {
        const auto before = [](const TMixtureSample& row, double t) { return row.Time < t; };
        const auto after = [](double t, const TMixtureSample& row) { return t < row.Time; };
        begin_ = static_cast<std::size_t>(
            std::lower_bound(rows.begin(), rows.end(), columns.From, before) - rows.begin());
        end_ = static_cast<std::size_t>(
            std::upper_bound(rows.begin(), rows.end(), columns.To, after) - rows.begin());
        from_ = columns.From;
        scale_ = columns.To > columns.From ? columns_ / (columns.To - columns.From) : 0.0;
    }

    std::vector<TPlotPoint> Reduce()
    {
        out_.reserve(std::min<std::size_t>(end_ - begin_, 4 * static_cast<std::size_t>(columns_)) + 4);
        if (begin_ > 0) EmitRow(begin_ - 1);
        for (std::size_t i = begin_; i < end_;) i = Column(i);
        if (end_ < rows_.size()) EmitRow(end_);
        while (!out_.empty() && std::isnan(out_.back().Value)) out_.pop_back();
        return std::move(out_);
    }

private:
    double Value(std::size_t row) const { return rows_[row].Value(field_); }

    int ColumnOf(double time) const
    {
        const auto column = static_cast<int>((time - from_) * scale_);
        return std::clamp(column, 0, columns_ - 1);
    }

    // Reduces the rows of the column that starts at `row`; returns the row
    // after it.
    std::size_t Column(std::size_t row)
    {
        const int column = ColumnOf(rows_[row].Time);
        Stretch lead;
        Stretch tail;
        bool broken = false;
        bool endsBroken = false;
        double firstBreak = 0.0;
        double lastBreak = 0.0;
        // Walks the rows in memory order, a whole block at a time where the
        // block lies in this column and has no empty cell.
        while (row < end_) {
            const std::size_t block = row / SampleBlockRows;
            const std::size_t blockEnd = row + SampleBlockRows;
            if (row % SampleBlockRows == 0 && blockEnd <= end_ && block < blocks_.size() &&
                !blocks_[block].Of(field_).HasGap && ColumnOf(blocks_[block].LastTime) == column) {
                (broken ? tail : lead).Add(row, blockEnd - 1, blocks_[block].Of(field_));
                endsBroken = false;
                row = blockEnd;
                continue;
            }
            if (ColumnOf(rows_[row].Time) != column) break;
            const double v = Value(row);
            if (!std::isfinite(v)) {
                if (!broken) firstBreak = rows_[row].Time;
                broken = endsBroken = true;
                lastBreak = rows_[row].Time;
            } else {
                endsBroken = false;
                // Breaks inside a column after its first are narrower than a
                // pixel: the rest of the column is drawn as one stretch.
                (broken ? tail : lead).Add(row, v);
            }
            ++row;
        }
        EmitStretch(lead);
        if (broken) EmitBreak(firstBreak);
        EmitStretch(tail);
        if (endsBroken && tail.any) EmitBreak(lastBreak);
        return row;
    }

    void EmitStretch(const Stretch& run)
    {
        if (!run.any) return;
        std::array<std::size_t, 4> picked{run.min, run.max, 0, 0};
        std::size_t count = 2;
        if (run.first == begin_) picked[count++] = run.first;
        if (run.last + 1 == end_) picked[count++] = run.last;
        std::sort(picked.begin(), picked.begin() + count);
        const auto last = std::unique(picked.begin(), picked.begin() + count);
        for (auto it = picked.begin(); it != last; ++it) out_.push_back({rows_[*it].Time, Value(*it)});
    }

    void EmitRow(std::size_t row)
    {
        if (std::isfinite(Value(row)))
            out_.push_back({rows_[row].Time, Value(row)});
        else
            EmitBreak(rows_[row].Time);
    }

    void EmitBreak(double time)
    {
        if (!out_.empty() && !std::isnan(out_.back().Value)) out_.push_back({time, Break});
    }

    std::span<const TMixtureSample> rows_;
    std::span<const TSampleBlock> blocks_;
    TMixtureField field_;
    int columns_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    double from_ = 0.0;
    double scale_ = 0.0;
    std::vector<TPlotPoint> out_;
};

}  // namespace

std::vector<TPlotPoint> DecimateMinMax(std::span<const TMixtureSample> rows,
                                       std::span<const TSampleBlock> blocks, TMixtureField field,
                                       TPixelColumns columns)
{
    return Decimator(rows, blocks, field, columns).Reduce();
}

}  // namespace gasmixer
