// Decoding the operator's logo picture when it is a JPEG file, with the IJG
// decompression interface (libjpeg). No Qt: the logo loader (jpeg_logo.h)
// turns the pixels into a picture. Nothing here ever ends the process.
#ifndef TINDAVEL_REPORTS_JPEG_DECODE_H_
#define TINDAVEL_REPORTS_JPEG_DECODE_H_

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Largest picture we decode, in pixels. A logo is small; a file that claims
// more is either damaged or hostile, and decoding it would only eat memory.
inline constexpr int64_t kMaxLogoPixels = 40'000'000;
// Most memory libjpeg may use while decoding a logo. A progressive picture
// keeps all its coefficients while it decodes, whatever the output scale
// (about 3 bytes a pixel for usual colour pictures), so this refuses
// progressive pictures beyond about 30 million pixels.
inline constexpr long kMaxLogoDecodeBytes = 96L * 1024 * 1024;
// Longest side a logo is decoded to. The printed header gives the logo
// 48 x 26 mm, 1134 x 614 pixels at the printer's 600 dpi, and the settings
// window shows it in 105 pixels: a bigger picture is decoded scaled down
// (by 2, 4 or 8, as libjpeg can) until it fits, or as small as it goes.
inline constexpr int kMaxLogoSide = 1200;
// Largest picture file we read into memory.
inline constexpr int64_t kMaxLogoFileBytes = int64_t{64} * 1024 * 1024;

// A decoded JPEG: 8-bit RGB, rows top to bottom, no padding.
struct DecodedJpeg {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3 bytes
};

// True when the bytes start like a JPEG file (the SOI marker FF D8 FF).
bool looksLikeJpeg(std::string_view bytes);

// Decodes JPEG bytes through libjpeg, scaled down by 2, 4 or 8 when a side
// is longer than `maxSide`. Returns nullopt on any error the library
// reports (bad header, corrupt data, unsupported colour space, more memory
// than kMaxLogoDecodeBytes) and for pictures above kMaxLogoPixels. A file
// cut short decodes to what the library recovers (it pads the missing
// rows), as picture viewers do.
std::optional<DecodedJpeg> decodeJpeg(std::string_view bytes, int maxSide = kMaxLogoSide);

#endif  // TINDAVEL_REPORTS_JPEG_DECODE_H_
