#include "tests/fuzz/fuzz_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/driver.h"
#include "core/routines.h"
#include "device/postscript/postscript_device.h"
#include "tests/fuzz/null_device.h"

namespace veskaro::fuzz {

namespace {

std::string slurp(const std::string& path) {
  std::string text;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return text;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0) {
      text.resize(static_cast<std::size_t>(size));
      std::rewind(f);
      text.resize(std::fread(text.data(), 1, text.size(), f));
    }
  }
  std::fclose(f);
  return text;
}

// Two frame definitions, kept small: every record drawn costs time in
// every run. A linear plot with heavy lines and thin text, error bars,
// shown points, a legend and a ratio subplot; then a log-log plot with a
// grid over the curves read before.
constexpr std::string_view kCards =
    "                                                      1          1 1.0\n"
    "          2          1          1          0          5         -1\n"
    "T                                       s\n"
    "S                                       V\n"
    "A\n"
    "\n"
    "                                1          1          0          0\n"
    "                                1          1          0          1\n"
    "\n"
    "                                                      1          1 1.0\n"
    "         -2          1          0          1          0          0\n"
    "X                                       m\n"
    "Y                                       mm\n"
    "B\n"
    "\n"
    "                                1          2          0          0\n"
    "                                1          2          0          0\n";

std::string make_curves() {
  std::string s;
  char rec[64];
  for (int k = 1; k <= 4; ++k) {
    s += "C" + std::to_string(k) + "\n";
    for (int i = 1; i <= 12; ++i) {
      const double x = (k == 3 ? 13 - i : i) * 0.5;
      const double y = k * 1.5 + i * i * 0.25;
      std::snprintf(rec, sizeof rec, "%11.4E%11.4E\n", x, y);
      s += rec;
    }
    s += "\n";
  }
  return s;
}

std::string make_sets() {
  std::string s;
  char rec[96];
  for (int k = 1; k <= 2; ++k) {
    s += "P" + std::to_string(k) + "\n";
    for (int i = 1; i <= 5; ++i) {
      std::snprintf(rec, sizeof rec, "%11.4E%11.4E%11.4E%11.4E%11.4E%11.4E\n",
                    i * 1.1, 0.1, -0.2, 2.0 + i * k, 0.3, 0.25);
      s += rec;
    }
    s += "\n";
  }
  return s;
}

std::string make_scratch() {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string templ = std::string(base) + "/veskaro-fuzz-XXXXXX";
  if (mkdtemp(templ.data()) == nullptr) std::abort();
  return templ;
}

// Whether the text before `at` ends a token (or a sign that starts one).
bool token_start(std::string_view text, std::size_t at) {
  std::size_t i = at;
  if (i > 0 && (text[i - 1] == '-' || text[i - 1] == '+')) --i;
  return i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1])) != 0;
}

void remove_scratch() {
  const std::string& dir = scratch();
  std::remove((dir + "/PLOT0001.ps").c_str());
  std::remove((dir + "/PAGE.DAT").c_str());
  rmdir(dir.c_str());
}

// The whole of a file, read into a buffer kept from call to call (a page
// is read after every run). An unreadable file reads as empty.
std::string_view read_page(const std::string& path) {
  static std::vector<char> buf(std::size_t{1} << 20);
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return {};
  std::size_t used = 0;
  for (;;) {
    if (used == buf.size()) buf.resize(buf.size() * 2);
    const ssize_t got = read(fd, buf.data() + used, buf.size() - used);
    if (got <= 0) break;
    used += static_cast<std::size_t>(got);
  }
  close(fd);
  return {buf.data(), used};
}

bool same_text(std::string_view a, std::string_view b) {
  return a.data() == b.data() && a.size() == b.size();
}

// The shipped fonts as read by symin and refin, once per process.
const FontBlocks& shipped_fonts() {
  static const FontBlocks* const fonts = [] {
    NullDevice dev;
    const auto c = std::make_unique<Core>(dev, nullptr);
    const Inputs d = defaults();
    c->files.chr.open_text(d.chr);
    c->files.sym.open_text(d.sym);
    symin(*c);
    refin(*c);
    return new FontBlocks(c->ft);
  }();
  return *fonts;
}

// What run_core does, except that a font given as the shipped one (the
// very text of defaults()) is copied from shipped_fonts() instead of read
// again: reading the character font costs more than a small run. The
// first batch_run of a process checks that both ways give the same
// listing and page.
int run_with_fonts(Core& c, const Inputs& in) {
  const Inputs shipped = defaults();
  const FontBlocks& f = shipped_fonts();
  FontBlocks& ft = c.ft;
  try {
    if (same_text(in.chr, shipped.chr)) {
      ft.SYMCHR = f.SYMCHR;
      ft.XCHR = f.XCHR;
      ft.YCHR = f.YCHR;
      ft.IPCHR = f.IPCHR;
      ft.IRCHR = f.IRCHR;
      ft.NCHR = f.NCHR;
      ft.NALT = f.NALT;
    } else {
      symin(c);
    }
    if (same_text(in.sym, shipped.sym)) {
      ft.XREF = f.XREF;
      ft.YREF = f.YREF;
      ft.IPREF = f.IPREF;
      ft.IRREF = f.IRREF;
      ft.NREF = f.NREF;
      ft.REFWID = f.REFWID;
    } else {
      refin(c);
    }
  } catch (const RunEnd& end) {
    return end.status;
  }
  return run_loaded(c);
}

