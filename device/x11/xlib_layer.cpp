// The window layer on Xlib: the only code of the program that talks to the
// X server. One display, one window, one graphics context and the colour
// map of the loaded palette.
#include "device/x11/xlib_layer.h"

#include <X11/Xcms.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "device/device.h"
#include "device/x11/pixel_map.h"

namespace veskaro {
namespace {

constexpr int kCells = 256;
constexpr int kMaxCorners = 3000;
constexpr char kName[] = "VIMDERA";

// A broken connection to the X server (the client killed off the server,
// the server gone) cannot be recovered: say so and end the run. exit()
// writes the listing through before the process ends.
int connection_lost(Display* display) {
  std::fprintf(stderr, "veskaro: lost the connection to display '%s'\n",
               DisplayString(display));
  std::exit(2);
}

// What the protocol-error handler knows of the program's window. Another
// client may destroy the window at any time; the requests on it that the
// server meets after that fail, and that failure is no fault of the run.
// The server sends the window's DestroyNotify before any of those
// failures, so by the time one is handled the event waits in the queue;
// the handler may not read the queue itself, so it notes the failure and
// the layer looks for the event at its next wait.
struct WindowWatch {
  Window window = 0;
  // The graphics context made on the window: made on a window already
  // destroyed, it is not there when it is freed.
  GContext gc = 0;
  // A request on the window failed; message says how, for the case that
  // no destruction explains it.
  bool failed = false;
  std::array<char, 400> message{};
};

WindowWatch& watch() {
  static WindowWatch w;
  return w;
}

[[noreturn]] void protocol_failure(const char* message) {
  std::fprintf(stderr, "%s\n", message);
  std::exit(2);
}

// Any other failed request is a fault of the run: one line and status 2,
// with the listing written through by exit().
int protocol_error(Display* display, XErrorEvent* error) {
  std::array<char, 200> text{};
  XGetErrorText(display, error->error_code, text.data(),
                static_cast<int>(text.size()));
  // The request by name where Xlib knows it, else by number.
  std::array<char, 16> number{};
  std::snprintf(number.data(), number.size(), "%d",
                static_cast<int>(error->request_code));
  std::array<char, 100> request{};
  XGetErrorDatabaseText(display, "XRequest", number.data(), number.data(),
                        request.data(), static_cast<int>(request.size()));
  std::array<char, 400> message{};
  std::snprintf(message.data(), message.size(),
                "veskaro: X protocol error on display '%s': %s in %s",
                DisplayString(display), text.data(), request.data());
  WindowWatch& w = watch();
  const bool on_window =
      (w.window != 0 && error->resourceid == w.window &&
       (error->error_code == BadWindow || error->error_code == BadDrawable)) ||
      (w.gc != 0 && error->resourceid == w.gc && error->error_code == BadGC);
  if (!on_window) protocol_failure(message.data());
  if (!w.failed) {
    w.failed = true;
    w.message = message;
  }
  return 0;
}

class XlibLayer final : public WindowLayer {
 public:
  XlibLayer() = default;
  ~XlibLayer() override = default;
  XlibLayer(const XlibLayer&) = delete;
  XlibLayer& operator=(const XlibLayer&) = delete;
  XlibLayer(XlibLayer&&) = delete;
  XlibLayer& operator=(XlibLayer&&) = delete;

  void xpinit(float xmin, float xmax, float ymin, float ymax,
              int myview) override;
  void xpdone() override;
  void myscreen(int& d) override { d = depth_; }
  void pallette(const ColourTable& ired, const ColourTable& igreen,
                const ColourTable& iblue) override;
  void xpen(int ic) override;
  void backcolor(int ic) override;
  void xpclr() override;
  void flushit() override {
    if (drawable()) XFlush(display_);
  }
  void xpmove(float x, float y) override;
  void xpdraw(float x, float y) override;
  void xypixel(float x, float y) override;
  void boxfill(float x1, float x2, float y1, float y2, int ifill,
               int ibord) override;
  void polyfill(std::span<const float> x, std::span<const float> y, int n,
                int ifill, int ibord) override;
  void pixfill(float x, float y, int nhalf) override;
  void widlin(int iwidth) override;
  void setfont(std::string_view, int) override {}
  void rtextx(int flag, float x, float y, std::string_view str, int n) override;
  void xmouse(int& kway, float& x, float& y, int iwait) override;
  void pxkbd(std::string& str, int& iret) override;
  void pxkbd2(int& k) override;

