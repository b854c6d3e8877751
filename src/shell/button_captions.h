// Button captions that more than one window shows.
#pragma once

#include <QString>

namespace vx::shell {

inline const QString kCloseCaption = QStringLiteral("Schli&eßen");
inline const QString kCancelCaption = QStringLiteral("&Abbruch");

}  // namespace vx::shell
