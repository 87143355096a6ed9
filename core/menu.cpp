// The option menu's strip and grid: cutting them out of the drawable area,
// reading the captions, drawing the strip and turning a mouse pick into an
// option number.
#include "core/menu.h"

#include <cctype>
#include <string>

namespace veskaro {

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr int kOptions = kColumns * kRows;
constexpr int kCaption = 10;

// Reads the right-justified option number of columns 1-3 the way a
// fixed-column integer field is read: blanks are ignored, an all-blank
// field is 0. Returns false when the field holds anything else.
bool option_number(std::string_view field, int& number) {
  int sign = 1;
  int value = 0;
  bool digits = false;
  bool signed_already = false;
  for (const char ch : field) {
    if (ch == ' ') continue;
    if ((ch == '+' || ch == '-') && !digits && !signed_already) {
      signed_already = true;
      if (ch == '-') sign = -1;
      continue;
    }
    if (std::isdigit(static_cast<unsigned char>(ch)) == 0) return false;
    digits = true;
    value = value * 10 + (ch - '0');
  }
  number = sign * value;
  return true;
}

}  // namespace

void mysized(Core& c, Edges& X, Edges& Y) {
  std::array<float, 2> xs{};
  std::array<float, 2> ys{};
  c.dev.mysize(xs, ys);
  X = {xs[0], xs[1]};
  Y = {ys[0], ys[1]};
}

void mouseyd(Core& c, int& KWAY, double& X, double& Y, int IWAIT, int KEYOK) {
  float xs = 0.0F;
  float ys = 0.0F;
  // The user may end the program while it waits: the listing goes to
  // disk first.
  c.files.lst.flush();
  c.dev.mousey(KWAY, xs, ys, IWAIT, KEYOK);
  // A closed window ends the run as the menu's end option does.
  if (KWAY == kWindowClosed) endit(c);
  X = xs;
  Y = ys;
}

void setmouse(Core& c) {
  auto& pg = c.pg;
  auto& mn = c.mn;
  Edges x{};
  Edges y{};
  mysized(c, x, y);
  pg.XPMIN = x[0];
  pg.XPMAX = x[1];
  pg.YPMIN = y[0];
  pg.YPMAX = y[1];

  const double dx = (pg.XPMAX - pg.XPMIN) / kColumns;
  mn.XBOXES(1) = pg.XPMIN;
  for (int i = 2; i <= kColumns + 1; ++i) mn.XBOXES(i) = mn.XBOXES(i - 1) + dx;

  // Of 30 rows, the top one is the strip's title row and the next five
  // hold the cells.
  const double dy = (pg.YPMAX - pg.YPMIN) / 30;
  mn.YBOXES(1) = pg.YPMAX - dy;
  for (int i = 2; i <= kRows + 1; ++i) mn.YBOXES(i) = mn.YBOXES(i - 1) - dy;

  mn.TOPXY(1) = static_cast<float>(pg.XPMIN);
  mn.TOPXY(2) = static_cast<float>(pg.XPMAX);
  mn.TOPXY(3) = static_cast<float>(mn.YBOXES(kRows + 1));
  mn.TOPXY(4) = static_cast<float>(pg.YPMAX);

  // The plots stay below the strip.
  pg.YPMAX = mn.YBOXES(kRows + 1) - static_cast<double>(0.01F);

  // A rotated layout takes the device's y range as its x extent and the
  // device's x range as its y extent; hand the area over that way so the
  // cells stay inside the window and below the strip.
  if (pg.IROTAT == 1) {
    const double xlo = pg.XPMIN;
    const double xhi = pg.XPMAX;
    pg.XPMIN = pg.YPMIN;
    pg.XPMAX = pg.YPMAX;
    pg.YPMIN = xlo;
    pg.YPMAX = xhi;
  }

  topper(c);
}

void readcaptions(Core& c) {
  RecordReader in;
  in.open(c.rs.menu.caption_file);
  readcaptions(c, in);
}

void readcaptions(Core& c, RecordReader& in) {
  for (int k = 1; k <= kOptions; ++k) c.mn.OPS(k) = std::string(kCaption, ' ');
  std::string rec;
  while (in.read(rec) == ReadStatus::kOk) {
    if (rec.size() < 14) rec.resize(14, ' ');
    int k = 0;
    // An unreadable number ends the reading like the end of the file.
    if (!option_number(std::string_view(rec).substr(0, 3), k)) break;
    if (k < 1 || k > kOptions) continue;
    c.mn.OPS(k) = rec.substr(4, kCaption);
  }
  in.close();
  c.rs.menu.captions_read = true;
}

void topline(Core& c) {
  plotd(c, c.mn.XBOXES(1), c.mn.YBOXES(1), 3);
  plotd(c, c.mn.XBOXES(kColumns + 1), c.mn.YBOXES(1), 2);
}

void topper(Core& c) {
  auto& mn = c.mn;
  if (!c.rs.menu.captions_read) readcaptions(c);

  c.dev.boxcolor({mn.TOPXY(1), mn.TOPXY(2)}, {mn.TOPXY(3), mn.TOPXY(4)}, 0, 0);

  c.dev.pen(2);
  c.dev.showtext(1, 0, kMenuTitle, static_cast<int>(kMenuTitle.size()));
  c.dev.showtext(54, 0, kMenuPrompt, static_cast<int>(kMenuPrompt.size()));
  topline(c);

  c.dev.pen(2);
  for (int ix = 1; ix <= kColumns; ++ix) {
    for (int iy = 1; iy <= kRows; ++iy) {
      textbox(c, ix, iy, mn.OPS((ix - 1) * kRows + iy), 4);
    }
  }

  c.dev.pen(6);
  for (int ix = 1; ix <= kColumns; ++ix) {
    for (int iy = 1; iy <= kRows; ++iy) {
      boxcolord(c, {mn.XBOXES(ix), mn.XBOXES(ix + 1)},
                {mn.YBOXES(iy), mn.YBOXES(iy + 1)}, -1, 3);
    }
  }

  c.dev.pen(2);
  topline(c);
}

void textbox(Core& c, int IX, int IY, std::string_view TEXT, int ICOLOR) {
  if (length(TEXT, kCaption) <= 0) return;
  c.dev.pen(ICOLOR);
  c.dev.showtext((IX - 1) * kCaption + 1, IY, TEXT, kCaption);
}

void kiwi(Core& c, int& KOPT, int& IX, int& IY) {
  const auto& mn = c.mn;
  for (;;) {
    int kway = 0;
    double xm = 0;
    double ym = 0;
    mouseyd(c, kway, xm, ym, 1, 4);
    if (kway == 4) {
      KOPT = IX = IY = 0;
      return;
    }
    // A pick on an edge belongs to the first column or row holding it.
    int col = 0;
    for (int i = 1; i <= kColumns && mn.XBOXES(i) <= xm; ++i) {
      if (xm <= mn.XBOXES(i + 1)) {
        col = i;
        break;
      }
    }
    int row = 0;
    for (int i = 1; i <= kRows && mn.YBOXES(i) >= ym; ++i) {
      if (mn.YBOXES(i + 1) <= ym) {
        row = i;
        break;
      }
    }
    if (col > 0 && row > 0) {
      IX = col;
      IY = row;
      KOPT = row + (col - 1) * kRows;
      return;
    }
  }
}

}  // namespace veskaro