 private:
  // Every operation but xpinit needs the open display; called without it
  // (before xpinit or after xpdone) it does nothing.
  bool open() const { return display_ != nullptr; }
  // Drawing also needs the window: once it is closed, or a request on it
  // failed, nothing more is sent for it.
  bool drawable() const { return open() && !closed_ && !watch().failed; }
  // True for an event that closes the window: the window manager's close
  // request or the window's destruction by another client.
  bool closing(const XEvent& e);
  // Settles a failed request on the window: the window was destroyed, or
  // the run ends with the failure's message.
  void settle();
  // Before a wait: settles a failed request; false once the window is
  // closed.
  bool waitable() {
    settle();
    return !closed_;
  }
  // Takes the next event into event_; false when it closes the window.
  bool next_event() {
    XNextEvent(display_, &event_);
    return !closing(event_);
  }
  static bool is_colour(int ic) { return ic >= 0 && ic < kCells; }
  static XPoint point(Pixel p) {
    // The protocol carries 16-bit coordinates.
    return {static_cast<short>(p.x), static_cast<short>(p.y)};
  }
  // The foreground of the selected colour, or the start-up one before any.
  unsigned long pen_pixel() const {
    return lastpen_ >= 0 ? colors_[lastpen_].pixel : foreground_;
  }
  // Fills and outlines the first npoints of pointtab.
  void fill_and_outline(int npoints, int ifill, int ibord);

  Display* display_ = nullptr;
  int screen_ = 0;
  int depth_ = 1;
  Window window_ = 0;
  GC gc_ = nullptr;
  Colormap colormap_ = 0;
  std::array<XColor, kCells> colors_{};
  int lastpen_ = -1;
  unsigned long foreground_ = 0;
  unsigned long background_ = 0;
  XSizeHints hint_{};
  PixelMap map_;
  Pixel current_;  // start of the next line
  Pixel last_;     // target of the last line
  std::array<XPoint, kMaxCorners + 1> pointtab_{};
  XEvent event_{};
  int len_ = 0;
  Atom wm_protocols_ = None;
  Atom wm_delete_ = None;
  // A close request or the destruction was seen; destroyed_ for the latter.
  bool closed_ = false;
  bool destroyed_ = false;
};

bool XlibLayer::closing(const XEvent& e) {
  if (e.type == DestroyNotify && e.xdestroywindow.window == window_) {
    closed_ = true;
    destroyed_ = true;
    return true;
  }
  if (e.type == ClientMessage && e.xclient.window == window_ &&
      e.xclient.message_type == wm_protocols_ && e.xclient.format == 32 &&
      static_cast<Atom>(e.xclient.data.l[0]) == wm_delete_) {
    closed_ = true;
    return true;
  }
  return false;
}

void XlibLayer::settle() {
  const WindowWatch& w = watch();
  if (!w.failed || destroyed_) return;
  XEvent e{};
  if (XCheckTypedWindowEvent(display_, window_, DestroyNotify, &e) == False) {
    protocol_failure(w.message.data());
  }
  closing(e);
}

void XlibLayer::xpinit(float xmin, float xmax, float ymin, float ymax,
                       int myview) {
  XSetErrorHandler(protocol_error);
  XSetIOErrorHandler(connection_lost);
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) {
    std::fprintf(stderr, "VIMDERA(xpinit):  Could not open display '%s'!!!\n",
                 XDisplayName(nullptr));
    std::exit(-1);
  }
  screen_ = DefaultScreen(display_);
  const auto w = static_cast<float>(DisplayWidth(display_, screen_));
  const auto h = static_cast<float>(DisplayHeight(display_, screen_));
  const auto mw = static_cast<float>(DisplayWidthMM(display_, screen_));
  const auto mh = static_cast<float>(DisplayHeightMM(display_, screen_));
  const float hu = h - kRowsKept;
  map_.fix(w, h, mw, mh, xmin, xmax, ymin, ymax, myview);

