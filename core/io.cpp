#include "core/io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace veskaro {

namespace {
constexpr std::size_t kChunk = std::size_t{1} << 20;
// A read-ahead at least this long is shared out over the worker threads.
constexpr std::size_t kShareFrom = std::size_t{2} << 20;
constexpr std::size_t kFlushAt = std::size_t{1} << 16;

// The writer saved by an exit() that ends the run early. An exit handler
// cannot be given the core state object, so this one pointer is
// process-wide.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
TextWriter* kept_writer = nullptr;

// The reason a call failed with errno `err`.
const char* reason_of(int err) {
  return err != 0 ? std::strerror(err) : "error";
}

// The length of the UTF-8 character that `s` begins with: 0 when its
// bytes are not UTF-8 (also an overlong form, a surrogate or a code point
// past U+10FFFF), -1 when `s` ends inside it.
int char_length(std::string_view s) {
  const auto byte = [s](std::size_t k) {
    return static_cast<unsigned char>(s[k]);
  };
  const unsigned lead = byte(0);
  // The second byte's range narrows for the leads that could otherwise
  // spell an overlong form, a surrogate or too large a code point.
  unsigned low = 0x80;
  unsigned high = 0xBF;
  int n = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < static_cast<std::size_t>(n); ++k) {
    if (k >= s.size()) return -1;
    if (byte(k) < low || byte(k) > high) return 0;
    low = 0x80;
    high = 0xBF;
  }
  return n;
}

}  // namespace

std::string terminal_safe(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += lead < 0x20 || lead == 0x7F ? '?' : text[i];
      ++i;
      continue;
    }
    const int n = char_length(text.substr(i));
    if (n < 0) break;
    const bool c1 = lead == 0xC2 && n == 2 &&
                    static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (n == 0 || c1) {
      out += '?';
      i += n == 0 ? 1 : 2;
      continue;
    }
    out.append(text.substr(i, static_cast<std::size_t>(n)));
    i += static_cast<std::size_t>(n);
  }
  return out;
}

void fatal_file(std::string_view what, std::string_view file) {
  fatal_file(what, file, reason_of(errno));
}

void fatal_file(std::string_view what, std::string_view file,
                std::string_view reason) {
  report_file(what, file, reason);
  std::exit(2);
}

void report_file(std::string_view what, std::string_view file,
                 std::string_view reason) {
  std::fprintf(stderr, "veskaro: %.*s %.*s: %.*s\n",
               static_cast<int>(what.size()), what.data(),
               static_cast<int>(file.size()), file.data(),
               static_cast<int>(reason.size()), reason.data());
}

void fatal_memory(std::string_view what) {
  errno = ENOMEM;
  fatal_file("cannot hold", what);
}

void prepare_process() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lower descriptors are open, so this takes the place of fd.
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      ::close(null);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

RecordReader::~RecordReader() { close(); }

void RecordReader::Buffer::assign(std::string_view text) {
  size_ = 0;
  if (text.empty()) return;
  std::memcpy(grow(text.size()), text.data(), text.size());
  size_ = text.size();
}

void RecordReader::Buffer::drop_front(std::size_t n) {
  if (n == 0) return;
  std::memmove(p_.get(), p_.get() + n, size_ - n);
  size_ -= n;
}

char* RecordReader::Buffer::grow(std::size_t n) {
  if (size_ + n > cap_) {
    const std::size_t cap = std::max(size_ + n, cap_ * 2);
    std::unique_ptr<char[]> p(new char[cap]);
    if (size_ > 0) std::memcpy(p.get(), p_.get(), size_);
    p_ = std::move(p);
    cap_ = cap;
  }
  return p_.get() + size_;
}

void RecordReader::open(const std::string& name) {
  close();
  name_ = name;
  fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  eof_ = fd_ < 0;
  if (fd_ < 0) {
    // Only a file that is not there reads as empty.
    if (errno != ENOENT) fatal_file("cannot open", name);
    return;
  }
  struct stat st {};
  if (fstat(fd_, &st) != 0) fatal_file("cannot read", name);
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    fatal_file("cannot read", name);
  }
  seekable_ = S_ISREG(st.st_mode);
}

