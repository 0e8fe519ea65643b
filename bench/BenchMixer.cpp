#include "bench/BenchMixer.h"

#include "app/GuardedApplication.h"
#include "app/ListBox.h"
#include "app/PageControl.h"
#include "controls/RtIntegerEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace gasmixer::bench {
namespace {

constexpr int OperationPage = 1;

GuardedApplication& Application() { return static_cast<GuardedApplication&>(*qApp); }

void ClickItem(TListBox& list, const std::string& text)
{
    const auto found = list.findItems(QString::fromStdString(text), Qt::MatchExactly);
    if (found.size() != 1) throw std::runtime_error("no single list item " + text);
    const QRect rect = list.visualItemRect(found.first());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

void QuietDialogs::Information(const std::string& text) { std::fprintf(stderr, "information: %s\n", text.c_str()); }

bool QuietDialogs::Question(const std::string& text, const std::string&)
{
    std::fprintf(stderr, "question answered No: %s\n", text.c_str());
    return false;
}

void QuietDialogs::Error(const std::string& text)
{
    ++errors_;
    std::fprintf(stderr, "error: %s\n", text.c_str());
}

std::optional<std::string> QuietDialogs::SaveFile(const SaveDialogSettings&) { return std::nullopt; }

BenchMixer::BenchMixer()
    : oldFolder_(std::filesystem::current_path().string()),
      host_({.announce = false, .waterTemperature = 20.0, .pacing = true, .trace = [this](std::string_view line) {
                 if (line.find(" <- ") != std::string_view::npos) ++framesReceived_;
             }})
{
    if (!scratch_.isValid()) throw std::runtime_error("no scratch folder");
    const std::string folder = scratch_.path().toStdString();
    std::filesystem::current_path(folder);
    ::setenv("XDG_STATE_HOME", folder.c_str(), 1);

    const std::vector<TPortChoice> ports{host_.MfcLinePath(), host_.RelayBoardPath()};
    form_ = std::make_unique<TForm1>(FormServices{.clock = clock_, .listPorts = [ports] { return ports; }, .dialogs = dialogs_});
    Application().SetErrorHandler([this](const std::string& message) { form_->ReportError(message); });
    form_->show();
    QApplication::processEvents();
}

BenchMixer::~BenchMixer()
{
    Application().SetErrorHandler({});
    form_.reset();
    std::error_code ignored;
    std::filesystem::current_path(oldFolder_, ignored);
}

void BenchMixer::Ready(const std::string& gasA, const std::string& gasB)
{
    ClickItem(*form_->ListBoxPortSolenoid, host_.RelayBoardPath());
    ClickItem(*form_->ListBoxPortMFC, host_.MfcLinePath());
    Sync();
    ClickItem(*form_->ListBoxSetupGas1, gasA);
    ClickItem(*form_->ListBoxSetupGas2, gasB);
    Sync();
    TGuardedTabBar* bar = form_->PageControl1->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(OperationPage).center());
    if (form_->PageControl1->ActivePageIndex() != OperationPage)
        throw std::runtime_error("the equipment or the gases were not accepted");
}

void BenchMixer::Apply(int gasAPpm, int h2oPpm)
{
    form_->RtIntegerEditGasAPPM->SetValue(gasAPpm);
    Sync();
    form_->RtIntegerEditH2Oppm->SetValue(h2oPpm);
    Sync();  // the water reading balanced the fields
    QTest::mouseClick(form_->ButtonDilution, Qt::LeftButton);
    Sync();
}

void BenchMixer::Sync()
{
    Ask([](TMixer&) { return true; });
    QApplication::processEvents();
}

void UseOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace gasmixer::bench
