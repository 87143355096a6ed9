// A fresh folder of its own for each test, so that test processes running
// side by side never share files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace veskaro {

inline std::filesystem::path unique_temp_dir(const std::string& prefix) {
  std::string templ = ::testing::TempDir() + "/" + prefix + "XXXXXX";
  if (mkdtemp(templ.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  return templ;
}

}  // namespace veskaro
