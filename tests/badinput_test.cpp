// Bad input of every kind, run through the whole batch program: each case
// ends in order (exit status 0, a closing line in the listing, PostScript
// that ends with its trailer and holds only numbers), with the message the
// program gives for it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/driver.h"
#include "core/menu.h"
#include "core/routines.h"
#include "device/postscript/postscript_device.h"
#include "tests/card_text.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

const std::string& font(const char* name) {
  static const std::string chr =
      slurp(fs::path(VESKARO_SOURCE_DIR) / "data" / "PLOT.CHR");
  static const std::string sym =
      slurp(fs::path(VESKARO_SOURCE_DIR) / "data" / "PLOT.SYM");
  return std::string(name) == "chr" ? chr : sym;
}

// Fields of 11 columns, left-justified.
// A numeric card as one record of a file.
std::string card(std::initializer_list<std::string> fields) {
  return test_cards::card(fields) + "\n";
}

// A frame of one linear plot with a ratio subplot, `n` curves and `m` sets
// per plot, then `plots` plots.
std::string frame(int n, int m, int plots = 1, const std::string& layout = "",
                  int ratio = 1) {
  std::string s = (layout.empty() ? "\n" : layout) +
                  card({std::to_string(n), std::to_string(m), "1", "2",
                        std::to_string(ratio), "1"}) +
                  "Time                                    s\nSignal\n";
  for (int p = 1; p <= plots; ++p) {
    s += "Plot " + std::to_string(p) + "\nSecond line\n" +
         card({"", "", "1", "1"}) + card({"", "", "1", "1", "0", "1"});
  }
  return s;
}

std::string curve(const std::string& title, int points, double scale = 1) {
  std::string s = title + "\n";
  char rec[40];
  for (int i = 1; i <= points; ++i) {
    std::snprintf(rec, sizeof rec, "%11.4E%11.4E\n", i * 1.0, i * scale + 1);
    s += rec;
  }
  return s + "\n";
}

const std::string kSet =
    "Set\n        1.0        0.1        0.1        2.0        0.2        0.2\n"
    "        2.0        0.1        0.1        3.0        0.2        0.2\n\n";

struct Result {
  int status = -1;
  std::string listing;
  std::string ps;
  std::string terminal;
  // The cell the run ended on.
  int ixnow = 0, iynow = 0;
};

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/veskaro-bad-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result run(const std::string& inp, const std::string& cur,
             const std::string& pnt, const std::string& chr = font("chr"),
             const std::string& sym = font("sym")) {
    Result r;
    std::FILE* term = std::tmpfile();
    {
      PostScriptDevice dev(1, dir_.string(), term);
      auto c = std::make_unique<Core>(dev);
      c->files.inp.open_text(inp);
      c->files.lst.open_memory();
      c->files.cur.open_text(cur);
      c->files.pnt.open_text(pnt);
      c->files.chr.open_text(chr);
      c->files.sym.open_text(sym);
      ::testing::internal::CaptureStdout();
      r.status = run_core(*c);
      r.terminal = ::testing::internal::GetCapturedStdout();
      r.listing = c->files.lst.text();
      r.ixnow = c->pg.IXNOW;
      r.iynow = c->pg.IYNOW;
    }
    std::rewind(term);
    for (int ch = std::fgetc(term); ch != EOF; ch = std::fgetc(term)) {
      r.terminal.push_back(static_cast<char>(ch));
    }
    std::fclose(term);
    if (fs::exists(dir_ / "PLOT0001.ps")) r.ps = slurp(dir_ / "PLOT0001.ps");
    return r;
  }

  // The run ended in order and wrote sound PostScript; `plots` is the
  // count of the closing line (the start page counts), -1 for a run that
  // ends without one.
  static void sound(const Result& r, int plots) {
    EXPECT_EQ(r.status, 0);
    if (plots < 0) return;
    const std::string n = std::to_string(plots);
    EXPECT_NE(r.listing.find(" End of Run  " + std::string(6 - n.size(), ' ') +
                             n + " Plots Generated"),
              std::string::npos)
        << r.listing.substr(r.listing.size() > 400 ? r.listing.size() - 400
                                                   : 0);
    if (plots <= 1) return;
    ASSERT_GE(r.ps.size(), 6U);
    EXPECT_EQ(r.ps.substr(r.ps.size() - 6), "%%EOF\n");
    std::istringstream in(r.ps);
    for (std::string tok; in >> tok;) {
      std::string t = tok[0] == '-' || tok[0] == '+' ? tok.substr(1) : tok;
      for (auto& ch : t) ch = static_cast<char>(std::tolower(ch));
      ASSERT_NE(t.substr(0, 3), "nan") << "non-number in the PostScript";
      ASSERT_NE(t.substr(0, 3), "inf") << "non-number in the PostScript";
    }
  }

  fs::path dir_;
};

