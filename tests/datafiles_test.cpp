#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

// A curve record: x in columns 1-11, y in 12-22.
std::string pt(const std::string& x, const std::string& y) {
  std::string r = x;
  r.resize(11, ' ');
  return r + y + "\n";
}

// A title record then points x = xs, y = 10 x; `end` adds the blank record.
std::string curve(const std::string& title, const std::vector<int>& xs,
                  bool end = true) {
  std::string s = title + "\n";
  for (const int x : xs) s += pt(std::to_string(x), std::to_string(10 * x));
  return end ? s + "\n" : s;
}

class DataFilesTest : public ::testing::Test {
 protected:
  DataFilesTest() { c.files.lst.open_memory(); }

  // x of curve k as read.
  std::vector<double> xs(int k) {
    std::vector<double> v;
    for (int i = c.store->ICRANG(1, k); i <= c.store->ICRANG(2, k); ++i) {
      v.push_back(c.store->XC(i));
      EXPECT_EQ(c.store->YC(i), 10 * c.store->XC(i));
    }
    return v;
  }
  void next_plot() {
    // What the plot loop does before each plot.
    if (c.fb.NCPLOT >= 0) c.store->NCURVE = 0;
    if (c.fb.NPPLOT >= 0) c.store->NPOINT = 0;
    if (c.drv.ICEND == 0) getcur(c, c.drv.ICEND);
    if (c.drv.IPEND == 0) getpnt(c, c.drv.IPEND);
  }

  RecordingDevice dev;
  Core c{dev};
};

TEST_F(DataFilesTest, CurvesAreReadInOrderUntilTheFileEnds) {
  c.files.cur.open_text(curve("   First curve", {1, 2, 3}) +
                        curve("Empty", {}) + curve("Last", {5, 4, 3}, false));
  c.fb.NCPLOT = 4;
  int ICEND = 0;
  getcur(c, ICEND);
  EXPECT_EQ(c.store->NCURVE, 3);
  EXPECT_EQ(ICEND, 1);
  EXPECT_EQ(c.rs.datafiles.LSTCURVE, 3);
  EXPECT_EQ(c.lg.CTITLE(1), "First curve" + std::string(29, ' '));
  EXPECT_EQ(c.lg.LTITLE(3), 11);
  EXPECT_EQ(c.lg.LTVIS(3), 11);
  EXPECT_EQ(xs(1), (std::vector<double>{1, 2, 3}));
  // An empty curve is counted and takes no points.
  EXPECT_EQ(c.store->ICRANG(1, 2), 4);
  EXPECT_EQ(c.store->ICRANG(2, 2), 3);
  // Cut short by the end of the file and descending: delivered reversed.
  EXPECT_EQ(xs(3), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(c.files.lst.text(), "");  // no warning when the file ends

  // Once ended, the reader delivers nothing more.
  getcur(c, ICEND);
  EXPECT_EQ(c.store->NCURVE, 0);
}

TEST_F(DataFilesTest, OrderStateSaturatesAndShortLastCurveIsDropped) {
  c.files.cur.open_text(curve("a", {3, 1, 2, 0}) + curve("b", {1, 3, 2}) +
                        curve("c", {2, 2, 1}) + curve("d", {7}, false));
  c.fb.NCPLOT = 4;
  int ICEND = 0;
  getcur(c, ICEND);
  EXPECT_EQ(xs(1), (std::vector<double>{0, 2, 1, 3}));
  EXPECT_EQ(xs(2), (std::vector<double>{1, 3, 2}));
  EXPECT_EQ(xs(3), (std::vector<double>{1, 2, 2}));  // equal x left alone
  EXPECT_EQ(c.store->NCURVE, 3);  // the one-point last curve is dropped
  EXPECT_EQ(ICEND, 1);
}

TEST_F(DataFilesTest, LimitOfThirtyWarnsForTheKindCut) {
  std::string curves, sets;
  for (int k = 1; k <= 26; ++k) {
    curves += curve(std::string("c").append(std::to_string(k)), {k});
  }
  for (int k = 1; k <= 11; ++k) {
    sets += std::string("s").append(std::to_string(k)) + "\n1\n\n";
  }
  c.files.cur.open_text(curves);
  c.files.pnt.open_text(sets);
  c.fb.NCPLOT = 25;
  c.fb.NPPLOT = 10;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 25);
  EXPECT_EQ(c.store->NPOINT, 5);
  const std::string rule = " " + std::string(72, '-') + "\n";
  EXPECT_EQ(c.files.lst.text(), rule +
                                    " WARNING...Requested 10 Sets.\n"
                                    "           Read Only  5 Sets.\n" +
                                    rule);
  EXPECT_EQ(c.drv.ICEND, 0);
  EXPECT_EQ(c.drv.IPEND, 0);
  // Each read starts the store again at index 1.
  c.fb.NCPLOT = 1;
  next_plot();
  EXPECT_EQ(c.store->ICRANG(1, 1), 1);
  EXPECT_EQ(c.lg.CTITLE(1).substr(0, 3), "c26");
}

