// Large curves files: the bulk reader must deliver exactly what reading
// record by record delivers (points, curve ends, reversed curves, the
// messages of unreadable fields), whether the file is read from disk in
// shares, from a pipe, or from memory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/fieldcut.h"
#include "core/routines.h"
#include "core/workers.h"
#include "tests/recording_device.h"
#include "tests/temp_dir.h"

namespace veskaro {
namespace {

TEST(WorkerPool, RunsEveryShareOnceInEveryJob) {
  WorkerPool pool;
  for (const int parts : {1, 2, 3, 8, 17}) {
    std::vector<std::atomic<int>> runs(static_cast<std::size_t>(parts));
    for (int job = 0; job < 40; ++job) {
      pool.run(parts, [&](int t) { ++runs[static_cast<std::size_t>(t)]; });
    }
    for (const auto& r : runs) EXPECT_EQ(r.load(), 40) << parts << " shares";
  }
}

// One curve as the record reader and in9 deliver it, one record at a time.
struct Curve {
  std::string title;
  std::vector<double> x, y;
};

std::vector<Curve> read_by_record(std::string_view text, Core& c) {
  RecordReader r;
  r.open_text(text);
  std::vector<Curve> out;
  std::string rec;
  while (r.read(rec) == ReadStatus::kOk) {
    Curve k;
    cut_text(k.title, rec, 1, 40);
    bool ended = false;
    while (r.read(rec) == ReadStatus::kOk) {
      if (blank_field(rec, 1)) {
        ended = true;
        break;
      }
      double x = 0, y = 0;
      in9(c, x, field_view(rec, 1));
      in9(c, y, field_view(rec, 12));
      k.x.push_back(x);
      k.y.push_back(y);
    }
    int order = 0;
    for (std::size_t i = 1; i < k.x.size(); ++i) {
      if (k.x[i] > k.x[i - 1] && order < 1) ++order;
      if (k.x[i] < k.x[i - 1] && order > -1) --order;
    }
    if (order == -1) {
      std::reverse(k.x.begin(), k.x.end());
      std::reverse(k.y.begin(), k.y.end());
    }
    // A curve cut short by the end of the file needs two points.
    if (ended || k.x.size() >= 2) out.push_back(k);
    if (!ended) break;
  }
  return out;
}

// Curves with long plain runs (so that reading goes on threads) and every
// kind of record that must leave the bulk path: other number layouts,
// short records, unreadable fields, carriage returns, overlong records,
// falling x, and a last record without its line end.
std::string mixed_curves() {
  std::mt19937 rng(20261209);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  std::string s;
  char rec[64];
  auto plain = [&](double x, double y) {
    std::snprintf(rec, sizeof rec, "%11.4E%11.4E\n", x, y);
    s += rec;
  };
  s += "Long rising curve\n";
  for (int i = 1; i <= 200'000; ++i) plain(i * 0.5, value(rng));
  s += "  2.5 E 3       17\n";        // blanks inside: the general reader
  s += "1.0x       2.0\n";            // unreadable: the error lines
  s += "   1.25E+06   3.00D-02\r\n";  // plain, with a carriage return
  s += "   1.26E+06   3.00D-02" + std::string(5000, '9') + "\n";
  for (int i = 1; i <= 120'000; ++i) plain(2e6 + i, value(rng));
  s += "\n";
  s += "Falling curve\n";
  for (int i = 1; i <= 150'000; ++i) plain(1e6 - i, value(rng));
  s += "\n";
  s += "Short records\n";
  for (int i = 1; i <= 3000; ++i) {
    s += std::to_string(i) + "  " + std::to_string(i % 7) + "\n";
    plain(i + 0.25, i);
  }
  s += "           \n";  // blank first field: the end of the curve
  s += "Cut by the end of the file\n";
  for (int i = 1; i <= 90'000; ++i) plain(i, -i);
  s += "   7.00E+00   8.00E+00";
  return s;
}

class BulkReadTest : public ::testing::Test {
 protected:
  BulkReadTest() { c.files.lst.open_memory(); }

  // Every curve of the file, read as the plot loop reads them.
  std::vector<Curve> read_all() {
    std::vector<Curve> out;
    c.fb.NCPLOT = 30;
    int ICEND = 0;
    getcur(c, ICEND);
    Store& s = *c.store;
    for (int k = 1; k <= s.NCURVE; ++k) {
      Curve v{c.lg.CTITLE(k), {}, {}};
      for (int i = s.ICRANG(1, k); i <= s.ICRANG(2, k); ++i) {
        v.x.push_back(s.XC(i));
        v.y.push_back(s.YC(i));
      }
      out.push_back(v);
    }
    return out;
  }

  void expect_same(const std::vector<Curve>& got,
                   const std::vector<Curve>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
      EXPECT_EQ(got[k].title, want[k].title);
      ASSERT_EQ(got[k].x.size(), want[k].x.size()) << want[k].title;
      for (std::size_t i = 0; i < got[k].x.size(); ++i) {
        ASSERT_EQ(got[k].x[i], want[k].x[i]) << want[k].title << " " << i;
        ASSERT_EQ(got[k].y[i], want[k].y[i]) << want[k].title << " " << i;
      }
    }
  }

  RecordingDevice dev;
  Core c{dev};
  RecordingDevice model_dev;
  Core model{model_dev};
};

TEST_F(BulkReadTest, FileReadInSharesGivesWhatRecordByRecordGives) {
  const std::string text = mixed_curves();
  const auto dir = unique_temp_dir("veskaro_bulk");
  const std::string path = (dir / "VESKARO.CUR").string();
  std::ofstream(path, std::ios::binary) << text;
  ::testing::internal::CaptureStdout();
  const std::vector<Curve> want = read_by_record(text, model);
  const std::string want_messages = ::testing::internal::GetCapturedStdout();
  c.files.cur.open(path);
  ::testing::internal::CaptureStdout();
  const std::vector<Curve> got = read_all();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), want_messages);
  ASSERT_EQ(want.size(), 4U);
  EXPECT_EQ(want[0].x.size(), 320'004U);
  expect_same(got, want);
  std::filesystem::remove_all(dir);
}

TEST_F(BulkReadTest, TextInMemoryAndPipeGiveWhatRecordByRecordGives) {
  const std::string text = mixed_curves();
  ::testing::internal::CaptureStdout();
  const std::vector<Curve> want = read_by_record(text, model);
  ::testing::internal::GetCapturedStdout();
  c.files.cur.open_text(text);
  ::testing::internal::CaptureStdout();
  expect_same(read_all(), want);
  ::testing::internal::GetCapturedStdout();

  // A pipe can not be read by position: it is read straight through.
  const auto dir = unique_temp_dir("veskaro_bulk");
  const std::string fifo = (dir / "VESKARO.CUR").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
  RecordingDevice dev2;
  Core c2{dev2};
  c2.files.lst.open_memory();
  c2.files.cur.open(fifo);
  c2.fb.NCPLOT = 30;
  int ICEND = 0;
  ::testing::internal::CaptureStdout();
  getcur(c2, ICEND);
  ::testing::internal::GetCapturedStdout();
  writer.join();
  ASSERT_EQ(c2.store->NCURVE, 4);
  const Store& s = *c2.store;
  EXPECT_EQ(s.ICRANG(2, 4) - s.ICRANG(1, 4) + 1, 90'001);
  EXPECT_EQ(s.XC(s.ICRANG(2, 4)), 7.0);
  EXPECT_EQ(s.XC(s.ICRANG(1, 2)), want[1].x.front());
  std::filesystem::remove_all(dir);
}

TEST_F(BulkReadTest, AFullStoreStopsTheBulkReadAtItsLastPoint) {
  // Ten million points fill the store exactly; the next record stays
  // unread and the curve is cut there.
  std::string text = "Full\n";
  text.reserve(kMaxCurvePoints * 23U + 100);
  for (int i = 1; i <= kMaxCurvePoints + 5; ++i) {
    text += "   1.00E+00   2.00E+00\n";
  }
  c.files.cur.open_text(text);
  c.fb.NCPLOT = 2;
  int ICEND = 0;
  getcur(c, ICEND);
  EXPECT_EQ(ICEND, 1);
  ASSERT_EQ(c.store->NCURVE, 1);
  EXPECT_EQ(c.store->ICRANG(2, 1), kMaxCurvePoints);
  EXPECT_EQ(c.store->YC(kMaxCurvePoints), 2.0);
}

}  // namespace
}  // namespace veskaro
