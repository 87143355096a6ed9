// Builds the text of a numeric parameter card for tests: each value
// left-justified in its 11-column field, and the 4-column tail (columns
// 67-70) as given.
#pragma once

#include <initializer_list>
#include <string>

namespace veskaro::test_cards {

inline std::string card(std::initializer_list<std::string> fields,
                        const std::string& tail = "") {
  std::string s;
  for (const auto& f : fields) s += f + std::string(11 - f.size(), ' ');
  if (!tail.empty()) s.resize(66, ' ');
  return s + tail;
}

}  // namespace veskaro::test_cards
