#include "mixer/SystemFormatSettings.h"

#include <QLocale>

namespace gasmixer {

FormatSettings SystemFormatSettings()
{
    const QLocale locale = QLocale::system();
    FormatSettings settings;
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1 && decimal.at(0).unicode() < 0x80) {
        settings.decimalSeparator = decimal.at(0).toLatin1();
    }
    // The time separator is whatever stands between hours and minutes.
    const QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype hour = timeFormat.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    for (qsizetype i = hour; hour >= 0 && i < timeFormat.size(); ++i) {
        const QChar c = timeFormat.at(i);
        if (c.toLower() == QLatin1Char('h')) continue;
        if (c.unicode() < 0x80 && !c.isLetterOrNumber() && !c.isSpace()) {
            settings.timeSeparator = c.toLatin1();
        }
        break;
    }
    for (int month = 1; month <= 12; ++month) {
        settings.shortMonthNames[static_cast<std::size_t>(month - 1)] =
            locale.monthName(month, QLocale::ShortFormat).toStdString();
    }
    return settings;
}

}  // namespace gasmixer
