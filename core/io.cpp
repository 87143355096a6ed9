#include "core/io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace veskaro {

namespace {
constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr std::size_t kFlushAt = std::size_t{1} << 16;
}  // namespace

void fatal_file(std::string_view what, std::string_view file) {
  const int err = errno;
  std::fprintf(stderr, "veskaro: %.*s %.*s: %s\n",
               static_cast<int>(what.size()), what.data(),
               static_cast<int>(file.size()), file.data(),
               err != 0 ? std::strerror(err) : "error");
  std::exit(2);
}

RecordReader::~RecordReader() { close(); }

void RecordReader::open(const std::string& name) {
  close();
  name_ = name;
  fp_ = std::fopen(name.c_str(), "rb");
  eof_ = fp_ == nullptr;
}

void RecordReader::open_text(std::string_view text) {
  close();
  name_ = "(text)";
  buf_.assign(text);
  eof_ = true;
}

void RecordReader::close() {
  if (fp_ != nullptr) std::fclose(fp_);
  fp_ = nullptr;
  buf_.clear();
  pos_ = 0;
  eof_ = true;
  err_ = false;
}

bool RecordReader::fill() {
  if (eof_ || fp_ == nullptr) return false;
  if (pos_ > 0) {
    buf_.erase(0, pos_);
    pos_ = 0;
  }
  const std::size_t old = buf_.size();
  buf_.resize(old + kChunk);
  const std::size_t got = std::fread(&buf_[old], 1, kChunk, fp_);
  buf_.resize(old + got);
  if (got < kChunk) {
    if (std::ferror(fp_) != 0) err_ = true;
    eof_ = true;
  }
  return got > 0;
}

ReadStatus RecordReader::read(std::string& rec) {
  rec.clear();
  for (;;) {
    const char* base = buf_.data() + pos_;
    const std::size_t avail = buf_.size() - pos_;
    const void* nl = avail > 0 ? std::memchr(base, '\n', avail) : nullptr;
    if (nl != nullptr) {
      std::size_t len = static_cast<const char*>(nl) - base;
      const std::size_t next = pos_ + len + 1;
      if (len > 0 && base[len - 1] == '\r') --len;
      rec.append(base,
                 len < kMaxRecord - rec.size() ? len : kMaxRecord - rec.size());
      pos_ = next;
      return ReadStatus::kOk;
    }
    if (!eof_) {
      // Keep at most kMaxRecord characters of an overlong line in hand.
      if (avail > kMaxRecord && rec.size() < kMaxRecord) {
        rec.append(base, kMaxRecord - rec.size());
      }
      if (avail > kMaxRecord) pos_ = buf_.size();
      fill();
      continue;
    }
    if (err_) return ReadStatus::kBad;
    if (avail == 0) return rec.empty() ? ReadStatus::kEnd : ReadStatus::kOk;
    std::size_t len = avail;
    if (base[len - 1] == '\r') --len;
    rec.append(base,
               len < kMaxRecord - rec.size() ? len : kMaxRecord - rec.size());
    pos_ = buf_.size();
    return ReadStatus::kOk;
  }
}

TextWriter::~TextWriter() {
  if (fp_ != nullptr) std::fclose(fp_);
}

void TextWriter::open(const std::string& name) {
  name_ = name;
  memory_ = false;
  buf_.clear();
  errno = 0;
  fp_ = std::fopen(name.c_str(), "wb");
  if (fp_ == nullptr) fatal_file("cannot open", name);
}

void TextWriter::open_memory() {
  name_ = "(memory)";
  memory_ = true;
  buf_.clear();
}

void TextWriter::write(std::string_view text) {
  buf_.append(text);
  if (!memory_ && buf_.size() >= kFlushAt) flush();
}

void TextWriter::line(std::string_view text) {
  buf_.append(text);
  buf_.push_back('\n');
  if (!memory_ && buf_.size() >= kFlushAt) flush();
}

void TextWriter::flush() {
  if (memory_ || fp_ == nullptr) return;
  errno = 0;
  if (!buf_.empty() &&
      std::fwrite(buf_.data(), 1, buf_.size(), fp_) != buf_.size()) {
    fatal_file("cannot write", name_);
  }
  buf_.clear();
  if (std::fflush(fp_) != 0) fatal_file("cannot write", name_);
}

void TextWriter::close() {
  if (memory_) return;
  if (fp_ == nullptr) return;
  flush();
  std::FILE* fp = fp_;
  fp_ = nullptr;
  errno = 0;
  if (std::fclose(fp) != 0) fatal_file("cannot write", name_);
}

}  // namespace veskaro
