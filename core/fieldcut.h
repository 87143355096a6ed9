// Cutting fixed columns out of a record. A record shorter than the columns
// asked for counts as padded with blanks; columns beyond them are ignored.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace veskaro {

constexpr int kFieldWidth = 11;

// An 11-column numeric field, ready for in9 and intger.
struct Field {
  std::array<char, kFieldWidth> col{};
  operator std::string_view() const {  // NOLINT(google-explicit-constructor)
    return {col.data(), col.size()};
  }
};

// Columns first..last of `rec` (counted from 1) as an 11-column field.
// A range of fewer than 11 columns is right-aligned behind blanks; a range
// of more keeps its first 11 columns.
inline Field cut_field(std::string_view rec, int first, int last) {
  Field f;
  f.col.fill(' ');
  const int width = std::min(last - first + 1, kFieldWidth);
  if (width < 1 || first < 1) return f;
  const int skip = kFieldWidth - width;
  for (int i = 0; i < width; ++i) {
    const int from = first - 1 + i;
    const int to = skip + i;
    const auto k = static_cast<std::size_t>(from);
    if (k >= rec.size()) break;
    f.col[static_cast<std::size_t>(to)] = rec[k];
  }
  return f;
}

// The 11 columns starting at column `first`.
inline Field cut_field(std::string_view rec, int first) {
  return cut_field(rec, first, first + kFieldWidth - 1);
}

// Columns first..last of `rec` into `out`, blank-padded to exactly
// last - first + 1 characters. Reuses the storage of `out`.
inline void cut_text(std::string& out, std::string_view rec, int first,
                     int last) {
  const int width = std::max(last - first + 1, 0);
  out.assign(static_cast<std::size_t>(width), ' ');
  if (first < 1) return;
  const std::size_t from = static_cast<std::size_t>(first - 1);
  if (from >= rec.size()) return;
  const std::size_t n =
      std::min(static_cast<std::size_t>(width), rec.size() - from);
  out.replace(0, n, rec.substr(from, n));
}

// The 11 columns starting at column `first`, as far as the record
// reaches (possibly fewer, or none): in9 and intger read missing columns
// as blanks, so this needs no copy.
inline std::string_view field_view(std::string_view rec, int first) {
  const auto from = static_cast<std::size_t>(first - 1);
  if (first < 1 || from >= rec.size()) return {};
  return rec.substr(from, kFieldWidth);
}

// True when every character of `text` is a blank (or it has none).
inline bool blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// True when every one of the 11 columns starting at `first` is blank.
inline bool blank_field(std::string_view rec, int first) {
  const std::size_t from = static_cast<std::size_t>(first - 1);
  for (std::size_t k = from; k < from + kFieldWidth && k < rec.size(); ++k) {
    if (rec[k] != ' ') return false;
  }
  return true;
}

}  // namespace veskaro
