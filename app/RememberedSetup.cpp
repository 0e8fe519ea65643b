#include "app/RememberedSetup.h"

#include <QSettings>

namespace gasmixer {
namespace {

constexpr const char* Group = "Setup";

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string TextOf(const QSettings& settings, const char* key)
{
    return settings.value(key).toString().toStdString();
}

int IntegerOf(const QSettings& settings, const char* key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

std::optional<TRememberedSetup> ReadRememberedSetup(const std::string& path)
{
    QSettings settings(Text(path), QSettings::IniFormat);
    if (!settings.childGroups().contains(QString::fromLatin1(Group))) return std::nullopt;
    settings.beginGroup(Group);
    TRememberedSetup setup;
    setup.RelayPort = TextOf(settings, "relay_port");
    setup.MfcPort = TextOf(settings, "mfc_port");
    setup.GasA = TextOf(settings, "gas_a");
    setup.GasB = TextOf(settings, "gas_b");
    setup.GasAPpm = IntegerOf(settings, "a_ppm", setup.GasAPpm);
    setup.H2OPpm = IntegerOf(settings, "h2o_ppm", setup.H2OPpm);
    bool ok = false;
    const double limit = settings.value("b_limit").toDouble(&ok);
    if (ok) setup.GasBLimit = limit;
    setup.StoreInterval = IntegerOf(settings, "store_interval", setup.StoreInterval);
    setup.AutosaveName = TextOf(settings, "autosave_name");
    return setup;
}

bool WriteRememberedSetup(const std::string& path, const TRememberedSetup& setup)
{
    QSettings settings(Text(path), QSettings::IniFormat);
    settings.beginGroup(Group);
    settings.setValue("relay_port", Text(setup.RelayPort));
    settings.setValue("mfc_port", Text(setup.MfcPort));
    settings.setValue("gas_a", Text(setup.GasA));
    settings.setValue("gas_b", Text(setup.GasB));
    settings.setValue("a_ppm", setup.GasAPpm);
    settings.setValue("h2o_ppm", setup.H2OPpm);
    if (setup.GasBLimit) settings.setValue("b_limit", *setup.GasBLimit);
    else settings.remove("b_limit");
    settings.setValue("store_interval", setup.StoreInterval);
    settings.setValue("autosave_name", Text(setup.AutosaveName));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace gasmixer
