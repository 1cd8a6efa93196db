#include "common/qt/font_substitutions.h"

#include <QFont>
#include <QStringList>

namespace duvelin {

void InstallFontSubstitutions() {
  const QStringList installed = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                                 QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN")};
  const QStringList named = {QStringLiteral("宋体"), QStringLiteral("新宋体"), QStringLiteral("SimSun"),
                             QStringLiteral("NSimSun"), QStringLiteral("隶书"), QStringLiteral("LiSu"),
                             QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("楷体_GB2312"),
                             QStringLiteral("仿宋_GB2312")};
  for (const QString& name : named) QFont::insertSubstitutions(name, installed);
}

}  // namespace duvelin
