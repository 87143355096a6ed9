// Compares two renderings of one page, PNG files of one size: every pixel
// of ink in one must have ink of the same colour family within a few
// pixels in the other, and the other way round. Antialiased edges differ
// from one renderer to the next; a line that is missing, moved or drawn
// in another colour does not pass.
//
//   inkcompare REFERENCE.png PICTURE.png [RADIUS]
//
// Exit status 0 when they match, 1 when not (with a line saying how far
// they differ), 2 when a file cannot be read.
#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Gray (black), red, orange and brown, green, blue, magenta and purple:
// the pens' colours as they survive antialiasing against white.
constexpr int kFamilies = 6;
constexpr std::array<const char*, kFamilies> kNames = {
    "black", "red", "orange", "green", "blue", "magenta"};

struct Image {
  int width = 0, height = 0;
  // The colour family of each pixel, or -1 for none (white paper).
  std::vector<std::int8_t> family;
};

int family_of(int r, int g, int b) {
  const int hi = std::max({r, g, b});
  const int lo = std::min({r, g, b});
  if (lo > 200) return -1;  // paper, or the faintest edge of a line
  if (hi - lo < 48) return 0;
  const double hue =
      std::atan2(std::sqrt(3.0) * (g - b), 2.0 * r - g - b) * 180.0 / M_PI;
  const double h = hue < 0 ? hue + 360.0 : hue;
  if (h < 15 || h >= 330) return 1;
  if (h < 60) return 2;
  if (h < 180) return 3;
  if (h < 270) return 4;
  return 5;
}

bool load(const char* name, Image& image) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(name);
  if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "inkcompare: cannot read %s: %s\n", name,
                 cairo_status_to_string(cairo_surface_status(png)));
    cairo_surface_destroy(png);
    return false;
  }
  // Any format is drawn onto an opaque white page first.
  image.width = cairo_image_surface_get_width(png);
  image.height = cairo_image_surface_get_height(png);
  cairo_surface_t* rgb =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  cairo_t* cr = cairo_create(rgb);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_surface(cr, png, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(rgb);
  const unsigned char* data = cairo_image_surface_get_data(rgb);
  const int stride = cairo_image_surface_get_stride(rgb);
  image.family.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t v = 0;
      std::copy_n(data + y * stride + x * 4, 4,
                  reinterpret_cast<unsigned char*>(&v));
      image.family[static_cast<std::size_t>(y) * image.width + x] =
          static_cast<std::int8_t>(
              family_of((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
  }
  cairo_surface_destroy(rgb);
  cairo_surface_destroy(png);
  return true;
}

// Marks every pixel within `radius` (a square) of a pixel of family f, or
// of any ink for family 0: where lines of complementary colours cross,
// their shaded edges blend into gray.
std::vector<bool> near(const Image& im, int f, int radius) {
  const auto inked = [&im, f](std::size_t i) {
    return f == 0 ? im.family[i] >= 0 : im.family[i] == f;
  };
  const int w = im.width, h = im.height;
  std::vector<bool> rows(im.family.size()), out(im.family.size());
  for (int y = 0; y < h; ++y) {
    int last = -1000000;
    for (int x = 0; x < w + radius; ++x) {
      if (x < w && inked(static_cast<std::size_t>(y) * w + x)) last = x;
      const int at = x - radius;
      if (at >= 0 && x - last <= 2 * radius) {
        rows[static_cast<std::size_t>(y) * w + at] = true;
      }
    }
  }
  for (int x = 0; x < w; ++x) {
    int last = -1000000;
    for (int y = 0; y < h + radius; ++y) {
      if (y < h && rows[static_cast<std::size_t>(y) * w + x]) last = y;
      const int at = y - radius;
      if (at >= 0 && y - last <= 2 * radius) {
        out[static_cast<std::size_t>(at) * w + x] = true;
      }
    }
  }
  return out;
}

// Ink pixels of `a` with no ink of their family near them in `b` (black
// ones with no ink at all).
bool covered(const Image& a, const Image& b, int radius, const char* which) {
  bool ok = true;
  for (int f = 0; f < kFamilies; ++f) {
    long ink = 0;
    long stray = 0;
    const std::vector<bool> around = near(b, f, radius);
    for (std::size_t i = 0; i < a.family.size(); ++i) {
      if (a.family[i] != f) continue;
      ++ink;
      if (!around[i]) ++stray;
    }
    // A few pixels where lines of two colours cross or touch may blend
    // into a third family.
    if (stray > 20 + ink / 200) {
      const std::string kind = f == 0 ? "" : std::string(kNames[f]) + " ";
      std::printf("%s: %ld of %ld %s pixels have no %sink within %d pixels\n",
                  which, stray, ink, kNames[f], kind.c_str(), radius);
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: inkcompare REFERENCE.png PICTURE.png [RADIUS]\n");
    return 2;
  }
  const int radius = argc > 3 ? std::atoi(argv[3]) : 2;
  Image a, b;
  if (!load(argv[1], a) || !load(argv[2], b)) return 2;
  if (a.width != b.width || a.height != b.height) {
    std::printf("sizes differ: %dx%d and %dx%d\n", a.width, a.height, b.width,
                b.height);
    return 1;
  }
  const bool ok =
      covered(a, b, radius, "reference") & covered(b, a, radius, "picture");
  return ok ? 0 : 1;
}
