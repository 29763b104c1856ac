// SPDX-License-Identifier: GPL-3.0-or-later
#include "japanesefont.h"

#include <QStringList>

namespace JapaneseFont {

namespace {

QFont make(const QStringList &families, double points)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    return font;
}

} // namespace

QFont proportional(double points)
{
    return make(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")},
        points);
}

QFont monospaced(double points)
{
    return make({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")}, points);
}

} // namespace JapaneseFont
