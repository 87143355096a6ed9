#include "core/io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/temp_dir.h"

namespace veskaro {
namespace {

TEST(RecordReader, TellsRecordsEndAndKeepsLastLineWithoutNewline) {
  RecordReader r;
  r.open_text("one\r\n\ntwo");
  std::string rec;
  ASSERT_EQ(r.read(rec), ReadStatus::kOk);
  EXPECT_EQ(rec, "one");
  ASSERT_EQ(r.read(rec), ReadStatus::kOk);
  EXPECT_EQ(rec, "");
  ASSERT_EQ(r.read(rec), ReadStatus::kOk);
  EXPECT_EQ(rec, "two");
  EXPECT_EQ(r.read(rec), ReadStatus::kEnd);
  EXPECT_EQ(r.read(rec), ReadStatus::kEnd);
}

TEST(RecordReader, MissingFileReadsAsEmpty) {
  RecordReader r;
  r.open("/nonexistent/VESKARO.CUR");
  std::string rec;
  EXPECT_EQ(r.read(rec), ReadStatus::kEnd);
}

TEST(RecordReader, OverlongRecordIsCutAndTheNextOneIsIntact) {
  const std::string dir = unique_temp_dir("veskaro_io").string();
  const std::string path = dir + "/long.txt";
  {
    std::ofstream f(path);
    f << std::string(3'000'000, 'x') << "\nnext\n";
  }
  RecordReader r;
  r.open(path);
  std::string rec;
  ASSERT_EQ(r.read(rec), ReadStatus::kOk);
  EXPECT_EQ(rec.size(), kMaxRecord);
  ASSERT_EQ(r.read(rec), ReadStatus::kOk);
  EXPECT_EQ(rec, "next");
  EXPECT_EQ(r.read(rec), ReadStatus::kEnd);
  std::filesystem::remove_all(dir);
}

TEST(TextWriter, WriteFailureStopsTheRunNamingTheFile) {
  EXPECT_EXIT(
      {
        TextWriter w;
        w.open("/dev/full");
        w.line("some listing line");
        w.close();
      },
      ::testing::ExitedWithCode(2), "/dev/full");
}

TEST(TextWriter, UnopenableFileStopsTheRun) {
  EXPECT_EXIT(
      {
        TextWriter w;
        w.open("/nonexistent-dir/VESKARO.LST");
      },
      ::testing::ExitedWithCode(2), "VESKARO.LST");
}

}  // namespace
}  // namespace veskaro
