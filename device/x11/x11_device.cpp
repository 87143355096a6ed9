#include "device/x11/x11_device.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "device/x11/palettes.h"
#include "device/x11/xlib_layer.h"

namespace veskaro {
namespace {

constexpr std::string_view kFontRequest =
    "-adobe-courier-bold-r-*-*-25-*-*-*-*-*-*-*  ";

std::string start_command(std::size_t length) {
  std::string cmd(length, ' ');
  cmd.replace(0, 17, "import -rotate 90");
  cmd.replace(42, 7, "SCREEN.");
  return cmd;
}

}  // namespace

X11Device::X11Device() : owned_(make_xlib_layer()), layer_(*owned_) {
  shell_ = run_shell;
  COMMAND = start_command(kCommandLength);
}

X11Device::X11Device(WindowLayer& layer) : layer_(layer) {
  shell_ = [](const std::string&, const std::string&) { return 0; };
  COMMAND = start_command(kCommandLength);
}

X11Device::~X11Device() = default;

void X11Device::daruvuza() {
  BACKMY = kBlue;
  IMON = 1;
  layer_.xpinit(XMIN, XMAX, YMIN, YMAX, MYVIEW);
  LASTPEN = 0;
  RESOLVE = 0.01F;
  layer_.myscreen(MYCOLOR);
  if (MYCOLOR == 1) {
    PENMAP[0] = 1;
    BACKMY = PENMAP[0];
    for (int k = 1; k < 256; ++k) PENMAP[k] = 0;
    return;
  }
  paltab(PENMAP, IRED, IGREEN, IBLUE, 1);
  layer_.pallette(IRED, IGREEN, IBLUE);
  layer_.xpclr();
  background_fill();
  // The font request is made with a terminated name; the layer keeps the
  // window's default font.
  std::string font(kFontRequest);
  font[42] = '\0';
  layer_.setfont(font, 44);
}

void X11Device::interact(int& iact) { iact = 1; }

void X11Device::mysize(std::array<float, 2>& x, std::array<float, 2>& y) {
  x = {XMIN, XMAX};
  // The lowest row is kept clear of the window's bottom edge.
  y = {0.01F, YMAX};
}

void X11Device::newpal(int ipal) {
  if (MYCOLOR == 1 || ipal == LASTDEX) return;
  LASTDEX = ipal;
  paltab(PENMAP, IRED, IGREEN, IBLUE, ipal);
  layer_.pallette(IRED, IGREEN, IBLUE);
  layer_.xpclr();
  background_fill();
}

void X11Device::plot(float x, float y, int ipen) {
  // A repeat of the pen code to almost the same point shows nothing new.
  if (ipen == LASTPEN && std::fabs(x - XLAST) < RESOLVE &&
      std::fabs(y - YLAST) < RESOLVE) {
    return;
  }
  LASTPEN = ipen;
  XLAST = x;
  YLAST = y;
  if (ipen == 2) {
    layer_.xpdraw(x, y);
  } else if (ipen == 3) {
    layer_.xpmove(x, y);
  }
}

void X11Device::background_fill() {
  layer_.boxfill(XMIN, XMAX, YMIN, YMAX, BACKMY, -1);
}

void X11Device::nextplot() {
  if (IMON == 0) return;
  // Until the menu has been used, the user acknowledges each finished
  // screen with a click or a key.
  if (MYMOUSE <= 0) {
    layer_.xmouse(KWAY, XD, YD, 4);
    if (KWAY == kWindowClosed) page_wait_closed_ = true;
  }
  layer_.xpclr();
  background_fill();
  LASTPEN = 0;
}

void X11Device::newplot() {
  if (IMON == 0) return;
  layer_.xpclr();
  background_fill();
}

void X11Device::endplots() {
  if (IMON == 0) return;
  layer_.xpdone();
}

void X11Device::pen1(int ic) {
  if (ic == LCOLOR) return;
  LCOLOR = ic;
  layer_.xpen(ic);
}

void X11Device::pen(int ipen) {
  int k = 0;
  if (MYCOLOR == 1) {
    k = ipen == 0 ? 0 : 1;
  } else {
    // A negative colour number has no colour: the pen stays as it is.
    if (ipen < 0) return;
    k = ipen % 256;
  }
  k = PENMAP[k];
  if (k == LCOLOR) return;
  LCOLOR = k;
  layer_.xpen(k);
}

void X11Device::backgd(int ic) {
  const int ii = PENMAP[0];
  if (ic == ii) return;
  if (MYCOLOR == 1) {
    for (int k = 1; k < 256; ++k) PENMAP[k] = ii;
    PENMAP[0] = 1 - ii;
    BACKMY = PENMAP[0];
    layer_.backcolor(PENMAP[0]);
    return;
  }
  if (ic < 0) return;
  const int k = ic % 256;
  PENMAP[0] = PENMAP[k];
  PENMAP[k] = ii;
  layer_.backcolor(PENMAP[0]);
}

void X11Device::newback() {
  const int ii = PENMAP[0];
  if (MYCOLOR == 1) {
    for (int k = 1; k < 256; ++k) PENMAP[k] = ii;
    PENMAP[0] = 1 - ii;
    BACKMY = PENMAP[0];
    layer_.backcolor(PENMAP[0]);
    return;
  }
  // ISAVE[k - 2] holds entry k.
  const auto saved = [this](int k) { return ISAVE[k - 2]; };
  if (BACKMY == kBlue) {
    BACKMY = PENMAP[1];
    for (int k = 2; k <= 12; ++k) ISAVE[k - 2] = PENMAP[k];
    PENMAP[2] = 1;
    PENMAP[3] = 1;
    PENMAP[4] = saved(3);
    PENMAP[5] = saved(10);
    PENMAP[6] = saved(12);
    PENMAP[10] = saved(5);
    PENMAP[12] = saved(6);
  } else {
    BACKMY = kBlue;
    for (int k = 2; k <= 12; ++k) PENMAP[k] = saved(k);
  }
  std::swap(PENMAP[0], PENMAP[1]);
}

void X11Device::mousey(int& kway, float& x, float& y, int iwait, int keyok) {
  MYMOUSE = 1;
  x = 0.0F;
  y = 0.0F;
  for (;;) {
    layer_.xmouse(kway, x, y, iwait);
    if (kway == kWindowClosed) return;
    if (kway <= 0) {
      if (iwait > 0) continue;
      return;
    }
    if (kway >= 4) {
      if (keyok < 4) continue;
      return;
    }
    if (x < XMIN || x > XMAX || y < YMIN || y > YMAX) continue;
    return;
  }
}

int X11Device::fold(int icol) const {
  if (icol < 0) return -1;
  int l = icol % 256;
  if (icol >= 256 && l == 0) l = 1;
  return l;
}

void X11Device::boxcolor(const std::array<float, 2>& x,
                         const std::array<float, 2>& y, int ifill, int ibord) {
  boxdraw(x[0], x[1], y[0], y[1], ifill, ibord);
}

void X11Device::boxdraw(float x1, float x2, float y1, float y2, int ifill,
                        int ibord) {
  int f = -1;
  int b = -1;
  if (ifill >= 0) f = ifill == kBlue ? BACKMY : PENMAP[fold(ifill)];
  if (ibord >= 0) b = PENMAP[fold(ibord)];
  layer_.boxfill(x1, x2, y1, y2, f, b);
}

void X11Device::polydraw(std::span<const float> x, std::span<const float> y,
                         int n, int ifill, int ibord) {
  int f = -1;
  int b = -1;
  if (ifill >= 0) f = ifill == kBlue ? BACKMY : PENMAP[fold(ifill)];
  if (ibord >= 0) b = PENMAP[fold(ibord)];
  layer_.polyfill(x, y, n, f, b);
}

void X11Device::key1(std::string& str, int& iret) { layer_.pxkbd(str, iret); }

void X11Device::key2(int& k) { layer_.pxkbd2(k); }

void X11Device::sleepy(int n) {
  layer_.flushit();
  if (n > 0) std::this_thread::sleep_for(std::chrono::seconds(n));
}

}  // namespace veskaro
