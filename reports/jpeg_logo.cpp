#include "reports/jpeg_logo.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "settings/regular_file.h"

QImage loadLogoImage(const std::string& path) {
  std::ifstream file;
  if (openRegularFile(path, file) != FileProblem::kNone) return {};
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
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(static_cast<int>(kMaxLogoDecodeBytes / (1024L * 1024L)));  // in MB
  const QSize claimed = reader.size();
  if (claimed.isValid() && (claimed.width() > kMaxLogoSide || claimed.height() > kMaxLogoSide)) {
    if (static_cast<int64_t>(claimed.width()) * claimed.height() > kMaxLogoPixels) return {};
    reader.setScaledSize(claimed.scaled(kMaxLogoSide, kMaxLogoSide, Qt::KeepAspectRatio));
  }
  return reader.read();
}
