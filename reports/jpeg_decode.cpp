#include "reports/jpeg_decode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <limits>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace {

// libjpeg's default error handler prints and calls exit(). Ours jumps back
// to decodeJpeg, so a damaged logo costs the report its logo, nothing more.
struct JumpingErrorManager {
  jpeg_error_mgr pub;  // must stay first: libjpeg sees only this part
  std::jmp_buf jumpBack;
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
  std::longjmp(manager->jumpBack, 1);
}

// Warnings (such as a file cut short) are not worth a word on stderr.
void stayQuiet(j_common_ptr) {}

uint8_t clampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

}  // namespace

bool looksLikeJpeg(std::string_view bytes) {
  return bytes.size() >= 3 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
         static_cast<uint8_t>(bytes[1]) == 0xD8 && static_cast<uint8_t>(bytes[2]) == 0xFF;
}

std::optional<DecodedJpeg> decodeJpeg(std::string_view bytes, int maxSide) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<unsigned long>::max())) {
    return std::nullopt;
  }
  // Everything touched after setjmp and read after a longjmp lives in
  // memory that setjmp does not restore: the result is built in `out`,
  // which is declared before setjmp and only read on the normal path.
  jpeg_decompress_struct info{};
  JumpingErrorManager errors{};
  DecodedJpeg out;
  std::vector<uint8_t> rowBuffer;

  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = jumpOnError;
  errors.pub.output_message = stayQuiet;
  if (setjmp(errors.jumpBack) != 0) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // Refuse an oversized picture before decoding starts: for a progressive
  // file libjpeg sets aside the whole picture's coefficients at the start,
  // so a damaged header claiming 60000 x 60000 pixels would cost gigabytes.
  // The memory cap makes libjpeg itself refuse anything bigger still.
  const int64_t claimed = static_cast<int64_t>(info.image_width) * info.image_height;
  if (info.image_width == 0 || info.image_height == 0 || claimed > kMaxLogoPixels) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  info.mem->max_memory_to_use = kMaxLogoDecodeBytes;
  // libjpeg scales by 1/2, 1/4 and 1/8 in its inverse transform, at no cost.
  const JDIMENSION longest = std::max(info.image_width, info.image_height);
  info.scale_num = 1;
  info.scale_denom = 1;
  while (info.scale_denom < 8 && (longest + info.scale_denom - 1) / info.scale_denom > static_cast<JDIMENSION>(maxSide)) {
    info.scale_denom *= 2;
  }

  // libjpeg converts grey and YCbCr to RGB itself; CMYK and YCCK it only
  // hands out as CMYK, which we turn into RGB below.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);

  const int64_t pixels = static_cast<int64_t>(info.output_width) * info.output_height;
  if (info.output_width == 0 || info.output_height == 0 || pixels > kMaxLogoPixels ||
      info.output_width > static_cast<JDIMENSION>(std::numeric_limits<int>::max())) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.assign(static_cast<size_t>(pixels) * 3, 0);
  const size_t components = static_cast<size_t>(info.output_components);
  rowBuffer.assign(static_cast<size_t>(out.width) * components, 0);
  // Adobe's encoders store CMYK inverted; the Adobe marker tells us so.
  const bool inverted = info.saw_Adobe_marker;

  while (info.output_scanline < info.output_height) {
    const size_t row = info.output_scanline;
    JSAMPROW rows[1] = {rowBuffer.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    uint8_t* dest = out.rgb.data() + row * static_cast<size_t>(out.width) * 3;
    if (!cmyk) {
      std::copy(rowBuffer.begin(), rowBuffer.begin() + static_cast<long>(out.width) * 3, dest);
      continue;
    }
    for (int x = 0; x < out.width; ++x) {
      const uint8_t* s = rowBuffer.data() + static_cast<size_t>(x) * 4;
      int c = s[0], m = s[1], y = s[2], k = s[3];
      if (!inverted) {
        c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
      }
      // With inverted samples, c*k/255 is already (1-C)(1-K) scaled to 255.
      dest[x * 3 + 0] = clampByte(c * k / 255);
      dest[x * 3 + 1] = clampByte(m * k / 255);
      dest[x * 3 + 2] = clampByte(y * k / 255);
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}
