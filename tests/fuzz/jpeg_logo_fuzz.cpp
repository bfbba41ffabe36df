// Fuzz target: the logo picture's JPEG decoder.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "reports/jpeg_decode.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)looksLikeJpeg(bytes);
  const std::optional<DecodedJpeg> picture = decodeJpeg(bytes);
  if (picture) {
    fuzz::check(picture->width > 0 && picture->height > 0, "a decoded picture has pixels");
    fuzz::check(int64_t{picture->width} * picture->height <= kMaxLogoPixels, "no picture above the limit");
    fuzz::check(picture->rgb.size() == static_cast<size_t>(picture->width) * picture->height * 3,
                "three bytes a pixel");
  }
  return 0;
}
