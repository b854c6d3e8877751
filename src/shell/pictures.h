// The program's pictures, drawn in code.
#pragma once

#include <QImage>
#include <QPixmap>

namespace vx::shell {

// The database icon, 24 x 21: a stack of disks on pure red, which takes the row background.
QImage DatabaseIcon();
// Copy of the icon with every pure red pixel replaced by the background.
QImage IconOnBackground(const QImage& icon, QRgb background);
// The logo of the panel on the main window; the transparent form leaves its backdrop open.
QPixmap LogoPicture(int width, int height, bool transparent);
// The settings button's picture (a gear) and the create button's picture (a new disk).
QPixmap SettingsPicture();
QPixmap NewDatabasePicture();

}  // namespace vx::shell