TEST_F(BadInput, EmptyAndMissingFilesEndTheRunInOrder) {
  // Every file empty: no frame, no page, no PostScript file.
  Result r = run("", "", "", "", "");
  sound(r, 0);
  EXPECT_TRUE(r.ps.empty());

  // Cards but no data at all and no fonts: plots without curves are not
  // drawn; the run still ends in order.
  r = run(frame(2, 1, 2), "", "", "", "");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.listing.find("End of Run"), std::string::npos);

  // A missing file reads as empty.
  RecordReader missing;
  missing.open((dir_ / "no-such-file").string());
  std::string rec;
  EXPECT_EQ(missing.read(rec), ReadStatus::kEnd);
}

TEST_F(BadInput, OverlongRecordsAreReadByTheirColumnsOnly) {
  const std::string tail(100000, '7');
  // Cards, curve records and titles far past their columns.
  // The layout card's tail ends at column 70; the rest is ignored.
  std::string inp = frame(1, 1, 1, std::string(70, ' ') + tail + "\n");
  std::string cur = "Curve" + std::string(200, ' ') + tail + "\n";
  for (int i = 1; i <= 4; ++i) {
    char rec[40];
    std::snprintf(rec, sizeof rec, "%11d%11d", i, i * i);
    cur += rec + tail + "\n";
  }
  cur += "\n";
  const std::string pnt =
      "Set\n        1.0        0.1        0.1        2.0        0.2      "
      "  0.2" +
      tail + "\n\n";
  const Result r = run(inp, cur, pnt);
  sound(r, 2);
  EXPECT_EQ(r.terminal.find("ERROR in Input Data"), std::string::npos);
}

TEST_F(BadInput, NonAsciiAndNulBytesAreReportedAndReadAsZero) {
  std::string cur = "T\xC3\xA9tel\0\xFF title\n"s;
  cur += std::string("\0\0\0", 3) + std::string(8, ' ') + "        2.0\n";
  cur += "        2.0\xE2\x82\xAC       3.0\n";
  cur += "        3.0        5.0\n\n";
  std::string inp = frame(1, 0, 1);
  inp[inp.find("Signal")] = '\x80';
  const Result r = run(inp, cur, "");
  sound(r, 2);
  // Two bad fields: each reported on the terminal and read as 0.
  std::size_t n = 0;
  for (std::size_t at =
           r.terminal.find(" ERROR in Input Data...Translated as 0.");
       at != std::string::npos;
       at = r.terminal.find(" ERROR in Input Data", at + 1)) {
    ++n;
  }
  EXPECT_EQ(n, 2U);
}

TEST_F(BadInput, HugeIntegersAndExponentsAreReportedNotWrapped) {
  // Forty digits over four integer fields of the control card; each
  // 11-digit field is past the 32-bit range.
  std::string inp = "\n" + std::string(40, '9') + "\nx\ny\n";
  Result r = run(inp, curve("C", 3), kSet);
  // Both counts read as 0: nothing requested, the run ends at once.
  sound(r, -1);
  EXPECT_NE(r.listing.find(" Subroutine INTGER ERROR "), std::string::npos);
  EXPECT_NE(r.listing.find(" Neither Curve NOR Discrete Points Requested"),
            std::string::npos);

  // Exponents past the range: reported on the terminal, read as 0.
  std::string cur =
      "C\n1.0E+999   2.0\n2.0        1.5E-100\n3.0        "
      "9.9E99\n4.0        -9.9E99\n\n";
  r = run(frame(1, 0, 1), cur, "");
  sound(r, 2);
  EXPECT_NE(r.terminal.find(" ERROR in Input Data...Translated as 0."),
            std::string::npos);
}

