#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

void install_font_substitutes()
{
    const QStringList faces = {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                               QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), faces);
}
