// A batch device's folder of pages and its terminal, for the tests of the
// devices that write page files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/device.h"

namespace veskaro {

namespace fs = std::filesystem;

class PageFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = fs::temp_directory_path() / "veskaro-page-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    term_ = std::tmpfile();
    ASSERT_NE(term_, nullptr);
  }
  void TearDown() override {
    std::fclose(term_);
    fs::remove_all(dir_);
  }

  std::string file(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> lines(const std::string& name) const {
    std::vector<std::string> v;
    std::istringstream in(file(name));
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string terminal() const {
    std::fflush(term_);
    std::rewind(term_);
    std::string s;
    for (int ch = std::fgetc(term_); ch != EOF; ch = std::fgetc(term_)) {
      s.push_back(static_cast<char>(ch));
    }
    return s;
  }

  // A start page and a partly filled second page, as the core draws them.
  static void two_page_run(Device& dev) {
    dev.daruvuza();
    dev.pen(2);
    dev.plot(0.0F, 0.0F, 3);
    dev.plot(1.0F, 1.0F, 2);
    dev.boxcolor({0.0F, 1.0F}, {0.0F, 1.0F}, 0, 2);
    dev.nextplot();
    dev.pen(4);
    dev.plot(1.0F, 1.0F, 3);
    dev.plot(2.0F, 2.0F, 2);
    dev.endplots();
  }

  fs::path dir_;
  std::FILE* term_ = nullptr;
};

}  // namespace veskaro