TEST_F(BadInput, ValuesThatWouldMakeNaNOrInfinityDrawSoundPages) {
  // Zeros and negatives on logarithmic axes, a ratio against a reference
  // curve of zeros, the largest magnitudes the fields allow, a window of
  // zero width and all points equal.
  std::string zeros = "Zero\n";
  for (int i = 1; i <= 4; ++i) zeros += card({std::to_string(i), "0"});
  zeros += "\n";
  std::string big = "Big\n" + card({"1", "9.9E99"}) + card({"2", "-9.9E99"}) +
                    card({"3", "1.0E-99"}) + "\n";
  std::string flat = "Flat\n" + card({"5", "5"}) + card({"5", "5"}) + "\n";
  std::string neg = "Negative\n" + card({"-1", "-2"}) + card({"-2", "-3"}) +
                    card({"0", "0"}) + "\n";

  std::string inp = "\n" + card({"2", "1", "0", "5", "1", "0"}) + "x\ny\n";
  inp += "Log of zeros\nratio by zero\n" + card({"", "", "1", "2"}) +
         card({"", "", "1", "2"});
  inp += "Huge\nvalues\n" + card({"", "", "1", "1"}) + card({"", "", "1", "1"});
  inp += "Flat\nwindow\n" + card({"5", "5", "0", "-2"}) +
         card({"5", "5", "0", "-2"});
  const std::string sets =
      "S\n" + card({"1", "1E99", "-1E99", "0", "1E99", "1E99"}) +
      card({"0", "0", "0", "0", "0", "0"}) + "\n" + kSet + kSet;
  const Result r =
      run(inp, zeros + curve("One", 4) + big + neg + flat + flat, sets);
  // The window of zero width holds no data: that plot is not counted.
  EXPECT_NE(r.listing.find(" No Data in Requested X Range"), std::string::npos);
  sound(r, 3);
}

// Reads the point sets of `pnt` for a plot that asks for two, as the
// plot loop does; answers what the run said on the terminal.
std::string read_sets(Core& c, const std::string& pnt, int& ipend) {
  c.files.pnt.open_text(pnt);
  c.fb.NPPLOT = 2;
  ipend = 0;
  ::testing::internal::CaptureStderr();
  getpnt(c, ipend);
  return ::testing::internal::GetCapturedStderr();
}

TEST_F(BadInput, FullStoreEndsTheCurveAtTheLastIndex) {
  // 10,000,001 points: the store takes 10,000,000, ends the curve there
  // and ends the reading of the file, and the terminal tells which curve
  // lost how many points.
  std::string cur = "Long\n";
  cur.reserve(20'000'010);
  for (int i = 0; i <= kMaxCurvePoints; ++i) cur += "1\n";
  RecordingDevice dev;
  auto c = std::make_unique<Core>(dev);
  c->files.lst.open_memory();
  c->files.cur.open_text(cur);
  cur.clear();
  c->fb.NCPLOT = 2;
  int icend = 0;
  ::testing::internal::CaptureStderr();
  getcur(*c, icend);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                "curve 1 (\"Long\") is longer than the store of "
                "10000000 points; 1 of its points were not read"),
            std::string::npos);
  EXPECT_EQ(icend, 1);
  ASSERT_EQ(c->store->NCURVE, 1);
  EXPECT_EQ(c->store->ICRANG(1, 1), 1);
  EXPECT_EQ(c->store->ICRANG(2, 1), kMaxCurvePoints);

  // The same for point sets at 1,000,000.
  std::string pnt = "Many\n";
  for (int i = 0; i <= kMaxSetPoints + 2; ++i) pnt += "1\n";
  pnt += "\nNext\n1\n\n";
  c->store->NCURVE = 0;
  int ipend = 0;
  EXPECT_NE(
      read_sets(*c, pnt, ipend)
          .find("point set 1 (\"Many\") is longer than the store of "
                "1000000 points; 3 of its points were not read; point set 2 "
                "(\"Next\") and the rest of the file are not read\n"),
      std::string::npos);
  EXPECT_EQ(ipend, 1);
  ASSERT_EQ(c->store->NPOINT, 1);
  EXPECT_EQ(c->store->IPRANG(2, 1), kMaxSetPoints);
}

TEST_F(BadInput, FullStoreLineShowsTitlesSafeForTheTerminal) {
  // A title with a screen-clearing escape, a bell and a C1 control, whose
  // last character is cut by column 40: the controls are shown as '?' and
  // the cut character is left out. A blank title with points after it is
  // the next set's.
  const std::string start = "\x1b[2J\a\xc2\x9b \xc3\xa9";
  const std::string fill(38 - start.size(), 'x');
  std::string pnt = start + fill + "\xe2\x82\xac tail\n";
  for (int i = 0; i <= kMaxSetPoints; ++i) pnt += "1\n";
  pnt += "\n\n1\n\n";
  RecordingDevice dev;
  auto c = std::make_unique<Core>(dev);
  c->files.lst.open_memory();
  int ipend = 0;
  EXPECT_EQ(read_sets(*c, pnt, ipend),
            "veskaro: (text): point set 1 (\"?[2J?? \xc3\xa9" + fill +
                "\") is longer than the store of 1000000 points; 1 of its "
                "points were not read; point set 2 (\"\") and the rest of the "
                "file are not read\n");
  // The listing keeps the title's bytes.
  ASSERT_EQ(c->store->NPOINT, 1);
  EXPECT_EQ(c->lg.PTITLE(1), start + fill + "\xe2\x82");
}

