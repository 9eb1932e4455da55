// gdi-probe: draws one-pixel lines with the system's own GDI into a memory bitmap and
// writes out the pixels that each line lit, so that our canvas can be held against the
// real thing pixel for pixel.
//
//   gdi-probe TABLE OUT
//
// TABLE has one command a line:
//   raster W H                 the bitmap for the lines that follow (white, W x H)
//   line X0 Y0 X1 Y1 [: ...]   MoveToEx(X0, Y0), then LineTo(X1, Y1) with the default
//                              black pen on a freshly whitened bitmap
// Blank lines and lines starting with '#' are copied as they are. OUT receives the
// same table with every line command followed by " :" and the lit pixels as " x,y",
// row by row, so a table written by this program can be read by it again and the
// output compared with the input byte for byte.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = static_cast<const DWORD*>(bits);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool ok() const { return pixels_ != nullptr && previous_ != nullptr; }

  // The pixels that a line from (x0, y0) to (x1, y1) lights, as " x,y" row by row.
  std::string Line(int x0, int y0, int x1, int y1) {
    PatBlt(dc_, 0, 0, width_, height_, WHITENESS);
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    MoveToEx(dc_, x0, y0, nullptr);
    LineTo(dc_, x1, y1);
    GdiFlush();
    std::string lit;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if ((pixels_[y * width_ + x] & 0xFFFFFF) != 0xFFFFFF) {
          lit += ' ' + std::to_string(x) + ',' + std::to_string(y);
        }
      }
    }
    return lit;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const DWORD* pixels_ = nullptr;
};

int Fail(int line, const std::string& message) {
  std::cerr << "gdi-probe: line " << line << ": " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: gdi-probe TABLE OUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "gdi-probe: cannot read " << argv[1] << '\n';
    return 1;
  }
  std::ostringstream out;
  std::unique_ptr<MemoryBitmap> bitmap;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    std::string verb;
    if (!(words >> verb) || verb[0] == '#') {
      out << text << '\n';
      continue;
    }
    if (verb == "raster") {
      int width = 0;
      int height = 0;
      if (!(words >> width >> height) || width <= 0 || height <= 0 || width > 4096 ||
          height > 4096) {
        return Fail(number, "raster needs a width and a height from 1 to 4096");
      }
      bitmap.reset();
      bitmap = std::make_unique<MemoryBitmap>(width, height);
      if (!bitmap->ok()) return Fail(number, "cannot create the bitmap");
      out << "raster " << width << ' ' << height << '\n';
    } else if (verb == "line") {
      int x0, y0, x1, y1;
      if (!(words >> x0 >> y0 >> x1 >> y1)) return Fail(number, "line needs X0 Y0 X1 Y1");
      if (!bitmap) return Fail(number, "line before raster");
      out << "line " << x0 << ' ' << y0 << ' ' << x1 << ' ' << y1 << " :"
          << bitmap->Line(x0, y0, x1, y1) << '\n';
    } else {
      return Fail(number, "unknown command " + verb);
    }
  }
  bitmap.reset();
  std::ofstream file(argv[2], std::ios::binary);
  file << out.str();
  if (!file.flush()) {
    std::cerr << "gdi-probe: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