// One run of `in` on a fresh core; `whole` reads the fonts as the
// program does. Returns the listing; the page is left in the scratch
// folder.
std::string one_run(const Inputs& in, bool whole) {
  // The data store is set aside once and handed from run to run; a run
  // never reads what it has not written itself.
  static std::unique_ptr<Store> store = std::make_unique<Store>();
  static std::FILE* const terminal = std::fopen("/dev/null", "w");
  // Each core is built in the same memory: a new heap block of this size
  // for every run costs page faults on top of the zeroing (the sanitizer
  // maps and unmaps large blocks).
  alignas(Core) static unsigned char memory[sizeof(Core)];
  PostScriptDevice dev(1, scratch(), terminal);
  struct Fresh {
    Core* c;
    ~Fresh() { c->~Core(); }
  } const fresh{new (memory) Core(dev, std::move(store))};
  Core& c = *fresh.c;
  c.store->ICRANG = {};
  c.store->IPRANG = {};
  set_units(c);
  c.files.inp.open_text(in.inp);
  c.files.lst.open_memory();
  c.files.cur.open_text(in.cur);
  c.files.pnt.open_text(in.pnt);
  const Inputs shipped = defaults();
  // A font copied rather than read is not opened either.
  if (whole || !same_text(in.chr, shipped.chr)) c.files.chr.open_text(in.chr);
  if (whole || !same_text(in.sym, shipped.sym)) c.files.sym.open_text(in.sym);
  if (whole) {
    run_core(c);
  } else {
    run_with_fonts(c, in);
  }
  store = std::move(c.store);
  return c.files.lst.text();
}

// Runs the defaults both ways and aborts when listing or page differ.
bool same_as_whole_run() {
  const std::string page = scratch() + "/PLOT0001.ps";
  const Inputs d = defaults();
  const std::string lst1 = one_run(d, true);
  const std::string ps1(read_page(page));
  const std::string lst2 = one_run(d, false);
  const std::string ps2(read_page(page));
  std::remove(page.c_str());
  if (lst1 != lst2 || ps1 != ps2 || ps1.empty()) {
    std::fprintf(stderr, "run with fonts read once differs from run_core\n");
    std::abort();
  }
  return true;
}

}  // namespace

// Sanitizer settings of the whole-run targets, unless ASAN_OPTIONS says
// otherwise: a run frees a few megabytes, so a quarantine of 64 MB still
// holds many runs' worth of freed blocks for use-after-free reports, while
// the default 256 MB keeps every allocation on cold memory and makes the
// allocator hand pages back and forth with the kernel.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=64";
}

const std::string& scratch() {
  // Kept to the very end: the exit handler still needs the name.
  static const std::string* const dir = [] {
    auto* d = new std::string(make_scratch());
    std::atexit(remove_scratch);
    return d;
  }();
  return *dir;
}

Inputs defaults() {
  static const std::string chr =
      slurp(std::string(VESKARO_SOURCE_DIR) + "/data/PLOT.CHR");
  static const std::string sym =
      slurp(std::string(VESKARO_SOURCE_DIR) + "/data/PLOT.SYM");
  static const std::string cur = make_curves();
  static const std::string pnt = make_sets();
  return Inputs{kCards, cur, pnt, chr, sym};
}

void check_numbers(std::string_view text, const char* what) {
  // The printf spellings of the values that are not numbers. A page is
  // checked after every run, so the search goes by the letters that are
  // rare on a page: the middle "a" of "nan" and the final "f" of "inf".
  auto bad_at = [&](std::size_t at) {
    const std::string_view t = text.substr(at, 3);
    return t == "nan" || t == "NAN" || t == "NaN" || t == "inf" || t == "INF" ||
           t == "Inf";
  };
  for (const auto& [letter, back] :
       {std::pair{'a', 1}, {'A', 1}, {'f', 2}, {'F', 2}}) {
    for (std::size_t hit = text.find(letter); hit != std::string_view::npos;
         hit = text.find(letter, hit + 1)) {
      if (hit < static_cast<std::size_t>(back)) continue;
      const std::size_t at = hit - static_cast<std::size_t>(back);
      if (!bad_at(at) || !token_start(text, at)) continue;
      std::fprintf(
          stderr, "%s holds a non-number at byte %zu: %.*s\n", what, at,
          static_cast<int>(std::min<std::size_t>(20, text.size() - at)),
          text.data() + at);
      std::abort();
    }
  }
}

void batch_run(const Inputs& in) {
  static const bool checked = same_as_whole_run();
  (void)checked;
  const std::string page = scratch() + "/PLOT0001.ps";
  one_run(in, false);
  check_numbers(read_page(page), "PostScript page");
  std::remove(page.c_str());
}

}  // namespace veskaro::fuzz
