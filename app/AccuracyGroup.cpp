#include "app/AccuracyGroup.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

namespace gasmixer {
namespace {

constexpr int ExpandedIndex = 1;  // of the "stated as" lists

void ShowController(TAccuracyGroup::ControllerFields& f, const TControllerAccuracy& c)
{
    f.Reading->setValue(c.ReadingPercent);
    f.FullScale->setValue(c.FullScalePercent);
    f.StatedAs->setCurrentIndex(c.AccuracyStatedAs == TStatedAs::Expanded ? ExpandedIndex : 0);
    f.Repeatability->setValue(c.RepeatabilityPercent);
    f.TotalizerStep->setValue(c.TotalizerResolutionGrams);
}

TControllerAccuracy ReadController(const TAccuracyGroup::ControllerFields& f)
{
    TControllerAccuracy c;
    c.ReadingPercent = f.Reading->value();
    c.FullScalePercent = f.FullScale->value();
    c.AccuracyStatedAs = f.StatedAs->currentIndex() == ExpandedIndex ? TStatedAs::Expanded : TStatedAs::Standard;
    c.RepeatabilityPercent = f.Repeatability->value();
    c.TotalizerResolutionGrams = f.TotalizerStep->value();
    return c;
}

}  // namespace

TAccuracyGroup::TAccuracyGroup(QWidget* parent) : QGroupBox(QStringLiteral("Accuracy"), parent)
{
    const auto controller = [&](ControllerFields& f) {
        f.Reading = NewField(100, 2);
        f.FullScale = NewField(100, 3);
        f.StatedAs = NewStatedAs();
        f.Repeatability = NewField(100, 2);
        f.TotalizerStep = NewField(1, 6);
    };
    controller(ControllerA);
    controller(ControllerB);
    for (GasFields* g : {&GasA, &GasB}) {
        g->Purity = NewField(1, 6);
        g->Certified = NewField(100, 2);
    }
    WaterTemperature = NewField(50, 2);
    Saturation = NewField(50, 1);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Gas A"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Gas B"), this), 0, 2);
    int row = 1;
    const auto add = [&](const char* caption, QWidget* a, QWidget* b) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        grid->addWidget(a, row, 1);
        if (b) grid->addWidget(b, row, 2);
        ++row;
    };
    add("MFC ± % of reading", ControllerA.Reading, ControllerB.Reading);
    add("MFC ± % of full scale", ControllerA.FullScale, ControllerB.FullScale);
    add("MFC accuracy stated as", ControllerA.StatedAs, ControllerB.StatedAs);
    add("MFC repeatability ± %", ControllerA.Repeatability, ControllerB.Repeatability);
    add("Totalizer step (g)", ControllerA.TotalizerStep, ControllerB.TotalizerStep);
    add("Purity (mol/mol)", GasA.Purity, GasB.Purity);
    add("Premixed: certified ± % (k = 2)", GasA.Certified, GasB.Certified);
    add("Water temperature ± ºC", WaterTemperature, nullptr);
    add("Bubbler saturation ± %", Saturation, nullptr);
    SetSettings(TAccuracySettings{});
}

QDoubleSpinBox* TAccuracyGroup::NewField(double maximum, int decimals)
{
    auto* field = new QDoubleSpinBox(this);
    field->setDecimals(decimals);
    field->setRange(0, maximum);
    field->setSingleStep(maximum <= 1 ? 0.0001 : 0.1);
    connect(field, &QDoubleSpinBox::valueChanged, this, [this] { Edited(); });
    return field;
}

QComboBox* TAccuracyGroup::NewStatedAs()
{
    auto* list = new QComboBox(this);
    list->addItems({QStringLiteral("standard"), QStringLiteral("expanded (k = 2)")});
    connect(list, &QComboBox::currentIndexChanged, this, [this] { Edited(); });
    return list;
}

TAccuracySettings TAccuracyGroup::Settings() const
{
    TAccuracySettings a = shown_;
    a.ControllerA = ReadController(ControllerA);
    a.ControllerB = ReadController(ControllerB);
    a.GasA = {GasA.Purity->value(), GasA.Certified->value()};
    a.GasB = {GasB.Purity->value(), GasB.Certified->value()};
    a.Water.TemperatureLimit = WaterTemperature->value();
    a.Water.SaturationLimit = Saturation->value() / 100;
    return a;
}

void TAccuracyGroup::SetSettings(const TAccuracySettings& settings)
{
    showing_ = true;
    shown_ = settings;
    ShowController(ControllerA, settings.ControllerA);
    ShowController(ControllerB, settings.ControllerB);
    GasA.Purity->setValue(settings.GasA.Purity);
    GasA.Certified->setValue(settings.GasA.CertifiedPercent);
    GasB.Purity->setValue(settings.GasB.Purity);
    GasB.Certified->setValue(settings.GasB.CertifiedPercent);
    WaterTemperature->setValue(settings.Water.TemperatureLimit);
    Saturation->setValue(settings.Water.SaturationLimit * 100);
    showing_ = false;
}

void TAccuracyGroup::Edited()
{
    if (!showing_ && OnChanged) OnChanged(Settings());
}

}  // namespace gasmixer
