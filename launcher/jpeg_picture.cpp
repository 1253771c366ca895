#include "launcher/jpeg_picture.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <csetjmp>
#include <jpeglib.h>
// clang-format on

namespace {

// Far beyond any picture of the game; keeps a damaged header from asking for gigabytes.
constexpr JDIMENSION kLargestSide = 8192;

// libjpeg reports fatal errors through error_exit, which must not return: jump back.
struct JpegReader {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  std::jmp_buf escape;
};

void jumpOut(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegReader*>(cinfo->client_data)->escape, 1);
}

void stayQuiet(j_common_ptr) {}

// The functions that may jump hold only trivially destructible locals.
bool startReading(JpegReader& reader, std::span<const uint8_t> jpeg) {
  if (setjmp(reader.escape)) return false;
  jpeg_create_decompress(&reader.cinfo);
  jpeg_mem_src(&reader.cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  if (jpeg_read_header(&reader.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (reader.cinfo.image_width > kLargestSide || reader.cinfo.image_height > kLargestSide) {
    return false;
  }
  reader.cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&reader.cinfo);
  return reader.cinfo.output_components == 3;
}

bool readRows(JpegReader& reader, uint8_t* out) {
  if (setjmp(reader.escape)) return false;
  const size_t stride = size_t{reader.cinfo.output_width} * 3;
  while (reader.cinfo.output_scanline < reader.cinfo.output_height) {
    JSAMPROW row = out + stride * reader.cinfo.output_scanline;
    jpeg_read_scanlines(&reader.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&reader.cinfo);
  return true;
}

}  // namespace

std::optional<RgbPicture> decodeJpeg(std::span<const uint8_t> jpeg) {
  if (jpeg.empty()) return std::nullopt;
  JpegReader reader{};
  reader.cinfo.err = jpeg_std_error(&reader.errors);
  reader.errors.error_exit = jumpOut;
  reader.errors.output_message = stayQuiet;
  reader.cinfo.client_data = &reader;  // kept by jpeg_create_decompress
  RgbPicture picture;
  bool ok = startReading(reader, jpeg);
  if (ok) {
    picture.width = static_cast<int>(reader.cinfo.output_width);
    picture.height = static_cast<int>(reader.cinfo.output_height);
    picture.rgb.resize(size_t{reader.cinfo.output_width} * reader.cinfo.output_height * 3);
    ok = readRows(reader, picture.rgb.data());
  }
  jpeg_destroy_decompress(&reader.cinfo);
  if (!ok) return std::nullopt;
  return picture;
}