  depth_ = DefaultDepth(display_, screen_);
  hint_.flags = PPosition | PSize;
  hint_.x = 0;
  hint_.y = 0;
  hint_.width = static_cast<int>(w);
  hint_.height = static_cast<int>(hu);
  const auto width = static_cast<unsigned>(hint_.width);
  const auto height = static_cast<unsigned>(hint_.height);

  if (depth_ > 1) {
    // Xlib sets up its colour management while copying a colour map and
    // takes the display lock a second time there; doing that set-up first
    // avoids the deadlock.
    XcmsDefaultCCC(display_, screen_);
    colormap_ =
        XCopyColormapAndFree(display_, DefaultColormap(display_, screen_));
    for (int k = 0; k < kCells; ++k) {
      colors_[k].pixel = static_cast<unsigned long>(k);
    }
    XQueryColors(display_, colormap_, colors_.data(), kCells);
  } else {
    // Colour index 0 draws black and 1, the background, white.
    colors_[0].pixel = BlackPixel(display_, screen_);
    colors_[1].pixel = WhitePixel(display_, screen_);
  }

  // The window's events are chosen as it is made, so that no close
  // request or destruction by another client can come before they are
  // watched. The structure events bring the destruction; the others of
  // them are passed over.
  XSetWindowAttributes created{};
  created.event_mask =
      ExposureMask | ButtonPressMask | KeyPressMask | StructureNotifyMask;
  window_ = XCreateWindow(display_, RootWindow(display_, screen_), 0, 0, width,
                          height, 1, CopyFromParent, InputOutput,
                          CopyFromParent, CWEventMask, &created);
  watch().window = window_;
  if (depth_ == 1) {
    background_ = WhitePixel(display_, screen_);
    foreground_ = BlackPixel(display_, screen_);
    XSetWindowBackground(display_, window_, background_);
  } else {
    background_ = BlackPixel(display_, screen_);
    foreground_ = WhitePixel(display_, screen_);
    XSetWindowColormap(display_, window_, colormap_);
    XSetWindowBackground(display_, window_, background_);
  }
  XSetStandardProperties(display_, window_, kName, kName, None, nullptr, 0,
                         &hint_);
  XSetWindowAttributes attributes{};
  attributes.backing_store = WhenMapped;
  XChangeWindowAttributes(display_, window_, CWBackingStore, &attributes);

  XGCValues values{};
  values.plane_mask = AllPlanes;
  values.foreground = foreground_;
  values.background = background_;
  gc_ = XCreateGC(display_, window_, GCPlaneMask | GCForeground | GCBackground,
                  &values);
  watch().gc = XGContextFromGC(gc_);
  XSetLineAttributes(display_, gc_, 0, LineSolid, CapNotLast, JoinMiter);
  XSetIconName(display_, window_, kName);
  // The window manager's close button asks the program, which ends the run.
  wm_protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
  wm_delete_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &wm_delete_, 1);
  const Cursor cursor = XCreateFontCursor(display_, XC_left_ptr);
  XDefineCursor(display_, window_, cursor);
  XMapWindow(display_, window_);
  XMoveResizeWindow(display_, window_, 0, 0, width, height);
  // Everything before the first exposure is dropped; a window closed
  // before it is shown leaves the wait too.
  do {
    if (!next_event()) return;
  } while (event_.type != Expose);
  XMoveResizeWindow(display_, window_, 0, 0, width, height);
}

void XlibLayer::xpdone() {
  if (!open()) return;
  settle();
  if (!destroyed_) XClearWindow(display_, window_);
  // Frees the context on this side too; on the server it may never have
  // been made, when another client destroyed the window first.
  XFreeGC(display_, gc_);
  if (!destroyed_) XDestroyWindow(display_, window_);
  XCloseDisplay(display_);
  display_ = nullptr;
  watch().window = 0;
  watch().gc = 0;
}