TEST_F(DataFilesTest, PointSetsKeepFileOrderAndAbsoluteUncertainties) {
  // x, dx+, dx-, y, dy+, dy- in six 11-column fields.
  c.files.pnt.open_text(
      "Set one\n"
      "        3.0        0.1       -0.2        5.0       -0.3        0.4\n"
      "        1.0\n"  // short record: the missing fields read as 0
      "\n"
      "Last set\n"
      "        2.0\n"
      "        1.0        1.0        1.0        1.0        1.0        1.0"
      "   trailing columns are ignored\n");
  c.fb.NPPLOT = 3;
  int IPEND = 0;
  getpnt(c, IPEND);
  const Store& s = *c.store;
  auto point = [&s](int i) {
    return std::vector<double>{s.XP(i), s.DXP(i), s.DXM(i),
                               s.YP(i), s.DYP(i), s.DYM(i)};
  };
  EXPECT_EQ(s.NPOINT, 2);
  EXPECT_EQ(IPEND, 1);
  EXPECT_EQ(point(1), (std::vector<double>{3.0, 0.1, 0.2, 5.0, 0.3, 0.4}));
  EXPECT_EQ(point(2), (std::vector<double>{1.0, 0, 0, 0, 0, 0}));
  // The last set, cut short by the end of the file, keeps all its points
  // in file order.
  EXPECT_EQ(s.IPRANG(1, 2), 3);
  EXPECT_EQ(s.IPRANG(2, 2), 4);
  EXPECT_EQ(point(3), (std::vector<double>{2.0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(point(4), (std::vector<double>(6, 1.0)));
  EXPECT_EQ(c.lg.LTITLE(34), 8);
}

TEST_F(DataFilesTest, EmptyFilesAndTitleOnlySetAtTheEnd) {
  c.files.cur.open_text("");
  c.files.pnt.open_text("Title only");
  c.fb.NCPLOT = 2;
  c.fb.NPPLOT = 2;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 0);
  EXPECT_EQ(c.drv.ICEND, 1);
  // A set with no points at the end of the file still counts.
  EXPECT_EQ(c.store->NPOINT, 1);
  EXPECT_EQ(c.store->IPRANG(2, 1), c.store->IPRANG(1, 1) - 1);
  EXPECT_EQ(c.drv.IPEND, 1);
}

TEST_F(DataFilesTest, NegativeCountsReuseTheLastRead) {
  c.files.cur.open_text(curve("a", {1, 2}) + curve("b", {3, 4}) +
                        curve("c", {5, 6}) + curve("d", {7, 8}) +
                        curve("e", {9, 10}) + curve("f", {11, 12}));
  // Nothing read yet: nothing to reuse, the count stays negative.
  c.fb.NCPLOT = -2;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 0);
  EXPECT_EQ(c.fb.NCPLOT, -2);

  c.fb.NCPLOT = 3;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 3);
  c.fb.NCPLOT = -2;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 2);
  EXPECT_EQ(c.fb.NCPLOT, 2);
  EXPECT_EQ(xs(2), (std::vector<double>{3, 4}));
  next_plot();  // the next plot reads two fresh curves
  EXPECT_EQ(c.store->NCURVE, 2);
  EXPECT_EQ(xs(1), (std::vector<double>{7, 8}));

  // Reuse asks at most for what was last delivered.
  c.fb.NCPLOT = -5;
  next_plot();
  EXPECT_EQ(c.fb.NCPLOT, 2);

  // A read of count 0 leaves nothing to reuse.
  c.fb.NCPLOT = 0;
  next_plot();
  c.fb.NCPLOT = -3;
  next_plot();
  EXPECT_EQ(c.store->NCURVE, 0);
  EXPECT_EQ(c.fb.NCPLOT, -3);
}

TEST_F(DataFilesTest, FullStoreEndsTheSetAndTheFile) {
  std::string text = "Big\n";
  text.reserve(2 * kMaxSetPoints + 16);
  for (int i = 0; i <= kMaxSetPoints; ++i) text += "1\n";
  text += "\nNever read\n1\n\n";
  c.files.pnt.open_text(text);
  c.fb.NPPLOT = 2;
  int IPEND = 0;
  getpnt(c, IPEND);
  EXPECT_EQ(c.store->NPOINT, 1);
  EXPECT_EQ(c.store->IPRANG(2, 1), kMaxSetPoints);
  EXPECT_EQ(IPEND, 1);
}

TEST_F(DataFilesTest, UnreadableFieldReadsAsZeroAndThePointCounts) {
  c.files.cur.open_text("t\n1.5Q       2\n2          3\n\n");
  c.fb.NCPLOT = 1;
  int ICEND = 0;
  ::testing::internal::CaptureStdout();
  getcur(c, ICEND);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ERROR in Input Data"), std::string::npos);
  EXPECT_EQ(c.store->ICRANG(2, 1), 2);
  EXPECT_EQ(c.store->XC(1), 0.0);
  EXPECT_EQ(c.store->YC(1), 2.0);
}

}  // namespace
}  // namespace veskaro
