// Menu text grid, cursor boxes, screen dumps, numbers and keys of the
// screen device.
// Built only with the screen device.
#ifdef VESKARO_X11_DEVICE
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "device/x11/x11_device.h"
#include "tests/temp_dir.h"
#include "tests/x11_fake_layer.h"

namespace veskaro {
namespace {

using Calls = std::vector<std::string>;

// A screen device on a fake window; its shell notes each command and runs
// `during` in the command's folder.
struct Opened {
  FakeLayer layer;
  X11Device dev{layer};
  std::vector<std::string> commands;
  std::function<void(const std::string& folder)> during;
  Opened() {
    dev.daruvuza();
    dev.set_shell([this](const std::string& c, const std::string& folder) {
      commands.push_back(c);
      if (during) during(folder);
      return 0;
    });
    layer.take();
  }
};

TEST(X11Text, CharactersGoToFixedCells) {
  Opened o;
  o.dev.showtext(1, 0, "Use MOUSE", 9);
  const Calls calls = o.layer.take();
  ASSERT_EQ(calls.size(), 11U);  // depth enquiry, 9 characters, flush
  EXPECT_EQ(calls[0], "myscreen");
  EXPECT_EQ(calls[1], "rtextx 0 0.078125 9.736000 [U]");
  EXPECT_EQ(calls[2], "rtextx 0 0.234375 9.736000 [s]");
  EXPECT_EQ(calls[4], "rtextx 0 0.546875 9.736000 [ ]");
  EXPECT_EQ(calls[10], "flushit");
  o.dev.showtext(0, 5, "AB", 2);
  o.dev.showtext(80, 1, "xy", 2);
  EXPECT_EQ(
      o.layer.take(),
      (Calls{"rtextx 0 0.000000 8.086000 [A]", "rtextx 0 0.078125 8.086000 [B]",
             "flushit", "rtextx 0 12.421875 9.406000 [x]",
             "rtextx 0 12.578125 9.406000 [y]", "flushit"}));
  // Nothing to draw still flushes; characters off the grid or past the
  // end of the text are left out.
  o.dev.showtext(3, 2, "abc", 0);
  o.dev.showtext(81, 31, "abc", 3);
  o.dev.showtext(80, 2, "abc", 3);
  o.dev.showtext(1, 2, "a", 5);
  EXPECT_EQ(o.layer.take(),
            (Calls{"flushit", "flushit", "rtextx 0 12.421875 9.076000 [a]",
                   "rtextx 0 12.578125 9.076000 [b]", "flushit",
                   "rtextx 0 0.078125 9.076000 [a]", "flushit"}));
}

TEST(X11Text, CursorBoxColourFollowsTheFirstBackground) {
  Opened o;
  o.dev.showtext(1, 1, "x", 1);
  o.layer.take();
  o.dev.curseon(2, 1, "Q");
  // Fill colour number 4 through the pen map (87), a square box of
  // 0.171875 from just below the baseline.
  EXPECT_EQ(o.layer.take(),
            (Calls{"boxfill 0.218750 0.390625 9.390375 9.562250 87 -1",
                   "xpen 0", "rtextx 1 0.234375 9.406000 [Q]"}));
  o.dev.curseon(2, 1, "\x02");
  o.dev.curseoff(2, 1, "\x02");
  o.dev.curseoff(2, 1, "Q");
  EXPECT_EQ(o.layer.take(),
            (Calls{"boxfill 0.218750 0.390625 9.390375 9.562250 87 -1",
                   "boxfill 0.218750 0.390625 9.390375 9.562250 0 -1",
                   "boxfill 0.218750 0.390625 9.390375 9.562250 0 -1",
                   "rtextx 0 0.234375 9.406000 [Q]"}));
  // A background toggled before the first text gives fill colour number
  // 1, which the toggled map draws as colour index 0.
  Opened t;
  t.dev.newback();
  t.dev.showtext(1, 1, "x", 1);
  t.layer.take();
  t.dev.curseon(1, 1, "\x02");
  EXPECT_EQ(t.layer.take(),
            (Calls{"boxfill 0.062500 0.234375 9.390375 9.562250 0 -1"}));
}

// Runs the test body in a fresh folder of its own.
class InFolder {
 public:
  InFolder() : back_(std::filesystem::current_path()) {
    std::filesystem::current_path(unique_temp_dir("veskaro_dump"));
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;
  ~InFolder() { std::filesystem::current_path(back_); }

 private:
  std::filesystem::path back_;
};

std::string contents(const std::string& name) {
  std::ifstream in(name);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(X11Text, ScreenDumpsAreNumbered) {
  const InFolder here;
  Opened o;
  o.during = [&o](const std::string& folder) {
    const std::string& c = o.commands.back();
    std::ofstream(folder + "/" + c.substr(c.rfind(' ') + 1)) << "picture\n";
  };
  for (int k = 0; k < 10; ++k) o.dev.printit();
  ASSERT_EQ(o.commands.size(), 10U);
  EXPECT_EQ(o.commands[0],
            "import -rotate 90" + std::string(25, ' ') + "SCREEN.1");
  EXPECT_TRUE(o.commands[2].ends_with(" SCREEN.3"));
  EXPECT_TRUE(o.commands[9].ends_with(" SCREEN.10"));
  EXPECT_EQ(contents("SCREEN.10"), "picture\n");
  EXPECT_EQ(o.layer.take(), Calls(10, "flushit"));
}

// The capture command writes into a folder of its own and the picture is
// renamed onto its name: a link made while the command waits is replaced,
// never written through.
TEST(X11Text, ScreenDumpNeverWritesThroughALinkMadeWhileItWaits) {
  const InFolder here;
  std::ofstream("VESKARO.CUR") << "curves\n";
  Opened o;
  o.during = [](const std::string& folder) {
    std::filesystem::create_symlink("VESKARO.CUR", "SCREEN.1");
    std::ofstream(folder + "/SCREEN.1") << "picture\n";
  };
  o.dev.printit();
  EXPECT_EQ(contents("VESKARO.CUR"), "curves\n");
  EXPECT_FALSE(std::filesystem::is_symlink("SCREEN.1"));
  EXPECT_EQ(contents("SCREEN.1"), "picture\n");
  // Nothing else is left in the run folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            2);
}

TEST(X11Text, NumbersAsCharacters) {
  const auto num = [](double z, int idec) {
    std::string f;
    int n = -1;
    numbr2(z, idec, f, n);
    EXPECT_EQ(n, static_cast<int>(f.size()));
    return f;
  };
  EXPECT_EQ(num(12.346, 2), "12.35");
  EXPECT_EQ(num(7.0, 0), "7.");
  EXPECT_EQ(num(-0.04, 1), "-0.0");
  EXPECT_EQ(num(3.0, -1), "3");
  EXPECT_EQ(num(0.0, -1), "0");
  EXPECT_EQ(num(9.96, 1), "10.0");
  EXPECT_EQ(num(1234567.0, -1), "1234567");
  EXPECT_EQ(num(0.5, 3), "0.500");
}

TEST(X11Text, KeyNumbers) {
  Opened o;
  o.layer.keysyms = {0,      0xFF0D, 0xFF52, 0xFFC2,    0xFFE1,
                     0xFFBE, 0x61,   0xFF63, 0x1000041, 0x0FFF};
  EXPECT_EQ(o.dev.keycode(), 32);
  EXPECT_EQ(o.dev.keycode(), 13);
  EXPECT_EQ(o.dev.keycode(), 1072);
  // F5 and a Shift key (not listed, 10000 and more) are passed over.
  EXPECT_EQ(o.dev.keycode(), 1059);
  EXPECT_EQ(o.dev.keycode(), 97);
  EXPECT_EQ(o.dev.keycode(), 1082);
  // Unicode key symbols are too large; an unlisted small one stays.
  EXPECT_EQ(o.dev.keycode(), 0x0FFF);
  EXPECT_TRUE(o.layer.keysyms.empty());
  o.layer.take();
  o.dev.pixset(1.0F, 2.0F, 3);
  EXPECT_EQ(o.layer.take(), (Calls{"xpen 23", "xypixel 1.0000 2.0000"}));
}

}  // namespace
}  // namespace veskaro

#endif  // VESKARO_X11_DEVICE
