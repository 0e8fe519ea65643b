// The produced-mixture table over a long run: append cost early and late,
// memory per byte of saved text, Save against a plain write of the same
// bytes, what a save in the background holds its asker for, and appending
// plus scrolling the view at a million rows.
#include "records/ColumnInfo.h"
#include "records/RecordCells.h"
#include "records/RecordGrid.h"
#include "records/RecordGridFile.h"
#include "app/RecordGridModel.h"
#include "records/AtomicFileWriter.h"
#include "records/BackgroundWriter.h"
#include "records/RecordRow.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

constexpr int TotalRows = 1000000;
constexpr int Window = 10000;

// The inputs of store `i` of a humidified run, one store every 250 ms.
RecordInputs Store(int i)
{
    RecordInputs in;
    in.Now = 46000.0 + i * 0.25 / 86400.0;
    in.MinutesSinceReset = i * 0.25 / 60.0;
    in.ModeName = "Dilution";
    in.MixingMethod = "A (constant) in B/H2O";
    in.GasAGrams = 0.0000035 * i;
    in.GasBGrams = 0.00119 * i;
    in.WetTimeOccurred = 0.1 * i;
    in.RequiredFlowB = 0.285;
    in.PH2O = 0.031;
    in.InverseMolarMassGasBEntry = 1.0 / 28.0134;
    in.InverseMolarMassA = 1.0 / 31.9988;
    in.InverseMolarMassB = 1.0 / 28.0134;
    in.InverseMolarMassH2O = 1.0 / 18.0153;
    in.H2OMolarMass = 18.0153;
    return in;
}

// What StoreData does to the table, without the window around it.
void Append(TRecordGrid& grid, int i, std::vector<std::string>& cells)
{
    const RecordRow record = ComputeRecordRow(Store(i));
    if (!grid.Cell(0, 1).empty()) grid.AddRow();
    const int row = grid.RowCount() - 1;
    grid.ReadRow(row, cells);
    WriteRecordCells(record, DefaultColumnInfo(), cells);
    grid.SetRow(row, cells);
}

ContentProducer FileOf(const TRecordGrid& grid) { return RecordGridFile(grid.Snapshot(), "Mixture plan\nline two\n"); }

double PlainWriteMs(const std::string& path, const std::string& bytes, bool sync)
{
    const auto start = Clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (sync) ::fsync(fd);
    ::close(fd);
    return Ms(Clock::now() - start);
}

