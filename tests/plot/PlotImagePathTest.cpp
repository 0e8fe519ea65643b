#include "app/PlotImagePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

// Answers the save dialog and the question from a script.
class ScriptedSaveDialogs final : public OperatorDialogs {
public:
    std::optional<std::string> path;
    bool replace = false;
    SaveDialogSettings shown;
    int questions = 0;

    void Information(const std::string&) override {}
    bool Question(const std::string&, const std::string&) override
    {
        ++questions;
        return replace;
    }
    void Error(const std::string&) override {}
    std::optional<std::string> SaveFile(const SaveDialogSettings& settings) override
    {
        shown = settings;
        return path;
    }
};

TEST(PlotImagePath, OffersPngAndReplacesAnExistingFileOnlyWhenAgreed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScriptedSaveDialogs dialogs;

    EXPECT_FALSE(AskPlotImagePath(dialogs));  // cancelled
    EXPECT_EQ(dialogs.shown.DefaultExt, "png");
    EXPECT_EQ(dialogs.shown.Filter, "PNG image (*.png)");

    const std::string fresh = dir.filePath(QStringLiteral("new.png")).toStdString();
    dialogs.path = fresh;
    EXPECT_EQ(AskPlotImagePath(dialogs), fresh);
    EXPECT_EQ(dialogs.questions, 0);

    const QString existing = dir.filePath(QStringLiteral("old.png"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    dialogs.path = existing.toStdString();
    EXPECT_FALSE(AskPlotImagePath(dialogs));
    dialogs.replace = true;
    EXPECT_EQ(AskPlotImagePath(dialogs), existing.toStdString());
    EXPECT_EQ(dialogs.questions, 2);
}

}  // namespace
}  // namespace gasmixer
