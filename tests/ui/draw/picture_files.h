// Builders of small picture files for the decoder tests: GIF, ICO/CUR, WMF and plain BMP bytes
// written field by field, so every format is tested from data the test controls. Header-only,
// shared by the test files of this folder.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace sl::draw::test {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v);
void Put32(Bytes& b, std::uint32_t v);

// One image of a GIF file.
struct GifImageSpec {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<int> indices;  // palette indices (0 to 3), row by row
  Bytes lzwData;             // when not empty, the image's coded data as it stands
  bool withControl = true;   // a graphic control block before the image
  int delayCs = 0;
  int disposal = 0;  // 0 unspecified, 1 keep, 2 background, 3 previous
  int transparentIndex = -1;
  bool interlaced = false;  // rows stored in the four interlace passes
};

// A GIF89a with a 4-colour global palette (RGB triples), the images in order, and a looping
// extension when `loopCount` is given.
Bytes MakeAnimatedGif(int width, int height, const std::vector<std::uint32_t>& paletteRgb,
                      const std::vector<GifImageSpec>& images, std::optional<int> loopCount);

// A GIF89a with a 4-colour palette (RGB triples) and the given palette indices, row by row.
// `transparentIndex` < 0: no transparent colour.
Bytes MakeGif(int width, int height, const std::vector<std::uint32_t>& paletteRgb,
              const std::vector<int>& indices, int transparentIndex);

// One image of an icon file.
struct IconImageSpec {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // 1, 4 or 32
  // Straight RGBA colours (0xAARRGGBB) row by row, top first. For 1 and 4 bits the colour's RGB
  // must be one of the palette's (black, white, red ... see the .cpp).
  std::vector<std::uint32_t> pixels;
  std::vector<bool> mask;  // AND mask, true = transparent; empty: all false
  int hotX = 0;
  int hotY = 0;
};
// An ICO (cursor = false) or CUR file of the given images.
Bytes MakeIconFile(const std::vector<IconImageSpec>& images, bool cursor);

// A placeable metafile of `widthUnits` x `heightUnits` at 1000 units to the inch, filled with a
// solid rectangle of `colorRef` (&HBBGGRR) over the whole picture.
Bytes MakeWmf(int widthUnits, int heightUnits, std::uint32_t colorRef);

// A 32-bit BI_RGB BMP whose fourth bytes are all zero (as most such files have).
Bytes MakeBmp32(int width, int height, std::uint32_t rgb);

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

// A fresh temporary folder, removed by the destructor.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// LZW data of 4-colour image indices with 3-bit codes throughout: a clear code before every pair
// of pixels keeps the code table from growing past 8 entries. Clear = 4, end = 5.
inline Bytes GifLzwData(const std::vector<int>& indices) {
  std::vector<int> codes;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) codes.push_back(4);
    codes.push_back(indices[i]);
  }
  codes.push_back(5);
  Bytes data;
  std::uint32_t acc = 0;
  int bits = 0;
  for (int code : codes) {
    acc |= static_cast<std::uint32_t>(code) << bits;
    bits += 3;
    while (bits >= 8) {
      data.push_back(static_cast<std::uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) data.push_back(static_cast<std::uint8_t>(acc));
  return data;
}

inline Bytes MakeAnimatedGif(int width, int height, const std::vector<std::uint32_t>& paletteRgb,
                             const std::vector<GifImageSpec>& images,
                             std::optional<int> loopCount) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, static_cast<unsigned>(width));
  Put16(b, static_cast<unsigned>(height));
  b.insert(b.end(), {0xF1, 0, 0});  // global table of 4 colours
  for (int i = 0; i < 4; ++i) {
    std::uint32_t c = i < static_cast<int>(paletteRgb.size()) ? paletteRgb[i] : 0;
    b.insert(b.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c)});
  }
  if (loopCount) {
    b.insert(b.end(), {0x21, 0xFF, 11});
    for (char c : std::string("NETSCAPE2.0"))
      b.push_back(static_cast<std::uint8_t>(c));
    b.insert(b.end(), {3, 1});
    Put16(b, static_cast<unsigned>(*loopCount));
    b.push_back(0);
  }
  for (const GifImageSpec& image : images) {
    if (image.withControl) {
      bool transparent = image.transparentIndex >= 0;
      b.insert(b.end(), {0x21, 0xF9, 4,
                         static_cast<std::uint8_t>(image.disposal << 2 | (transparent ? 1 : 0))});
      Put16(b, static_cast<unsigned>(image.delayCs));
      b.push_back(static_cast<std::uint8_t>(transparent ? image.transparentIndex : 0));
      b.push_back(0);
    }
    b.push_back(0x2C);
    Put16(b, static_cast<unsigned>(image.left));
    Put16(b, static_cast<unsigned>(image.top));
    Put16(b, static_cast<unsigned>(image.width));
    Put16(b, static_cast<unsigned>(image.height));
    b.push_back(image.interlaced ? 0x40 : 0);
    std::vector<int> stored = image.indices;
    if (image.interlaced) {
      stored.clear();
      for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = start; y < image.height; y += step) {
          auto row = image.indices.begin() + static_cast<long>(y) * image.width;
          stored.insert(stored.end(), row, row + image.width);
        }
      }
    }
    Bytes data = image.lzwData.empty() ? GifLzwData(stored) : image.lzwData;
    b.push_back(2);  // minimum code size
    for (std::size_t at = 0; at < data.size(); at += 255) {
      std::size_t n = std::min<std::size_t>(255, data.size() - at);
      b.push_back(static_cast<std::uint8_t>(n));
      b.insert(b.end(), data.begin() + static_cast<long>(at),
               data.begin() + static_cast<long>(at + n));
    }
    b.push_back(0);
  }
  b.push_back(0x3B);
  return b;
}