void XlibLayer::pallette(const ColourTable& ired, const ColourTable& igreen,
                         const ColourTable& iblue) {
  if (!drawable()) return;
  XcmsDefaultCCC(display_, screen_);
  colormap_ =
      XCopyColormapAndFree(display_, DefaultColormap(display_, screen_));
  for (int k = 0; k < kCells; ++k) {
    XColor& cell = colors_[k];
    cell.red = static_cast<unsigned short>(ired[k] << 8);
    cell.green = static_cast<unsigned short>(igreen[k] << 8);
    cell.blue = static_cast<unsigned short>(iblue[k] << 8);
    // A colour that cannot be had leaves the cell's pixel as it was.
    XAllocColor(display_, colormap_, &cell);
  }
  XSetWindowColormap(display_, window_, colormap_);
}

void XlibLayer::xpen(int ic) {
  if (!drawable()) return;
  if (ic == lastpen_ || !is_colour(ic)) return;
  XSetForeground(display_, gc_, colors_[ic].pixel);
  lastpen_ = ic;
}

void XlibLayer::backcolor(int ic) {
  if (!drawable()) return;
  if (!is_colour(ic)) return;
  XSetWindowBackground(display_, window_, colors_[ic].pixel);
}

void XlibLayer::xpclr() {
  if (!drawable()) return;
  XFlush(display_);
  XClearWindow(display_, window_);
}

void XlibLayer::xpmove(float x, float y) { current_ = map_.to_pixel(x, y); }

void XlibLayer::xpdraw(float x, float y) {
  if (!drawable()) return;
  last_ = map_.to_pixel(x, y);
  if (last_ == current_) return;
  XDrawLine(display_, window_, gc_, current_.x, current_.y, last_.x, last_.y);
  current_ = last_;
}

void XlibLayer::xypixel(float x, float y) {
  if (!drawable()) return;
  const Pixel p = map_.to_pixel(x, y);
  XDrawPoint(display_, window_, gc_, p.x, p.y);
}

void XlibLayer::fill_and_outline(int npoints, int ifill, int ibord) {
  if (is_colour(ifill)) {
    XSetForeground(display_, gc_, colors_[ifill].pixel);
    XFillPolygon(display_, window_, gc_, pointtab_.data(), npoints, Complex,
                 CoordModeOrigin);
    XSetForeground(display_, gc_, pen_pixel());
  }
  if (is_colour(ibord)) {
    XSetForeground(display_, gc_, colors_[ibord].pixel);
    XDrawLines(display_, window_, gc_, pointtab_.data(), npoints,
               CoordModeOrigin);
    XSetForeground(display_, gc_, pen_pixel());
  }
}

void XlibLayer::boxfill(float x1, float x2, float y1, float y2, int ifill,
                        int ibord) {
  if (!drawable()) return;
  const Pixel p1 = map_.to_pixel(x1, y1);
  const Pixel p2 = map_.to_pixel(x2, y2);
  pointtab_[0] = point({p1.x, p1.y});
  pointtab_[1] = point({p1.x, p2.y});
  pointtab_[2] = point({p2.x, p2.y});
  pointtab_[3] = point({p2.x, p1.y});
  pointtab_[4] = pointtab_[0];
  fill_and_outline(5, ifill, ibord);
}

void XlibLayer::polyfill(std::span<const float> x, std::span<const float> y,
                         int n, int ifill, int ibord) {
  if (!drawable()) return;
  // Corners beyond the table or beyond the given arrays are refused.
  if (n < 1 || n > kMaxCorners) return;
  if (static_cast<std::size_t>(n) > std::min(x.size(), y.size())) return;
  for (int i = 0; i < n; ++i) pointtab_[i] = point(map_.to_pixel(x[i], y[i]));
  pointtab_[n] = pointtab_[0];
  fill_and_outline(n + 1, ifill, ibord);
}

