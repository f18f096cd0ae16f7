#include "fonts.h"

#include <QStringList>

#include "twips.h"

namespace tanabashigo {

QFont msPGothic(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPA PGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize * layoutZoom());
    font.setBold(bold);
    return font;
}

}  // namespace tanabashigo
