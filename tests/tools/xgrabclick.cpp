// Clicks through a server grab. An outside capture program that lets the
// user pick a window grabs the whole X server until the click, so no
// ordinary client can reach it meanwhile. This helper connects first and
// makes its connection immune to grabs; a second connection asks the
// server for a round trip again and again and stops being answered while
// someone else holds the server.
//
//   xgrabclick X Y [SECONDS]
//
// Prints "xgrabclick: ready" once both connections are open: start the
// capture only after that line (a client that connects during the grab
// waits for it to end). Then, whenever the probe stays unanswered while
// the server still answers this helper, it clicks at X Y, and again each
// second for as long as the grab lasts: a busy machine can make a slow
// server look grabbed, and a click sent before the capture program holds
// the pointer is lost. A click outside a grab lands on whatever window is
// under X Y. The helper runs until it is killed or SECONDS (default 300)
// have passed; it then exits 0 if it clicked at least once, 1 if not.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A probe unanswered this long is taken for a grab.
constexpr long kStallMs = 400;
// Gap between the clicks while the grab lasts.
constexpr long kRepeatMs = 1000;

long now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             Clock::now().time_since_epoch())
      .count();
}

void click(Display* control, int x, int y) {
  XTestFakeMotionEvent(control, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(control, 1, True, CurrentTime);
  XTestFakeButtonEvent(control, 1, False, CurrentTime);
  XSync(control, False);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xgrabclick X Y [SECONDS]\n");
    return 2;
  }
  const int x = std::atoi(argv[1]);
  const int y = std::atoi(argv[2]);
  const long limit_ms = (argc > 3 ? std::atol(argv[3]) : 300) * 1000;
  XInitThreads();
  Display* control = XOpenDisplay(nullptr);
  Display* probe = XOpenDisplay(nullptr);
  if (control == nullptr || probe == nullptr) {
    std::fprintf(stderr, "xgrabclick: no display\n");
    return 2;
  }
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(control, &event_base, &error_base, &major, &minor)) {
    std::fprintf(stderr, "xgrabclick: no XTEST\n");
    return 2;
  }
  XTestGrabControl(control, True);
  XSync(control, False);
  XSync(probe, False);

  // Time of the probe's last answer; while the server is grabbed by
  // someone else its round trip hangs.
  std::atomic<long> answered{now_ms()};
  std::thread([&answered, probe] {
    for (;;) {
      XSync(probe, False);
      answered = now_ms();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }).detach();
  std::printf("xgrabclick: ready\n");
  std::fflush(stdout);

  const long start = now_ms();
  long last_click = 0;
  int clicks = 0;
  while (now_ms() - start < limit_ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const long seen = answered.load();
    if (now_ms() - seen < kStallMs) continue;
    // A server that is merely slow answers the probe too by the time it
    // answers this connection, which the grab cannot hold up.
    XSync(control, False);
    if (answered.load() != seen) continue;
    if (clicks > 0 && now_ms() - last_click < kRepeatMs) continue;
    click(control, x, y);
    last_click = now_ms();
    ++clicks;
    std::printf("xgrabclick: clicked %d %d\n", x, y);
    std::fflush(stdout);
  }
  if (clicks == 0) std::fprintf(stderr, "xgrabclick: no grab seen\n");
  std::fflush(nullptr);
  _exit(clicks > 0 ? 0 : 1);
}
