#include "tests/fuzz/fuzz_run.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/core.h"
#include "core/driver.h"
#include "device/postscript/postscript_device.h"

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

// Two frame definitions: a linear plot with a ratio subplot and a log-log
// plot of two curves and a point set each, then a 2 by 2 layout with a
// grid, error bars and a legend.
constexpr std::string_view kCards =
    "                                                      1          1 1.0\n"
    "          2          1          1          0          5          1\n"
    "Time                                    s\n"
    "Signal                                  V\n"
    "First plot\n"
    "Linear axes with a ratio subplot\n"
    "                                1          1          0          0\n"
    "                                1          1          0          0\n"
    "Second plot\n"
    "Logarithmic axes\n"
    "                                0          2          0          0\n"
    "                                1          2          0          0\n"
    "\n"
    "                                                      2          2 1.0\n"
    "         -2          1          0          1          0          0\n"
    "Distance                                m\n"
    "Amplitude                               mm\n"
    "Third plot\n"
    "Grid\n"
    "                                0          1          0          0\n"
    "                                0          1          0          0\n";

std::string make_curves() {
  std::string s;
  char rec[64];
  for (int k = 1; k <= 4; ++k) {
    s += "Curve " + std::to_string(k) + "\n";
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
    s += "Set " + std::to_string(k) + "\n";
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

}  // namespace

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
  // The printf spellings of the values that are not numbers.
  for (const std::string_view bad :
       {"nan", "NAN", "NaN", "-nan", "inf", "INF", "Inf"}) {
    for (std::size_t at = text.find(bad); at != std::string_view::npos;
         at = text.find(bad, at + 1)) {
      if (!token_start(text, at)) continue;
      std::fprintf(
          stderr, "%s holds a non-number at byte %zu: %.*s\n", what, at,
          static_cast<int>(std::min<std::size_t>(20, text.size() - at)),
          text.data() + at);
      std::abort();
    }
  }
}

void batch_run(const Inputs& in) {
  // The data store is set aside once and handed from run to run; a run
  // never reads what it has not written itself.
  static std::unique_ptr<Store> store = std::make_unique<Store>();
  static std::FILE* const terminal = std::fopen("/dev/null", "w");
  const std::string page = scratch() + "/PLOT0001.ps";
  {
    PostScriptDevice dev(1, scratch(), terminal);
    Core c(dev, std::move(store));
    c.store->ICRANG = {};
    c.store->IPRANG = {};
    c.fb.LUNINP = 2;
    c.fb.LUNLST = 3;
    c.fb.LUNCUR = 10;
    c.fb.LUNPNT = 11;
    c.ft.LUNCHR = 12;
    c.ft.LUNSYM = 14;
    c.files.inp.open_text(in.inp);
    c.files.lst.open_memory();
    c.files.cur.open_text(in.cur);
    c.files.pnt.open_text(in.pnt);
    c.files.chr.open_text(in.chr);
    c.files.sym.open_text(in.sym);
    run_core(c);
    store = std::move(c.store);
  }
  const std::string ps = slurp(page);
  check_numbers(ps, "PostScript page");
  std::remove(page.c_str());
}

}  // namespace veskaro::fuzz
