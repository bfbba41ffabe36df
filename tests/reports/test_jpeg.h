// JPEG pictures for the tests of the logo: made with libjpeg's compressor.
#ifndef TINDAVEL_TESTS_REPORTS_TEST_JPEG_H_
#define TINDAVEL_TESTS_REPORTS_TEST_JPEG_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

// A JPEG of width x height pixels: left half red, right half blue (dark and
// light in grey).
inline std::string makeJpeg(int width, int height, J_COLOR_SPACE space = JCS_RGB,
                            bool progressive = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = space == JCS_GRAYSCALE ? 1 : 3;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width * info.input_components));
  for (int x = 0; x < width; ++x) {
    if (space == JCS_GRAYSCALE) {
      row[static_cast<size_t>(x)] = x < width / 2 ? 40 : 220;
    } else {
      const bool left = x < width / 2;
      row[static_cast<size_t>(x * 3)] = left ? 230 : 10;
      row[static_cast<size_t>(x * 3 + 1)] = 10;
      row[static_cast<size_t>(x * 3 + 2)] = left ? 10 : 230;
    }
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

// A small JPEG whose frame header is made to claim width x height pixels.
inline std::string jpegClaiming(int width, int height) {
  std::string bytes = makeJpeg(16, 16);
  for (size_t i = 0; i + 9 < bytes.size(); ++i) {
    if (static_cast<uint8_t>(bytes[i]) == 0xFF && static_cast<uint8_t>(bytes[i + 1]) == 0xC0) {
      // FF C0, length (2), precision (1), height (2), width (2).
      bytes[i + 5] = static_cast<char>(height >> 8);
      bytes[i + 6] = static_cast<char>(height & 0xFF);
      bytes[i + 7] = static_cast<char>(width >> 8);
      bytes[i + 8] = static_cast<char>(width & 0xFF);
      break;
    }
  }
  return bytes;
}

#endif  // TINDAVEL_TESTS_REPORTS_TEST_JPEG_H_
