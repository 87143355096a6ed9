// Menu text in character cells, cursor boxes, keys, single pixels and
// screen dumps of the screen device.
#include <sys/wait.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "device/x11/x11_device.h"

namespace veskaro {
namespace {

constexpr int kColumns = 82;  // columns 0-81
constexpr int kRows = 31;     // rows 0-30
constexpr char kNoChar = '\x02';
// The dump number is written into the command text from this column on.
constexpr std::size_t kNumberAt = 49;

// Why a screen dump was not written, from the wait status of its command
// as std::system gives it (error: errno right after it); empty when the
// command ran through. A program ended by signal n shows as the shell's
// status 128 + n. Ctrl-C while the capture waits for its click ends the
// capture, not the run (std::system ignores the interrupt in the caller
// while it waits): the dump is cancelled.
std::string why_not_written(const std::string& program, int status, int error) {
  if (status == -1) {
    return std::string("the shell could not be run: ") + std::strerror(error);
  }
  int sig = 0;
  int code = 0;
  if (WIFSIGNALED(status)) {
    sig = WTERMSIG(status);
  } else if (WIFEXITED(status)) {
    code = WEXITSTATUS(status);
    if (code > 128 && code - 128 < NSIG) sig = code - 128;
  }
  if (sig == SIGINT) return "cancelled (Ctrl-C)";
  if (sig != 0) {
    return program + " was ended by signal " + std::to_string(sig) + " (" +
           strsignal(sig) + ")";
  }
  if (code == 0) return {};
  std::string why = program + " exited with status " + std::to_string(code);
  if (code == 126) why += " (not executable)";
  if (code == 127) why += " (command not found)";
  return why;
}

// A folder of the dump's own, made in the run folder: the capture command
// writes its picture there, never into a file of the run that its name
// may have become meanwhile (a link made while the command waits), and
// the picture is renamed onto its name only once it is made. Removed with
// whatever is left in it.
class DumpFolder {
 public:
  DumpFolder() {
    std::string name = ".veskaro-dump-XXXXXX";
    if (mkdtemp(name.data()) != nullptr) name_ = std::move(name);
  }
  DumpFolder(const DumpFolder&) = delete;
  DumpFolder& operator=(const DumpFolder&) = delete;
  ~DumpFolder() {
    std::error_code ignored;
    if (!name_.empty()) std::filesystem::remove_all(name_, ignored);
  }
  // Empty when the folder could not be made (errno says why).
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace

void X11Device::build_grid(TextGrid& g) {
  g.IPASS = 1;
  g.HTX = 0.15625F;
  g.HTY = 0.33F;
  g.XSPOT[0] = 0.0F;
  g.XSPOT[1] = g.HTX / 2.0F;
  for (int c = 2; c < kColumns; ++c) g.XSPOT[c] = g.XSPOT[c - 1] + g.HTX;
  g.YSPOT[0] = 10.0F - 0.8F * g.HTY;
  for (int r = 1; r < kRows; ++r) g.YSPOT[r] = g.YSPOT[r - 1] - g.HTY;
  g.TAD = 0.1F * g.HTX;
  // Cursor boxes are squares one cell wide, reaching a little below the
  // baseline.
  for (int c = 0; c < kColumns; ++c) {
    const float left = g.XSPOT[c] - g.TAD;
    g.XBSPOT[c] = {left, left + g.HTX + g.TAD};
  }
  for (int r = 1; r < kRows; ++r) {
    const float bottom = g.YSPOT[r] - g.TAD;
    g.YBSPOT[r] = {bottom, bottom + g.HTX + g.TAD};
  }
  g.IBLANK = kNoChar;
  layer_.myscreen(g.MYCOLOR);
  // The cursor colour is chosen once, against the background of the time.
  if (g.MYCOLOR <= 1) {
    g.ICC1 = 1;
  } else {
    g.ICC1 = BACKMY == kBlue ? 4 : 1;
  }
  g.ICC2 = 0;
}

void X11Device::grid_text(TextGrid& g, int icol, int irow,
                          std::string_view text, int nchar) {
  if (g.IPASS == 0) build_grid(g);
  // Characters outside the grid or past the end of the text are not drawn.
  if (irow >= 0 && irow < kRows) {
    const int n = std::min(nchar, static_cast<int>(text.size()));
    for (int k = 1; k <= n; ++k) {
      g.IX = icol + k - 1;
      if (g.IX < 0 || g.IX >= kColumns) continue;
      layer_.rtextx(0, g.XSPOT[g.IX], g.YSPOT[irow], text.substr(k - 1, 1), 1);
    }
  }
  layer_.flushit();
}

void X11Device::showtext(int icol, int irow, std::string_view text, int nchar) {
  grid_text(text_, icol, irow, text, nchar);
}

void X11Device::showscrn(int icol, int irow, std::string_view text, int nchar) {
  grid_text(scrn_, icol, irow, text, nchar);
}

void X11Device::curseon(int icol, int irow, std::string_view chr) {
  const TextGrid& g = text_;
  if (icol < 0 || icol >= kColumns || irow < 0 || irow >= kRows) return;
  boxcolor(g.XBSPOT[icol], g.YBSPOT[irow], g.ICC1, -1);
  if (chr.empty() || chr[0] == g.IBLANK) return;
  pen(g.ICC2);
  layer_.rtextx(1, g.XSPOT[icol], g.YSPOT[irow], chr.substr(0, 1), 1);
}

void X11Device::curseoff(int icol, int irow, std::string_view chr) {
  const TextGrid& g = text_;
  if (icol < 0 || icol >= kColumns || irow < 0 || irow >= kRows) return;
  boxcolor(g.XBSPOT[icol], g.YBSPOT[irow], 0, -1);
  if (chr.empty() || chr[0] == g.IBLANK) return;
  layer_.rtextx(0, g.XSPOT[icol], g.YSPOT[irow], chr.substr(0, 1), 1);
}

namespace {

// Runs the dump `command`, whose last word is its `file`, in a folder of
// its own and renames the picture onto that name: a link of that name
// (left from earlier, or made while the command waits) is replaced, never
// written through. Answers why the dump was not written, or nothing. The
// folder is gone, with whatever the command left there, when this
// returns: a partial picture may have filled the disk.
std::string take_dump(const std::string& command, const std::string& file,
                      const X11Device::Shell& shell) {
  const DumpFolder folder;
  if (folder.name().empty()) {
    return std::string("no folder for it can be made: ") + std::strerror(errno);
  }
  const std::string program = command.substr(0, command.find(' '));
  const int status = shell(command, folder.name());
  std::string why = why_not_written(program, status, errno);
  if (why.empty() &&
      std::rename((folder.name() + "/" + file).c_str(), file.c_str()) != 0) {
    why = errno == ENOENT ? program + " made no file"
                          : std::string("it cannot be put in place: ") +
                                std::strerror(errno);
  }
  return why;
}

}  // namespace

void X11Device::printit() {
  SPAGE = SPAGE + 1.0F;
  std::string number;
  numbr2(SPAGE, -1, number, NN);
  // The number only grows, so it always covers the digits of the last one;
  // it is cut at the end of the command text.
  COMMAND.replace(kNumberAt,
                  std::min(number.size(), COMMAND.size() - kNumberAt),
                  number.substr(0, COMMAND.size() - kNumberAt));
  const std::string command =
      COMMAND.substr(0, COMMAND.find_last_not_of(' ') + 1);
  const std::string file = command.substr(command.rfind(' ') + 1);
  layer_.flushit();
  // A dump that was not made is no reason to end an interactive run: it
  // is reported and the run goes on; the file under its name is not
  // touched.
  const std::string why = take_dump(command, file, shell_);
  if (why.empty()) return;
  std::fprintf(stderr, "veskaro: screen dump %s not written: %s\n",
               file.c_str(), why.c_str());
}

bool X11Device::is_dump_name(const std::string& name) {
  constexpr std::string_view kStem = "SCREEN.";
  if (!name.starts_with(kStem)) return false;
  const std::string_view digits = std::string_view(name).substr(kStem.size());
  return !digits.empty() && digits.size() <= kCommandLength - kNumberAt &&
         digits.front() != '0' &&
         digits.find_first_not_of("0123456789") == std::string_view::npos;
}

namespace {
constexpr std::string_view kDigit = "1234567890";
}  // namespace

void numbr2(double z, int idec, std::string& field, int& n) {
  const double az = std::fabs(z);
  const int d = idec > 0 ? idec : 0;
  const float p = std::pow(10.0F, static_cast<float>(d));
  const auto ip = static_cast<std::int64_t>(p);
  const double scaled = az * static_cast<double>(p) + 0.5;
  // Values too large for the digits are held at the largest one written.
  std::int64_t mr = scaled < 9.0e15 ? static_cast<std::int64_t>(scaled)
                                    : static_cast<std::int64_t>(9.0e15);
  std::int64_t whole = mr / ip;
  int nd = 1;
  while (whole >= 10) {
    whole /= 10;
    ++nd;
  }
  std::int64_t place = ip;
  for (int i = 1; i < nd; ++i) place *= 10;
  field.clear();
  if (z < 0.0) field.push_back('-');
  const int point = nd + d - idec;
  for (int i = 1; i <= nd + d; ++i) {
    const auto digit = static_cast<int>(mr / place);
    field.push_back(digit == 0 ? kDigit[9] : kDigit[digit - 1]);
    if (i == point) field.push_back('.');
    mr -= digit * place;
    place /= 10;
  }
  n = static_cast<int>(field.size());
}

namespace {

struct Key {
  int sym, number;
};
// Special keys: those of a PC keyboard get 1000 plus their scan code.
constexpr std::array<Key, 20> kKeys{
    {{0xFFBE, 1059}, {0xFFBF, 1060}, {0xFF91, 1073}, {0xFF92, 1081},
     {0xFF0A, 1071}, {0xFF6B, 1079}, {0xFFE3, 1082}, {0xFFFF, 1083},
     {0xFF0D, 13},   {0xFF1B, 27},   {0xFF52, 1072}, {0xFF54, 1080},
     {0xFF51, 1075}, {0xFF53, 1077}, {0xFF09, 9},    {0xFF63, 1082},
     {0xFF50, 1071}, {0xFF55, 1073}, {0xFF56, 1081}, {0xFF57, 1079}}};

}  // namespace

std::optional<int> keynumber(int k) {
  if (k >= 0 && k <= 255) return k == 0 ? 32 : k;
  if (k >= 0xFFC0 && k <= 0xFFC9) return std::nullopt;  // F3 to F12
  for (const Key& key : kKeys) {
    if (key.sym == k) return key.number;
  }
  if (k >= 10000) return std::nullopt;
  return k;
}

int X11Device::keycode() {
  for (;;) {
    int k = 0;
    layer_.pxkbd2(k);
    if (const std::optional<int> number = keynumber(k)) return *number;
  }
}

void X11Device::pixset(float x, float y, int ic) {
  pen(ic);
  layer_.xypixel(x, y);
}

}  // namespace veskaro
