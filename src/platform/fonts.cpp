#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace mirudanto::platform {

void InstallFontSubstitutions() {
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                             QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), QStringList{QStringLiteral("IPAGothic")});
  QFont::insertSubstitutions(QStringLiteral("MS 明朝"),
                             QStringList{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), QStringList{QStringLiteral("IPAMincho")});
}

}  // namespace mirudanto::platform