struct ViewTimes {
    int rows = 0;
    double update = 0.0;  // append, select, scroll; ms
    double total = 0.0;   // and the repaint
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The view as the Made mixture tab sets it up: rows of one fixed height.
ViewTimes MeasureView(TRecordGrid& grid, std::vector<std::string>& cells)
{
    TRecordGridModel model(grid);
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();

    std::vector<double> updates, totals;
    for (int k = 0; k < 21; ++k) {
        const auto start = Clock::now();
        Append(grid, grid.RowCount() + k, cells);
        const int row = grid.RowCount() - 2;  // the model's last row
        view.selectRow(row);
        view.scrollTo(model.index(row, 0));
        const auto updated = Clock::now();
        view.viewport()->repaint();
        updates.push_back(Ms(updated - start));
        totals.push_back(Ms(Clock::now() - start));
    }
    return {grid.RowCount() - 1, Median(updates), Median(totals)};
}

int Run(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();

    TRecordGrid grid(RecordColumnCount);
    for (const RColInfo& column : DefaultColumnInfo()) grid.SetCell(column.ColID, 0, column.Caption);
    std::vector<std::string> cells;

    Clock::duration first{}, last{};
    for (int i = 0; i < TotalRows; ++i) {
        const auto start = Clock::now();
        Append(grid, i, cells);
        const auto took = Clock::now() - start;
        if (i < Window) first += took;
        if (i >= TotalRows - Window) last += took;
    }
    const double firstUs = Ms(first) * 1000.0 / Window;
    const double lastUs = Ms(last) * 1000.0 / Window;
    std::printf("append: first %d rows %.2f us/row, last %d rows %.2f us/row, ratio %.2f (target <= 1.5)\n",
                Window, firstUs, Window, lastUs, lastUs / firstUs);

    std::size_t textBytes = 0;
    const auto textStart = Clock::now();
    FileOf(grid)([&textBytes](std::string_view bytes) { textBytes += bytes.size(); });
    const double textMs = Ms(Clock::now() - textStart);
    std::string text;
    text.reserve(textBytes);
    FileOf(grid)([&text](std::string_view bytes) { text.append(bytes); });
    std::printf("memory: table holds %.1f MB for %.1f MB of saved text, %.2f bytes per byte (target <= 2)\n",
                grid.BytesHeld() / 1e6, text.size() / 1e6, static_cast<double>(grid.BytesHeld()) / text.size());

    const std::string savePath = folder + "/bench-records-save.csv";
    const std::string plainPath = folder + "/bench-records-plain.csv";
    // Alternated and repeated: the page cache and the neighbours' load vary.
    std::vector<double> plain, plainSync, save;
    WriteOutcome saved;
    for (int rep = 0; rep < 3; ++rep) {
        plain.push_back(PlainWriteMs(plainPath, text, false));
        plainSync.push_back(PlainWriteMs(plainPath, text, true));
        const auto saveStart = Clock::now();
        saved = WriteFileAtomically(savePath, FileOf(grid));
        save.push_back(Ms(Clock::now() - saveStart));
    }
    const double plainMs = Median(plain), plainSyncMs = Median(plainSync), saveMs = Median(save);
    std::printf("save: %.0f ms (%s) against a plain write %.0f ms (%.2fx, target <= 2), "
                "a plain write with fsync %.0f ms (%.2fx)\n",
                saveMs, saved.Ok ? "ok" : saved.Error.c_str(), plainMs, saveMs / plainMs, plainSyncMs,
                saveMs / plainSyncMs);
    std::printf("save: of which formatting the text %.0f ms\n", textMs);

    // As the mixer saves: a snapshot handed to the writer's thread.
    const auto askStart = Clock::now();
    TBackgroundWriter writer(WriteFileAtomically);
    std::optional<WriteOutcome> background;
    writer.Submit(savePath, FileOf(grid), [&background](const std::optional<WriteOutcome>& o) { background = o; });
    const double heldMs = Ms(Clock::now() - askStart);
    writer.Finish();
    const double writtenMs = Ms(Clock::now() - askStart);
    std::error_code sizeError;
    const auto writtenBytes = std::filesystem::file_size(savePath, sizeError);
    if (!saved.Ok || !background || !background->Ok || sizeError || writtenBytes != text.size()) {
        std::fprintf(stderr, "bench_records: the saves did not write the table's %zu bytes\n", text.size());
        return 1;
    }
    std::printf("save in the background: the asking thread held %.1f ms (target <= 50), written after %.0f ms\n",
                heldMs, writtenMs);
    std::filesystem::remove(savePath);
    std::filesystem::remove(plainPath);

    QApplication app(argc, argv);
    TRecordGrid small(RecordColumnCount);
    for (const RColInfo& column : DefaultColumnInfo()) small.SetCell(column.ColID, 0, column.Caption);
    for (int i = 0; i < 10; ++i) Append(small, i, cells);
    const ViewTimes few = MeasureView(small, cells);
    const ViewTimes many = MeasureView(grid, cells);
    std::printf("view: append, select and scroll to the new row %.2f ms at %d rows, %.2f ms at %d rows; "
                "with its repaint %.2f ms and %.2f ms (medians; target < 20 ms)\n",
                few.update, few.rows, many.update, many.rows, few.total, many.total);
    return 0;
}

}  // namespace
}  // namespace gasmixer::bench

int main(int argc, char** argv) { return gasmixer::bench::Run(argc, argv); }