TEST_F(BadInput, ThirtyOneCurvesAreCutToThirty) {
  std::string cur;
  for (int k = 1; k <= 31; ++k) {
    cur += curve(std::string("C").append(std::to_string(k)), 3, k);
  }
  const Result r = run(frame(31, 0, 1, "", 0), cur, "");
  sound(r, 2);
  EXPECT_NE(r.listing.find("    30      3 C30"), std::string::npos);
  EXPECT_EQ(r.listing.find("C31"), std::string::npos);
  // The count is clamped on the card: 30 curves read, the 31st is left.
  RecordingDevice dev;
  Core c(dev);
  c.files.lst.open_memory();
  c.files.cur.open_text(cur);
  c.fb.NCPLOT = 30;
  int icend = 0;
  getcur(c, icend);
  EXPECT_EQ(c.store->NCURVE, 30);
  EXPECT_EQ(icend, 0);
}

TEST_F(BadInput, BrokenFontFilesLoadWhatFitsAndDrawSoundPages) {
  const std::string cur = curve("A curve", 5);
  const std::string inp = frame(1, 1, 1);
  // A negative stroke count, a huge one, and 300 entries.
  const std::string negative =
      " A   -3\n  0.000  0.000    3\n  1.000  1.000    2\n" + font("chr");
  Result r = run(inp, cur, kSet, negative, " A   -5  0.500\n" + font("sym"));
  sound(r, 2);

  const std::string huge = " B999999\n  0.000  0.000    3\n";
  r = run(inp, cur, kSet, font("chr") + huge,
          "  99999999  0.500\n  0.000  0.000    3\n");
  sound(r, 2);

  std::string many;
  for (int k = 0; k < 300; ++k) {
    many += std::string(" ").append(1, static_cast<char>('!' + k % 90)) +
            "    2\n  0.000  0.000    3\n  1.000  1.000    2\n";
  }
  RecordingDevice dev;
  Core c(dev);
  c.files.chr.open_text(many);
  c.files.sym.open_text(many);
  symin(c);
  refin(c);
  EXPECT_EQ(c.ft.NCHR, 256);
  EXPECT_LE(c.ft.NREF, 256);
  r = run(inp, cur, kSet, many, many);
  sound(r, 2);
}

TEST_F(BadInput, CaptionNumbersOutOfRangeAreSkipped) {
  const fs::path page = dir_ / "PAGE.DAT";
  std::ofstream(page) << "  0 Zero\n 41 FortyOne\n -5 Minus\n  7 Seven\n"
                      << std::string(5000, 'x') << "\n";
  RecordingDevice dev;
  Core c(dev);
  c.rs.menu.caption_file = page.string();
  readcaptions(c);
  for (int k = 1; k <= 40; ++k) {
    ASSERT_EQ(c.mn.OPS(k).size(), 10U);
    if (k != 7) {
      EXPECT_EQ(c.mn.OPS(k), std::string(10, ' ')) << k;
    }
  }
  EXPECT_EQ(c.mn.OPS(7), "Seven     ");
}

TEST_F(BadInput, AThousandByAThousandLayoutDrawsTinyCells) {
  const std::string layout = card({"", "", "", "", "1000", "1000"});
  const Result r =
      run(frame(1, 1, 3, layout), curve("A", 5) + curve("B", 5) + curve("C", 5),
          kSet + kSet + kSet);
  sound(r, 4);
}

TEST_F(BadInput, CellCountsAtTheIntegerLimitStartAtTheTopLeftCell) {
  struct Case {
    std::string across, down;
    int ixnow, iynow;
  };
  // The start page stands on the last cell; its advance and the two plots
  // after it must neither overflow a counter nor leave the top-left cell.
  for (const Case& k :
       {Case{"2147483647", "2", 3, 1}, Case{"-2147483647", "2", 1, 1},
        Case{"1", "2147483647", 1, 3}}) {
    SCOPED_TRACE(k.across + " by " + k.down);
    const std::string layout = card({"", "", "", "", k.across, k.down});
    const Result r =
        run(frame(1, 1, 2, layout), curve("A", 5) + curve("B", 5), kSet + kSet);
    sound(r, 3);
    EXPECT_EQ(r.ixnow, k.ixnow);
    EXPECT_EQ(r.iynow, k.iynow);
  }
}

}  // namespace
}  // namespace veskaro
