// The plan's expected mixture under the memo, its budget, the accuracy on the
// Setup tab and the run report saved from the Made mixture tab.
#include "RecordsFixture.h"

#include "app/AccuracyGroup.h"
#include "app/PlanUncertaintyBar.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "mixer/MixturePlanInput.h"
#include "uncertainty/AccuracyStore.h"
#include "uncertainty/MixtureUncertainty.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

namespace gasmixer::test {
namespace {

class UncertaintyView : public RecordsTest {
protected:
    void SetUp() override
    {
        RecordsTest::SetUp();
        ChooseFakePorts();
    }

    std::string Expected() const { return form->PlanUncertaintyBar->LabelExpected->text().toStdString(); }

    // The line for the fields on show, worked out apart from the window.
    std::string ExpectedFor(int a, int w, const TAccuracySettings& accuracy) const
    {
        const PlanInput input =
            MixturePlanInput(form->Snapshot(), {a, WholeMixturePpm - a - w, w}, form->RtNumericUpDn1->Value());
        return ExpectedLine(PlanUncertainty(input, PlanMixture(input), accuracy));
    }
};

TEST_F(UncertaintyView, TheExpectedLineFollowsThePlanOnShowAndItsBudgetOpens)
{
    const QString memoBefore = form->Memo4->toPlainText();
    form->RtIntegerEditGasAPPM->SetValue(2000);
    form->RtIntegerEditH2Oppm->SetValue(10000);
    EXPECT_EQ(Expected(), ExpectedFor(2000, 10000, TAccuracySettings{}));
    EXPECT_EQ(Expected().rfind("Expected: 2 000 ± ", 0), 0u) << Expected();
    EXPECT_NE(Expected().find(" ppm A, 10 000 ± "), std::string::npos) << Expected();
    EXPECT_NE(form->Memo4->toPlainText(), memoBefore);
    EXPECT_EQ(form->Memo4->toPlainText().indexOf("Expected"), -1) << "the plan report stays as it is";

    QTest::mouseClick(form->ButtonDilution, Qt::LeftButton);
    SyncWithMixer();
    EXPECT_EQ(Expected(), ExpectedFor(2000, 10000, TAccuracySettings{})) << "the adopted plan keeps its line";

    QTest::mouseClick(form->PlanUncertaintyBar->ButtonBudget, Qt::LeftButton);
    QDialog* budget = form->PlanUncertaintyBar->BudgetWindow();
    ASSERT_NE(budget, nullptr);
    auto* table = budget->findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    const TMixtureUncertainty& shown = *form->PlanUncertaintyBar->Shown();
    EXPECT_EQ(table->rowCount(), static_cast<int>(shown.Budget.size()) + 2);
    EXPECT_EQ(table->item(0, 0)->text().toStdString(), shown.Budget.front().Input);
    budget->close();
}

TEST_F(UncertaintyView, TheAccuracyEnteredIsRememberedAndUsed)
{
    form->RtIntegerEditGasAPPM->SetValue(2000);
    const std::string before = Expected();
    form->GroupBoxAccuracy->ControllerA.FullScale->setValue(0.5);
    TAccuracySettings entered;
    entered.ControllerA.FullScalePercent = 0.5;
    EXPECT_EQ(LoadRememberedAccuracy(), entered);
    EXPECT_EQ(Expected(), ExpectedFor(2000, 0, entered));
    EXPECT_NE(Expected(), before);

    // The next start shows what was entered.
    form.reset();
    MakeForm();
    EXPECT_EQ(form->GroupBoxAccuracy->Settings(), entered);
    RememberAccuracy(TAccuracySettings{});
}

TEST_F(UncertaintyView, TheRunReportIsSavedAsAPdf)
{
    form->RtIntegerEditGasAPPM->SetValue(2000);
    form->RtNumericUpDn1->SetValue(1.0);
    QTest::mouseClick(form->ButtonDilution, Qt::LeftButton);
    SyncWithMixer();
    RunDilution(0.002286 * 6, 6.0);
    form->Mixer().TotalizerB.StartTime = clock.Elapsed() - 6 * OneMinute;
    form->Mixer().StoreData();

    const std::string path = (folder / "report.pdf").string();
    dialogs.SaveAnswers.push_back(path);
    QTest::mouseClick(form->ButtonRunReport, Qt::LeftButton);
    ASSERT_EQ(dialogs.SaveDialogs.size(), 1u);
    EXPECT_EQ(dialogs.SaveDialogs[0].DefaultExt, "pdf");
    EXPECT_TRUE(dialogs.Errors.empty());

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QString::fromStdString(path), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char* expected : {"Run report", "Fake port for testing", "A (constant) in B", "Expected: 2 000 ± ",
                                 "Produced", "Plot"})
        EXPECT_TRUE(pdf.contains(QString::fromUtf8(expected))) << expected << "\nin: " << pdf.toStdString();
    EXPECT_FALSE(pdf.contains(QStringLiteral("no rows to average"))) << pdf.toStdString();

    dialogs.SaveAnswers.push_back((folder / "missing" / "report.pdf").string());
    QTest::mouseClick(form->ButtonRunReport, Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors.size(), 1u);
    EXPECT_EQ(dialogs.Errors[0].rfind("Could not write the run report to ", 0), 0u);
}

}  // namespace
}  // namespace gasmixer::test
