// PNG output: the file decodes to the raster's pixels, and a failed write leaves no file.
#include "platform/core/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tv {
namespace {

namespace fs = std::filesystem;

class PngWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::path(::testing::TempDir()) / (std::string("png_writer_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
};

Raster Decode(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Raster raster;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << image.message;
    return raster;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    ADD_FAILURE() << image.message;
    return raster;
  }
  raster.Resize(static_cast<int>(image.width), static_cast<int>(image.height), 0);
  for (std::size_t i = 0; i < raster.pixels.size(); ++i) {
    raster.pixels[i] = MakeRgb(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
  }
  return raster;
}

Raster Pattern(int width, int height) {
  Raster raster;
  raster.Resize(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      raster.Set(x, y, MakeRgb(static_cast<std::uint8_t>(x * 17), static_cast<std::uint8_t>(y * 29),
                               static_cast<std::uint8_t>((x ^ y) * 7)));
    }
  }
  return raster;
}

TEST_F(PngWriterTest, FileDecodesToTheRastersPixels) {
  const Raster raster = Pattern(13, 7);
  const fs::path path = folder_ / "pattern.png";
  std::string error;
  ASSERT_TRUE(WritePng(raster, path.string(), &error)) << error;

  const Raster decoded = Decode(path);
  EXPECT_EQ(decoded.width, 13);
  EXPECT_EQ(decoded.height, 7);
  EXPECT_EQ(decoded.pixels, raster.pixels);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"pattern.png"});
}

TEST_F(PngWriterTest, ReplacesAnExistingFile) {
  const fs::path path = folder_ / "snapshot.png";
  ASSERT_TRUE(WritePng(Pattern(20, 20), path.string(), nullptr));
  Raster grey;
  grey.Resize(3, 2, MakeRgb(0xC0, 0xC0, 0xC0));
  ASSERT_TRUE(WritePng(grey, path.string(), nullptr));

  const Raster decoded = Decode(path);
  EXPECT_EQ(decoded.width, 3);
  EXPECT_EQ(decoded.pixels, grey.pixels);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"snapshot.png"});
}

TEST_F(PngWriterTest, FailureReportsAndLeavesNoFileBehind) {
  struct Case {
    const char* name;
    Raster raster;
    fs::path path;
  };
  fs::create_directory(folder_ / "a_folder");
  const Case cases[] = {
      {"missing folder", Pattern(4, 4), folder_ / "missing" / "x.png"},
      {"target is a folder", Pattern(4, 4), folder_ / "a_folder"},
      {"empty image", Raster{}, folder_ / "empty.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(WritePng(c.raster, c.path.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"a_folder"});
    EXPECT_TRUE(fs::is_empty(folder_ / "a_folder"));
  }
}

}  // namespace
}  // namespace tv
