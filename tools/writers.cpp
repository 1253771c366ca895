#include "writers.h"

#include <jpeglib.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace gen {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Length, tag, data and the CRC over tag and data.
void putPngChunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& data) {
  putBig32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  putTag(out, tag);
  out.insert(out.end(), data.begin(), data.end());
  putBig32(out,
           static_cast<uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
}

void save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void writeBmp(const std::string& path, const Picture& picture) {
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.w) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(picture.h);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + pixelBytes);
  put32(out, 0);
  put32(out, 54);  // pixel data follows the two headers
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, static_cast<uint32_t>(picture.w));
  put32(out, static_cast<uint32_t>(picture.h));  // positive: rows stored bottom up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB, no compression
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = picture.h - 1; y >= 0; --y) {
    for (int x = 0; x < picture.w; ++x) {
      const uint8_t* p = picture.at(x, y);
      out.insert(out.end(), {p[2], p[1], p[0]});
    }
    out.resize(out.size() + (rowBytes - static_cast<uint32_t>(picture.w) * 3), 0);
  }
  save(path, out);
}

void writeWav(const std::string& path, int sampleRate, const std::vector<uint8_t>& samples) {
  const auto dataBytes = static_cast<uint32_t>(samples.size());
  const uint32_t pad = dataBytes & 1;  // RIFF chunks are word aligned
  std::vector<uint8_t> out;
  putTag(out, "RIFF");
  put32(out, 4 + (8 + 16) + (8 + dataBytes + pad));
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate));  // bytes per second
  put16(out, 1);                                  // bytes per frame
  put16(out, 8);
  putTag(out, "data");
  put32(out, dataBytes);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad) out.push_back(0);
  save(path, out);
}

void writeJpeg(const std::string& path, const Picture& picture, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.w);
  cinfo.image_height = static_cast<JDIMENSION>(picture.h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);  // JFIF header, YCbCr, sequential
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;  // still baseline, just smaller Huffman tables
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(picture.at(0, static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  save(path, std::vector<uint8_t>(buffer, buffer + size));
  std::free(buffer);
}

void writePng(const std::string& path, const RgbaPicture& picture) {
  std::vector<uint8_t> header;
  putBig32(header, static_cast<uint32_t>(picture.w));
  putBig32(header, static_cast<uint32_t>(picture.h));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  const size_t rowBytes = static_cast<size_t>(picture.w) * 4;
  std::vector<uint8_t> raw;
  for (int y = 0; y < picture.h; ++y) {
    raw.push_back(0);  // no filter: the icons are small and the output stays repeatable
    const auto row = picture.rgba.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("cannot deflate " + path);
  packed.resize(packedSize);
  std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  putPngChunk(out, "IHDR", header);
  putPngChunk(out, "IDAT", packed);
  putPngChunk(out, "IEND", {});
  save(path, out);
}

void writeText(const std::string& path, const std::string& text) {
  save(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace gen