void RecordReader::open_text(std::string_view text) {
  close();
  name_ = "(text)";
  buf_.assign(text);
  eof_ = true;
}

void RecordReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  seekable_ = false;
  offset_ = 0;
  buf_.clear();
  pos_ = 0;
  eof_ = true;
  err_ = 0;
}

// Reads up to n characters at file position `at` (a plain file) or at the
// current position (anything else); fewer only at the end of the file or
// on an error, whose errno goes to err_.
std::size_t RecordReader::read_at(char* to, std::size_t n, off_t at) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = seekable_ ? ::pread(fd_, to + got, n - got,
                                          at + static_cast<off_t>(got))
                                : ::read(fd_, to + got, n - got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) err_ = errno;
    if (r <= 0) break;
    got += static_cast<std::size_t>(r);
  }
  return got;
}

bool RecordReader::fill(std::size_t n, WorkerPool* workers) {
  if (eof_ || fd_ < 0) return false;
  buf_.drop_front(pos_);
  pos_ = 0;
  char* to = buf_.grow(n);
  std::size_t got = 0;
  const int parts = workers != nullptr && seekable_ && n >= kShareFrom
                        ? WorkerPool::capacity()
                        : 1;
  if (parts == 1) {
    got = read_at(to, n, offset_);
  } else {
    // Equal shares read side by side; the text runs up to the first share
    // that came back short (the end of the file).
    std::vector<std::size_t> share(static_cast<std::size_t>(parts), 0);
    const std::size_t each = (n + parts - 1) / parts;
    workers->run(parts, [&](int t) {
      const std::size_t from = each * static_cast<std::size_t>(t);
      if (from >= n) return;
      const std::size_t len = std::min(each, n - from);
      share[static_cast<std::size_t>(t)] =
          read_at(to + from, len, offset_ + static_cast<off_t>(from));
    });
    for (int t = 0; t < parts; ++t) {
      const std::size_t s = share[static_cast<std::size_t>(t)];
      got += s;
      if (s < std::min(each, n - std::min(n, each * t))) break;
    }
  }
  // A read error is not the end of the file: the run stops naming it.
  if (err_ != 0) {
    errno = err_;
    fatal_file("cannot read", name_);
  }
  buf_.commit(got);
  offset_ += static_cast<off_t>(got);
  if (got < n) eof_ = true;
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
      fill(kChunk, nullptr);
      continue;
    }
    if (err_ != 0) return ReadStatus::kBad;
    if (avail == 0) return rec.empty() ? ReadStatus::kEnd : ReadStatus::kOk;
    std::size_t len = avail;
    if (base[len - 1] == '\r') --len;
    rec.append(base,
               len < kMaxRecord - rec.size() ? len : kMaxRecord - rec.size());
    pos_ = buf_.size();
    return ReadStatus::kOk;
  }
}

std::string_view RecordReader::lines_ahead(std::size_t want,
                                           WorkerPool& workers) {
  const std::size_t avail = buf_.size() - pos_;
  if (avail < want && !eof_) fill(std::max(kChunk, want - avail), &workers);
  const std::string_view ahead(buf_.data() + pos_,
                               std::min(buf_.size() - pos_, want));
  const std::size_t last = ahead.rfind('\n');
  return last == std::string_view::npos ? std::string_view{}
                                        : ahead.substr(0, last + 1);
}

TextWriter::~TextWriter() {
  if (kept_writer == this) kept_writer = nullptr;
  if (fp_ != nullptr) std::fclose(fp_);
}

void TextWriter::keep_at_exit() {
  static const bool registered = std::atexit(write_kept) == 0;
  if (registered) kept_writer = this;
}

