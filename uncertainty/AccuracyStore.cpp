#include "uncertainty/AccuracyStore.h"

#include "common/SettingsPath.h"

#include <QSettings>

#include <cmath>

namespace gasmixer {
namespace {

const QString Group = QStringLiteral("Accuracy");

// Each remembered number, its key and its valid range.
template <typename F>
void ForEachNumber(TAccuracySettings& a, F&& visit)
{
    const auto controller = [&](const char* prefix, TControllerAccuracy& c) {
        const QString p = QString::fromLatin1(prefix);
        visit(p + "ReadingPercent", c.ReadingPercent, 0.0, 100.0);
        visit(p + "FullScalePercent", c.FullScalePercent, 0.0, 100.0);
        visit(p + "RepeatabilityPercent", c.RepeatabilityPercent, 0.0, 100.0);
        visit(p + "TotalizerResolutionGrams", c.TotalizerResolutionGrams, 0.0, 1000.0);
    };
    controller("MfcA", a.ControllerA);
    controller("MfcB", a.ControllerB);
    const auto gas = [&](const char* prefix, TGasAccuracy& g) {
        const QString p = QString::fromLatin1(prefix);
        visit(p + "Purity", g.Purity, 0.0, 1.0);
        visit(p + "CertifiedPercent", g.CertifiedPercent, 0.0, 100.0);
    };
    gas("GasA", a.GasA);
    gas("GasB", a.GasB);
    visit(QStringLiteral("WaterTemperatureLimit"), a.Water.TemperatureLimit, 0.0, 50.0);
    visit(QStringLiteral("SaturationEfficiency"), a.Water.SaturationEfficiency, 0.5, 1.0);
    visit(QStringLiteral("SaturationLimit"), a.Water.SaturationLimit, 0.0, 0.5);
}

QString StatedAsKey(const char* prefix) { return QString::fromLatin1(prefix) + "StatedAs"; }
QString StatedAsText(TStatedAs statedAs)
{
    return statedAs == TStatedAs::Expanded ? QStringLiteral("expanded") : QStringLiteral("standard");
}

void LoadStatedAs(QSettings& settings, const char* prefix, TStatedAs& statedAs)
{
    const QString text = settings.value(StatedAsKey(prefix)).toString();
    if (text == QLatin1String("expanded")) statedAs = TStatedAs::Expanded;
    else if (text == QLatin1String("standard")) statedAs = TStatedAs::Standard;
}

QSettings ProgramSettings()
{
    return QSettings(QString::fromStdString(DefaultSettingsPath()), QSettings::IniFormat);
}

}  // namespace

TAccuracySettings LoadAccuracy(QSettings& settings)
{
    TAccuracySettings a;
    settings.beginGroup(Group);
    ForEachNumber(a, [&](const QString& key, double& value, double low, double high) {
        bool ok = false;
        const double read = settings.value(key).toDouble(&ok);
        if (ok && std::isfinite(read) && read >= low && read <= high) value = read;
    });
    LoadStatedAs(settings, "MfcA", a.ControllerA.AccuracyStatedAs);
    LoadStatedAs(settings, "MfcB", a.ControllerB.AccuracyStatedAs);
    settings.endGroup();
    return a;
}

void SaveAccuracy(QSettings& settings, const TAccuracySettings& accuracy)
{
    TAccuracySettings a = accuracy;
    settings.beginGroup(Group);
    ForEachNumber(a, [&](const QString& key, double& value, double, double) { settings.setValue(key, value); });
    settings.setValue(StatedAsKey("MfcA"), StatedAsText(a.ControllerA.AccuracyStatedAs));
    settings.setValue(StatedAsKey("MfcB"), StatedAsText(a.ControllerB.AccuracyStatedAs));
    settings.endGroup();
}

TAccuracySettings LoadRememberedAccuracy()
{
    QSettings settings = ProgramSettings();
    return LoadAccuracy(settings);
}

void RememberAccuracy(const TAccuracySettings& accuracy)
{
    QSettings settings = ProgramSettings();
    SaveAccuracy(settings, accuracy);
}

}  // namespace gasmixer
