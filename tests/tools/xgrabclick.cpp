// Clicks through a server grab. An outside capture program that lets the
// user pick a window grabs the whole X server until the click, so no
// ordinary client can reach it meanwhile. This helper connects first,
// makes its connection immune to grabs, watches a second connection until
// it stops being answered (the grab has begun) and then sends the click.
//
//   xgrabclick X Y [SECONDS]   exit 0 after the click, 1 if no grab came
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

long now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             Clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xgrabclick X Y [SECONDS]\n");
    return 2;
  }
  const int x = std::atoi(argv[1]);
  const int y = std::atoi(argv[2]);
  const long limit_ms = (argc > 3 ? std::atol(argv[3]) : 30) * 1000;
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

  // The probe answers a round trip again and again; while the server is
  // grabbed by someone else its round trip hangs.
  std::atomic<long> answered{now_ms()};
  std::thread([&answered, probe] {
    for (;;) {
      XSync(probe, False);
      answered = now_ms();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }).detach();

  const long start = now_ms();
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (now_ms() - answered.load() > 400) break;
    if (now_ms() - start > limit_ms) {
      std::fprintf(stderr, "xgrabclick: no grab seen\n");
      std::fflush(nullptr);
      _exit(1);
    }
  }
  XTestFakeMotionEvent(control, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(control, 1, True, CurrentTime);
  XTestFakeButtonEvent(control, 1, False, CurrentTime);
  XSync(control, False);
  std::printf("xgrabclick: clicked %d %d\n", x, y);
  std::fflush(nullptr);
  _exit(0);
}