void TextWriter::write_kept() {
  TextWriter* w = kept_writer;
  kept_writer = nullptr;
  if (w != nullptr) w->write_through();
}

// The run is ending for another reason, already said: a write that fails
// here is said too, on a line of its own, before a failed cut.
void TextWriter::write_through() {
  if (memory_ || fp_ == nullptr || failed_) return;
  errno = 0;
  if (!put()) {
    const int err = errno;
    const int cut_err = cut_to_whole_records();
    report_file("cannot write", name_, reason_of(err));
    if (cut_err != 0) report_cut_failure(cut_err);
  }
  buf_.clear();
}

bool TextWriter::put() {
  return (buf_.empty() ||
          std::fwrite(buf_.data(), 1, buf_.size(), fp_) == buf_.size()) &&
         std::fflush(fp_) == 0;
}

// A failed write is not tried again at exit: part of it may be on disk.
// When it cannot be cut back, a second line says so.
void TextWriter::fail(std::string_view what) {
  failed_ = true;
  const int cut_err = cut_to_whole_records();
  report_file(what, name_, reason_of(errno));
  if (cut_err != 0) report_cut_failure(cut_err);
  std::exit(2);
}

void TextWriter::report_cut_failure(int err) const {
  report_file("cannot cut back", name_,
              std::string(std::strerror(err)) + "; it may end inside a record");
}

// The write that failed began at written_ with what buf_ holds; the file
// position tells how much of it reached the file. Only a regular file is
// cut: a pipe or a device is left as it is. Keeps errno.
int TextWriter::cut_to_whole_records() {
  if (!whole_records_ || fp_ == nullptr) return 0;
  const int err = errno;
  const int fd = fileno(fp_);
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    errno = err;
    return 0;
  }
  const off_t end = lseek(fd, 0, SEEK_CUR);
  off_t cut = whole_;
  if (end > written_) {
    const std::string_view part(
        buf_.data(),
        std::min(buf_.size(), static_cast<std::size_t>(end - written_)));
    const std::size_t nl = part.rfind('\n');
    if (nl != std::string_view::npos) {
      cut = written_ + static_cast<off_t>(nl + 1);
    }
  }
  int cut_err = 0;
  if (end > cut) {
    if (ftruncate(fd, cut) == 0) {
      lseek(fd, cut, SEEK_SET);
    } else {
      cut_err = errno != 0 ? errno : EIO;
    }
  }
  errno = err;
  return cut_err;
}

void TextWriter::open(const std::string& name, const Opener& opener) {
  name_ = name;
  memory_ = false;
  failed_ = false;
  buf_.clear();
  written_ = 0;
  whole_ = 0;
  errno = 0;
  // Opened without truncating: the file is cut to empty only once the
  // opener has seen which file the name led to. Devices and pipes are not
  // cut.
  const int fd =
      opener ? opener(name)
             : ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fatal_file("cannot open", name);
  struct stat st {};
  if (fstat(fd, &st) != 0 || (S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0)) {
    fatal_file("cannot open", name);
  }
  fp_ = fdopen(fd, "wb");
  if (fp_ == nullptr) {
    const int err = errno;
    ::close(fd);
    errno = err;
    fatal_file("cannot open", name);
  }
  // The writer holds its own buffer: without another in the stream, what
  // a failed write leaves is on disk, not held to be tried again at exit.
  std::setvbuf(fp_, nullptr, _IONBF, 0);
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
  if (!put()) fail("cannot write");
  const std::size_t nl = buf_.rfind('\n');
  if (nl != std::string::npos) whole_ = written_ + static_cast<off_t>(nl + 1);
  written_ += static_cast<off_t>(buf_.size());
  buf_.clear();
}

void TextWriter::close() {
  if (memory_) return;
  if (fp_ == nullptr) return;
  flush();
  std::FILE* fp = fp_;
  fp_ = nullptr;
  errno = 0;
  if (std::fclose(fp) != 0) fail("cannot write");
}

}  // namespace veskaro
