// Drives the screen device on a real display from commands on standard
// input, one per line, and prints what the reading operations return. The
// end-to-end tests use it to check drawing, palettes, events and dumps
// without the plotting core.
//
//   open | pen N | plot X Y IPEN | box X1 X2 Y1 Y2 FILL BORD
//   text COL ROW TEXT | mousey | key2 | keycode | key1 | newback
//   newpal N | nextplot | printit | close | say TEXT
//   where X Y    prints the window pixel of a point in plot units
#include <X11/Xlib.h>

#include <iostream>
#include <sstream>
#include <string>

#include "device/x11/pixel_map.h"
#include "device/x11/x11_device.h"

int main() {
  veskaro::X11Device dev;
  veskaro::PixelMap map;
  bool mapped = false;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string op;
    in >> op;
    if (op == "open") {
      dev.daruvuza();
    } else if (op == "pen") {
      int n = 0;
      in >> n;
      dev.pen(n);
    } else if (op == "plot") {
      float x = 0, y = 0;
      int ipen = 0;
      in >> x >> y >> ipen;
      dev.plot(x, y, ipen);
    } else if (op == "box") {
      std::array<float, 2> x{}, y{};
      int fill = 0, bord = 0;
      in >> x[0] >> x[1] >> y[0] >> y[1] >> fill >> bord;
      dev.boxcolor(x, y, fill, bord);
    } else if (op == "text") {
      int col = 0, row = 0;
      std::string text;
      in >> col >> row;
      std::getline(in >> std::ws, text);
      dev.showtext(col, row, text, static_cast<int>(text.size()));
    } else if (op == "mousey") {
      int kway = 0;
      float x = 0, y = 0;
      dev.mousey(kway, x, y, 1, 4);
      std::cout << "mousey " << kway << ' ' << x << ' ' << y << std::endl;
    } else if (op == "key2") {
      int k = 0;
      dev.key2(k);
      std::cout << "key2 " << k << std::endl;
    } else if (op == "keycode") {
      std::cout << "keycode " << dev.keycode() << std::endl;
    } else if (op == "key1") {
      std::string str(8, ' ');
      int iret = 0;
      dev.key1(str, iret);
      std::cout << "key1 [" << str << "] " << iret << std::endl;
    } else if (op == "newback") {
      dev.newback();
    } else if (op == "newpal") {
      int n = 0;
      in >> n;
      dev.newpal(n);
    } else if (op == "nextplot") {
      dev.nextplot();
    } else if (op == "printit") {
      dev.printit();
    } else if (op == "close") {
      dev.endplots();
    } else if (op == "where") {
      float x = 0, y = 0;
      in >> x >> y;
      if (!mapped) {
        Display* d = XOpenDisplay(nullptr);
        if (d == nullptr) return 2;
        const int s = DefaultScreen(d);
        map.fix(static_cast<float>(DisplayWidth(d, s)),
                static_cast<float>(DisplayHeight(d, s)),
                static_cast<float>(DisplayWidthMM(d, s)),
                static_cast<float>(DisplayHeightMM(d, s)), 0.0F, 12.5F, 0.0F,
                10.0F, 1);
        XCloseDisplay(d);
        mapped = true;
      }
      const veskaro::Pixel p = map.to_pixel(x, y);
      std::cout << "where " << p.x << ' ' << p.y << std::endl;
    } else if (op == "say") {
      std::string text;
      std::getline(in >> std::ws, text);
      std::cout << text << std::endl;
    }
    dev.sleepy(0);
  }
  return 0;
}
