#include "uncertainty/AccuracyStore.h"
#include "tests/support/ScopedEnv.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace gasmixer {
namespace {

class AccuracyStore : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        configHome_.emplace("XDG_CONFIG_HOME", folder_.path().toLocal8Bit().constData());
    }

    QString ConfFile() const { return folder_.path() + "/gasmixer/gasmixer.conf"; }

    QTemporaryDir folder_;
    std::optional<test::ScopedEnv> configHome_;
};

TEST_F(AccuracyStore, NothingRememberedGivesTheDefaults)
{
    EXPECT_EQ(LoadRememberedAccuracy(), TAccuracySettings{});
}

TEST_F(AccuracyStore, RemembersEveryValueInItsOwnGroup)
{
    TAccuracySettings a;
    a.ControllerA = {1.0, 0.3, TStatedAs::Standard, 0.15, 0.001};
    a.ControllerB.ReadingPercent = 0.8;
    a.GasA.Purity = 0.9995;
    a.GasB.CertifiedPercent = 2.0;
    a.Water = {0.2, 0.99, 0.01};
    RememberAccuracy(a);
    EXPECT_TRUE(QFile::exists(ConfFile()));
    EXPECT_EQ(LoadRememberedAccuracy(), a);

    QSettings other(ConfFile(), QSettings::IniFormat);
    other.setValue(QStringLiteral("Setup/Port"), QStringLiteral("kept"));
    other.sync();
    EXPECT_EQ(other.value(QStringLiteral("Accuracy/MfcAStatedAs")).toString(), QStringLiteral("standard"));
    RememberAccuracy(TAccuracySettings{});
    QSettings reread(ConfFile(), QSettings::IniFormat);
    EXPECT_EQ(reread.value(QStringLiteral("Setup/Port")).toString(), QStringLiteral("kept"));
}

TEST_F(AccuracyStore, UnreadableOrOutOfRangeValuesReadAsDefaults)
{
    {
        QSettings file(ConfFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("Accuracy/MfcAReadingPercent"), QStringLiteral("a lot"));
        file.setValue(QStringLiteral("Accuracy/GasAPurity"), 1.5);
        file.setValue(QStringLiteral("Accuracy/WaterTemperatureLimit"), QStringLiteral("nan"));
        file.setValue(QStringLiteral("Accuracy/MfcBStatedAs"), QStringLiteral("roughly"));
        file.setValue(QStringLiteral("Accuracy/MfcBFullScalePercent"), 0.25);
    }
    TAccuracySettings expected;
    expected.ControllerB.FullScalePercent = 0.25;
    EXPECT_EQ(LoadRememberedAccuracy(), expected);
}

}  // namespace
}  // namespace gasmixer
