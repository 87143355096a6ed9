// The picture device: the files of each format, the same terminal lines
// as the PostScript device, and the page's geometry read back from a PNG.
#ifdef VESKARO_CAIRO_DEVICE

#include <cairo.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/cairo/cairo_device.h"
#include "tests/page_fixture.h"

namespace veskaro {
namespace {

using Format = CairoDevice::Format;

class CairoTest : public PageFolderTest,
                  public ::testing::WithParamInterface<Format> {};

constexpr const char* kSent =
    "============== SENDING PLOT   1 ============== \n";

TEST_P(CairoTest, PagesAreFilesAsOnThePostScriptDevice) {
  CairoDevice dev(GetParam(), dir_.string(), term_);
  two_page_run(dev);
  const std::vector<std::string> got = files();
  switch (GetParam()) {
    case Format::kPdf:
      ASSERT_EQ(got, std::vector<std::string>{"PLOT0001.pdf"});
      EXPECT_TRUE(file(got[0]).starts_with("%PDF-"));
      EXPECT_NE(file(got[0]).find("/Count 2"), std::string::npos);
      EXPECT_EQ(terminal(), std::string(kSent) +
                                "============== SENDING PLOT   2 "
                                "============== \n");
      return;
    case Format::kSvg:
      ASSERT_EQ(got,
                (std::vector<std::string>{"PLOT0001.svg", "PLOT0002.svg"}));
      for (const std::string& name : got) {
        const std::string svg = file(name);
        EXPECT_NE(svg.find("viewBox=\"0 0 792 612\""), std::string::npos);
        // White first; strokes only, no text or picture.
        EXPECT_LT(svg.find("<rect"), svg.find("<path"));
        EXPECT_EQ(svg.find("<image"), std::string::npos);
        EXPECT_EQ(svg.find("<text"), std::string::npos);
      }
      break;
    case Format::kPng:
      ASSERT_EQ(got,
                (std::vector<std::string>{"PLOT0001.png", "PLOT0002.png"}));
      break;
  }
  EXPECT_EQ(terminal(), std::string(kSent) + kSent);
}

TEST_P(CairoTest, RunWithoutDrawingLeavesNoFile) {
  {
    CairoDevice dev(GetParam(), dir_.string(), term_);
    dev.daruvuza();
    dev.nextplot();
    dev.endplots();
  }
  EXPECT_TRUE(files().empty());
  EXPECT_EQ(terminal(), "");
}

TEST_P(CairoTest, UnwritableFolderStopsTheRunNamingTheFile) {
  EXPECT_EXIT(
      {
        CairoDevice dev(GetParam(), "/nonexistent-veskaro-folder");
        dev.daruvuza();
        dev.plot(1.0F, 1.0F, 2);
      },
      ::testing::ExitedWithCode(2), "/nonexistent-veskaro-folder/PLOT0001");
}

INSTANTIATE_TEST_SUITE_P(Formats, CairoTest,
                         ::testing::Values(Format::kPdf, Format::kSvg,
                                           Format::kPng));

// The PostScript page turned upright: a point the PostScript records put
// at (x, y) lands (27 + x, 27 + y) points from the lower-left corner, at
// 150 pixels per inch, in the pen's colour on white.
TEST_F(PageFolderTest, PngPageLiesWhereThePostScriptPageDoes) {
  CairoDevice dev(Format::kPng, dir_.string(), term_);
  two_page_run(dev);
  const auto pixel = [this](const char* name, double x, double y) {
    cairo_surface_t* png =
        cairo_image_surface_create_from_png((dir_ / name).c_str());
    EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 1650);
    EXPECT_EQ(cairo_image_surface_get_height(png), 1275);
    const double scale = 150.0 / 72.0;
    const auto column = static_cast<int>((27.0 + x) * scale);
    const auto row = static_cast<int>((612.0 - 27.0 - y) * scale);
    const unsigned char* data = cairo_image_surface_get_data(png);
    const auto value = *reinterpret_cast<const std::uint32_t*>(
        data + row * cairo_image_surface_get_stride(png) + column * 4);
    cairo_surface_destroy(png);
    return value & 0xFFFFFFU;
  };
  // The lines are 1.25 pixels wide, so their pixels are shaded: the
  // colour is told by which channels are strong.
  constexpr std::uint32_t kGray = 0x4B4B4BU;
  constexpr std::uint32_t kRed = 0xFF4B4BU;
  constexpr std::uint32_t kWhite = 0xFFFFFFU;
  // Page 1: a black diagonal from (25.2, 15.3) to (76.1, 66.2) records.
  EXPECT_EQ(pixel("PLOT0001.png", 50.65, 40.75), kGray);
  EXPECT_EQ(pixel("PLOT0001.png", 60.0, 30.0), kWhite);
  EXPECT_EQ(pixel("PLOT0001.png", 700.0, 500.0), kWhite);
  // Page 2: a red diagonal from (76.1, 66.2) to (127.1, 117.2).
  EXPECT_EQ(pixel("PLOT0002.png", 101.6, 91.7), kRed);
  EXPECT_EQ(pixel("PLOT0002.png", 50.65, 40.75), kWhite);
}

}  // namespace
}  // namespace veskaro

#endif  // VESKARO_CAIRO_DEVICE