inline Bytes MakeGif(int width, int height, const std::vector<std::uint32_t>& paletteRgb,
                     const std::vector<int>& indices, int transparentIndex) {
  GifImageSpec image;
  image.width = width;
  image.height = height;
  image.indices = indices;
  image.transparentIndex = transparentIndex;
  image.withControl = transparentIndex >= 0;
  return MakeAnimatedGif(width, height, paletteRgb, {image}, std::nullopt);
}

namespace detail {

// Palette of the 1- and 4-bit test images.
constexpr std::uint32_t kPalette[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                      0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};

inline int PaletteIndex(std::uint32_t argb) {
  for (int i = 0; i < 8; ++i) {
    if (kPalette[i] == (argb & 0xFFFFFF)) return i;
  }
  return 0;
}

inline Bytes IconDib(const IconImageSpec& im) {
  Bytes b;
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(im.width));
  Put32(b, static_cast<std::uint32_t>(im.height * 2));
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(im.bitsPerPixel));
  for (int i = 0; i < 6; ++i)
    Put32(b, 0);
  if (im.bitsPerPixel <= 8) {
    int entries = 1 << im.bitsPerPixel;
    for (int i = 0; i < entries; ++i) {
      std::uint32_t c = i < 8 ? kPalette[i] : 0;
      b.insert(b.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                         static_cast<std::uint8_t>(c >> 16), 0});
    }
  }
  std::size_t xorStride = ((static_cast<std::size_t>(im.width) * im.bitsPerPixel + 31) / 32) * 4;
  std::size_t andStride = ((static_cast<std::size_t>(im.width) + 31) / 32) * 4;
  for (int y = im.height - 1; y >= 0; --y) {
    Bytes row(xorStride, 0);
    for (int x = 0; x < im.width; ++x) {
      std::uint32_t c = im.pixels[static_cast<std::size_t>(y * im.width + x)];
      if (im.bitsPerPixel == 32) {
        row[x * 4] = static_cast<std::uint8_t>(c);
        row[x * 4 + 1] = static_cast<std::uint8_t>(c >> 8);
        row[x * 4 + 2] = static_cast<std::uint8_t>(c >> 16);
        row[x * 4 + 3] = static_cast<std::uint8_t>(c >> 24);
      } else if (im.bitsPerPixel == 4) {
        row[x / 2] |= static_cast<std::uint8_t>(PaletteIndex(c) << (x % 2 ? 0 : 4));
      } else {
        row[x / 8] |= static_cast<std::uint8_t>((PaletteIndex(c) & 1) << (7 - x % 8));
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int y = im.height - 1; y >= 0; --y) {
    Bytes row(andStride, 0);
    for (int x = 0; x < im.width; ++x) {
      if (!im.mask.empty() && im.mask[static_cast<std::size_t>(y * im.width + x)]) {
        row[x / 8] |= static_cast<std::uint8_t>(1 << (7 - x % 8));
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

}  // namespace detail

inline Bytes MakeIconFile(const std::vector<IconImageSpec>& images, bool cursor) {
  Bytes b;
  Put16(b, 0);
  Put16(b, cursor ? 2 : 1);
  Put16(b, static_cast<unsigned>(images.size()));
  std::vector<Bytes> dibs;
  for (const auto& im : images)
    dibs.push_back(detail::IconDib(im));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto& im = images[i];
    b.push_back(static_cast<std::uint8_t>(im.width));
    b.push_back(static_cast<std::uint8_t>(im.height));
    b.push_back(0);
    b.push_back(0);
    Put16(b, cursor ? static_cast<unsigned>(im.hotX) : 1);
    Put16(b, cursor ? static_cast<unsigned>(im.hotY) : static_cast<unsigned>(im.bitsPerPixel));
    Put32(b, static_cast<std::uint32_t>(dibs[i].size()));
    Put32(b, offset);
    offset += static_cast<std::uint32_t>(dibs[i].size());
  }
  for (const auto& d : dibs)
    b.insert(b.end(), d.begin(), d.end());
  return b;
}

// One metafile record: its size in 16-bit words, its function and its parameters (an even
// number of bytes).
inline void PutWmfRecord(Bytes& records, unsigned function, const Bytes& params) {
  Put32(records, static_cast<std::uint32_t>(3 + params.size() / 2));
  Put16(records, function);
  records.insert(records.end(), params.begin(), params.end());
}

inline Bytes WmfParams(std::initializer_list<unsigned> words) {
  Bytes b;
  for (unsigned w : words)
    Put16(b, w);
  return b;
}

// A placeable metafile of `widthUnits` x `heightUnits` at 1000 units to the inch: the window
// set to that size, then `records`, then the end record.
inline Bytes MakeWmfOf(int widthUnits, int heightUnits, const Bytes& drawing) {
  Bytes b;
  Put32(b, 0x9AC6CDD7);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<unsigned>(widthUnits));
  Put16(b, static_cast<unsigned>(heightUnits));
  Put16(b, 1000);  // units per inch
  Put32(b, 0);
  unsigned checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2)
    checksum ^= b[i] | b[i + 1] << 8;
  Put16(b, checksum);

  Bytes records;
  auto w = static_cast<unsigned>(widthUnits), h = static_cast<unsigned>(heightUnits);
  PutWmfRecord(records, 0x020B, WmfParams({0, 0}));  // window origin
  PutWmfRecord(records, 0x020C, WmfParams({h, w}));  // window extent
  records.insert(records.end(), drawing.begin(), drawing.end());
  PutWmfRecord(records, 0x0000, {});  // end
  std::uint32_t largest = 0;
  for (std::size_t at = 0; at < records.size();) {
    std::uint32_t words = records[at] | records[at + 1] << 8 | records[at + 2] << 16;
    largest = std::max(largest, words);
    at += 2 * std::size_t{words};
  }

  Put16(b, 1);  // metafile in a file
  Put16(b, 9);  // header words
  Put16(b, 0x0300);
  Put32(b, static_cast<std::uint32_t>((18 + records.size()) / 2));
  Put16(b, 2);        // objects
  Put32(b, largest);  // in words
  Put16(b, 0);
  b.insert(b.end(), records.begin(), records.end());
  return b;
}

inline Bytes MakeWmf(int widthUnits, int heightUnits, std::uint32_t colorRef) {
  Bytes drawing;
  auto w = static_cast<unsigned>(widthUnits), h = static_cast<unsigned>(heightUnits);
  PutWmfRecord(drawing, 0x02FC, WmfParams({0, colorRef & 0xFFFF, colorRef >> 16, 0}));  // brush
  PutWmfRecord(drawing, 0x012D, WmfParams({0}));                                        // select it
  PutWmfRecord(drawing, 0x01FA, WmfParams({5, 0, 0, 0, 0}));                            // null pen
  PutWmfRecord(drawing, 0x012D, WmfParams({1}));                                        // select it
  PutWmfRecord(drawing, 0x041B, WmfParams({h, w, 0, 0}));                               // rectangle
  return MakeWmfOf(widthUnits, heightUnits, drawing);
}

// A metafile that stretches a 2 x 2 24-bit bitmap over the whole picture; the bitmap's header
// claims `dibHeaderSize` bytes (40 in a sound file).
inline Bytes MakeWmfWithBitmap(int widthUnits, int heightUnits, std::uint32_t dibHeaderSize) {
  auto w = static_cast<unsigned>(widthUnits), h = static_cast<unsigned>(heightUnits);
  Bytes params;
  Put32(params, 0x00CC0020);  // copy the source
  for (unsigned v : {0u, 2u, 2u, 0u, 0u, h, w, 0u, 0u})
    Put16(params, v);  // colour use, source height, width, y, x, destination height, width, y, x
  Put32(params, dibHeaderSize);
  Put32(params, 2);
  Put32(params, 2);
  Put16(params, 1);
  Put16(params, 24);
  for (std::uint32_t v : {0u, 16u, 0u, 0u, 0u, 0u})
    Put32(params, v);
  params.insert(params.end(), 16, 0x80);  // two rows of 2 grey pixels, padded
  Bytes drawing;
  PutWmfRecord(drawing, 0x0F43, params);  // stretched device-independent bitmap
  return MakeWmfOf(widthUnits, heightUnits, drawing);
}

// An enhanced metafile of width x height pixels (at 96 DPI) filled with a rectangle of
// `colorRef` (&HBBGGRR), without an outline.
inline Bytes MakeEmf(int width, int height, std::uint32_t colorRef) {
  Bytes records;
  auto record = [&records](std::uint32_t type, std::initializer_list<std::uint32_t> params) {
    Put32(records, type);
    Put32(records, static_cast<std::uint32_t>(8 + 4 * params.size()));
    for (std::uint32_t p : params)
      Put32(records, p);
  };
  auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
  record(39, {1, 0, colorRef, 0});  // solid brush, handle 1
  record(37, {1});                  // select it
  record(37, {0x80000008});         // select the stock null pen
  record(43, {0, 0, w, h});         // rectangle
  record(14, {0, 16, 20});          // end of file
  Bytes b;
  Put32(b, 1);   // header record
  Put32(b, 88);  // its size
  for (std::uint32_t v : {0u, 0u, w - 1, h - 1})
    Put32(b, v);  // bounds in pixels
  // Frame in hundredths of a millimetre: pixels * 2540 / 96.
  for (std::uint32_t v : {0u, 0u, w * 2540 / 96, h * 2540 / 96})
    Put32(b, v);
  Put32(b, 0x464D4520);  // " EMF"
  Put32(b, 0x10000);
  Put32(b, static_cast<std::uint32_t>(88 + records.size()));
  Put32(b, 6);  // records
  Put16(b, 2);  // handles
  Put16(b, 0);
  Put32(b, 0);  // no description
  Put32(b, 0);
  Put32(b, 0);     // no palette
  Put32(b, 1024);  // reference device in pixels
  Put32(b, 768);
  Put32(b, 271);  // and in millimetres
  Put32(b, 203);
  b.insert(b.end(), records.begin(), records.end());
  return b;
}

inline Bytes MakeBmp32(int width, int height, std::uint32_t rgb) {
  Bytes b = {'B', 'M'};
  std::uint32_t pixels = static_cast<std::uint32_t>(width * height * 4);
  Put32(b, 54 + pixels);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 0);
  Put32(b, pixels);
  for (int i = 0; i < 4; ++i)
    Put32(b, 0);
  for (int i = 0; i < width * height; ++i) {
    b.insert(b.end(), {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
                       static_cast<std::uint8_t>(rgb >> 16), 0});
  }
  return b;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline TempFolder::TempFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() /
            ("sl_draw_" + name + "_" + std::to_string(::getpid()))) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

inline TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace sl::draw::test
