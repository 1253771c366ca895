#include "launcher/launcher_resources.h"

#include <QImage>
#include <cmath>
#include <string>

#include "assets/embedded.h"
#include "launcher/font_match.h"
#include "launcher/jpeg_picture.h"

namespace {

// The layout is in pixels, so fonts are sized in pixels too: a point is 1/72 inch at the
// usual 96 pixels per inch, whatever the display reports.
int pointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

// The launcher's fixed layout was made for small dialog fonts; 10 pixels is the largest
// Arial-metric size at which every label and button text fits its control.
constexpr int kControlFontPixels = 10;

QFont pixelFont(const std::string& face, int pixels, int weight = QFont::Normal) {
  QFont font(QString::fromStdString(matchFontFamily(face)));
  font.setPixelSize(pixels);
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}

QPixmap titlePicture() {
  const std::optional<RgbPicture> picture = decodeJpeg(embeddedFile("title.jpg"));
  if (!picture) return {};
  const QImage image(picture->rgb.data(), picture->width, picture->height, picture->width * 3,
                     QImage::Format_RGB888);
  return QPixmap::fromImage(image);  // copies the pixels
}

QPixmap classPicture(int klasse) {
  const std::span<const uint8_t> bmp = embeddedFile("ship" + std::to_string(klasse) + ".bmp");
  QPixmap picture;
  picture.loadFromData(bmp.data(), static_cast<uint>(bmp.size()), "BMP");
  return picture;
}

}  // namespace

LauncherResources loadLauncherResources() {
  LauncherResources resources;
  resources.pictures[0] = titlePicture();
  for (int klasse = 0; klasse < 8; ++klasse) resources.pictures[klasse + 1] = classPicture(klasse);
  resources.classTitleFont = pixelFont("arial", pointsToPixels(14));
  resources.headingFont = pixelFont("Arial", pointsToPixels(9), QFont::Bold);
  resources.controlFont = pixelFont("arial", kControlFontPixels);
  return resources;
}
