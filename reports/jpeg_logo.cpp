#include "reports/jpeg_logo.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include <QImage>

QImage loadLogoImage(const std::string& path) {
  if (path.empty()) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size <= 0 || size > kMaxLogoFileBytes) return {};
  file.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!file.read(bytes.data(), size)) return {};

  if (looksLikeJpeg(bytes)) {
    std::optional<DecodedJpeg> decoded = decodeJpeg(bytes);
    if (!decoded) return {};
    QImage image(decoded->width, decoded->height, QImage::Format_RGB888);
    for (int y = 0; y < decoded->height; ++y) {
      const uint8_t* src = decoded->rgb.data() + static_cast<size_t>(y) * decoded->width * 3;
      std::copy(src, src + static_cast<size_t>(decoded->width) * 3, image.scanLine(y));
    }
    return image;
  }
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
  return image;
}