void XlibLayer::pixfill(float x, float y, int nhalf) {
  if (!drawable()) return;
  const Pixel p = map_.to_pixel(x, y);
  if (nhalf == 0) {
    XDrawPoint(display_, window_, gc_, p.x, p.y);
    return;
  }
  pointtab_[0] = point({p.x - nhalf, p.y - nhalf});
  pointtab_[1] = point({p.x - nhalf, p.y + nhalf});
  pointtab_[2] = point({p.x + nhalf, p.y + nhalf});
  pointtab_[3] = point({p.x + nhalf, p.y - nhalf});
  pointtab_[4] = pointtab_[0];
  XFillPolygon(display_, window_, gc_, pointtab_.data(), 5, Complex,
               CoordModeOrigin);
}

void XlibLayer::widlin(int iwidth) {
  if (!drawable()) return;
  if (iwidth < 1 || iwidth > 3) return;
  XSetLineAttributes(display_, gc_, static_cast<unsigned>(iwidth), LineSolid,
                     CapNotLast, JoinMiter);
}

void XlibLayer::rtextx(int flag, float x, float y, std::string_view str,
                       int n) {
  if (!drawable()) return;
  current_ = map_.to_pixel(x, y);
  const int count = std::clamp(n, 0, static_cast<int>(str.size()));
  if (flag == 0) {
    XDrawString(display_, window_, gc_, current_.x, current_.y, str.data(),
                count);
  } else {
    XDrawImageString(display_, window_, gc_, current_.x, current_.y, str.data(),
                     count);
  }
}

// Events of the window's structure other than its destruction.
bool structure_change(const XEvent& e) {
  switch (e.type) {
    case CirculateNotify:
    case ConfigureNotify:
    case GravityNotify:
    case MapNotify:
    case ReparentNotify:
    case UnmapNotify:
      return true;
    default:
      return false;
  }
}

void XlibLayer::xmouse(int& kway, float& x, float& y, int iwait) {
  if (!open()) return;
  if (!waitable()) {
    kway = kWindowClosed;
    return;
  }
  XFlush(display_);
  do {
    if (iwait == 0 && XQLength(display_) == 0) {
      kway = 0;
      return;
    }
    if (!next_event()) {
      kway = kWindowClosed;
      return;
    }
  } while (structure_change(event_));
  kway = 0;
  if (event_.type == ButtonPress) {
    const unsigned button = event_.xbutton.button;
    // Wheel steps and further buttons report nothing.
    if (button >= 1 && button <= 3) {
      kway = static_cast<int>(button);
      map_.to_plot(event_.xbutton.x, event_.xbutton.y, x, y);
    }
  } else if (event_.type == KeyPress) {
    kway = 4;
  }
}

void XlibLayer::pxkbd(std::string& str, int& iret) {
  if (!open()) return;
  if (!waitable()) {
    iret = 1;
    return;
  }
  XFlush(display_);
  len_ = 0;
  while (len_ == 0) {
    if (!next_event()) {
      iret = 1;
      return;
    }
    if (event_.type != KeyPress) continue;
    std::array<char, 8> bytes{};
    KeySym keysym = 0;
    len_ = XLookupString(&event_.xkey, bytes.data(), 8, &keysym, nullptr);
    if (len_ <= 0) {
      len_ = 0;
      continue;
    }
    if (str.size() < 8) str.resize(8, ' ');
    std::copy_n(bytes.begin(), len_, str.begin());
    iret = (str[0] == '\n' || str[0] == '\r') ? 1 : 0;
  }
}

void XlibLayer::pxkbd2(int& k) {
  if (!open()) return;
  if (!waitable()) {
    k = 0;
    return;
  }
  XFlush(display_);
  len_ = 0;
  do {
    if (!next_event()) {
      k = 0;
      return;
    }
  } while (event_.type != KeyPress);
  // The modifier state picks the column of the keyboard map: 0 plain,
  // 1 with Shift.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const KeySym sym =
      XKeycodeToKeysym(display_, static_cast<KeyCode>(event_.xkey.keycode),
                       static_cast<int>(event_.xkey.state));
#pragma GCC diagnostic pop
  k = static_cast<int>(sym);
  len_ = 1;
}

}  // namespace

std::unique_ptr<WindowLayer> make_xlib_layer() {
  return std::make_unique<XlibLayer>();
}

}  // namespace veskaro
