#include "app/Fonts.h"

#include <QStringList>

namespace gasmixer {

QFont WindowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

QFont CourierNewFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(8);
    return font;
}

}  // namespace gasmixer
