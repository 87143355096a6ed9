// Sequential text files of fixed-column records: a reader that tells a
// record from the end of the file and from an unreadable record, and a
// checked writer. Failures to open or write an output file stop the run
// with a message naming the file; output is never silently lost.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/workers.h"

namespace veskaro {

// Stops the program: prints "veskaro: <what> <file>: <reason>" on standard
// error and exits with status 2.
[[noreturn]] void fatal_file(std::string_view what, std::string_view file);
// The same with the reason given: "veskaro: <what> <file>: <reason>".
[[noreturn]] void fatal_file(std::string_view what, std::string_view file,
                             std::string_view reason);
// Prints the same line and goes on (the run is ending another way).
void report_file(std::string_view what, std::string_view file,
                 std::string_view reason);
// The same for memory that could not be had: "veskaro: cannot hold <what>:
// <reason>", status 2.
[[noreturn]] void fatal_memory(std::string_view what);

// `text` as it may go to a terminal: a control character (C0, DEL or C1)
// or a byte that is not UTF-8 becomes '?', so that no text of a file or an
// argument can move the cursor, ring the bell or change the terminal's
// state; a character that the end of `text` cuts off is left out.
std::string terminal_safe(std::string_view text);

// Makes the process's surroundings safe for its files, once at start:
// standard descriptors 0 to 2 that are closed are opened on /dev/null, so
// that no file of the run takes their place; a write to a closed pipe or
// beyond the file-size limit fails with an error (and takes the "cannot
// write" path) instead of ending the process by a signal.
void prepare_process();

enum class ReadStatus { kOk, kEnd, kBad };

// Longest record kept; the rest of a longer line is skipped.
constexpr std::size_t kMaxRecord = 4096;

class RecordReader {
 public:
  RecordReader() = default;
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;
  ~RecordReader();

  // Opens a file by name; a missing file reads as empty. A file that is
  // there but cannot be opened or read (no permission, a directory, too
  // many open files, a read error) stops the run naming the file.
  void open(const std::string& name);
  // Reads from text held in memory (tests and fuzzing).
  void open_text(std::string_view text);
  void close();

  // Reads the next record into `rec` (without its line end; a trailing
  // carriage return is dropped).
  ReadStatus read(std::string& rec);

  // The whole lines (each with its line end) among the next `want`
  // characters, read ahead as needed; empty when not one whole line is
  // there. The caller takes what it uses with skip(); read() goes on
  // after that.
  // A large read-ahead of a plain file is shared out over `workers`.
  std::string_view lines_ahead(std::size_t want, WorkerPool& workers);
  void skip(std::size_t n) { pos_ += n; }

  const std::string& name() const { return name_; }
  // The open file's descriptor; -1 for a missing file or text in memory.
  int fd() const { return fd_; }

 private:
  // Characters read and not yet passed over, in storage that is not
  // cleared before the file's bytes are read into it.
  class Buffer {
   public:
    const char* data() const { return p_.get(); }
    std::size_t size() const { return size_; }
    void assign(std::string_view text);
    void drop_front(std::size_t n);
    // Room for n more characters after the last; commit() takes them in.
    char* grow(std::size_t n);
    void commit(std::size_t n) { size_ += n; }
    void clear() { size_ = 0; }

   private:
    std::unique_ptr<char[]> p_;
    std::size_t size_ = 0;
    std::size_t cap_ = 0;
  };

  bool fill(std::size_t n, WorkerPool* workers);
  std::size_t read_at(char* to, std::size_t n, off_t at);

  std::string name_;
  int fd_ = -1;
  bool seekable_ = false;  // a plain file: read by position
  off_t offset_ = 0;       // where the next read starts in the file
  Buffer buf_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  // errno of a failed read; set by the worker threads of a shared read.
  std::atomic<int> err_{0};
};

class TextWriter {
 public:
  TextWriter() = default;
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;
  ~TextWriter();

  // Opens `name` for writing without truncating it and answers the
  // descriptor (closed on exec); it may stop the run, leaving the file as
  // it was.
  using Opener = std::function<int(const std::string& name)>;
  // Creates (truncates) the file, closed on exec so that no command the
  // run starts (a screen capture) holds it; stops the run when it cannot.
  // The file is opened through `opener` when one is given (which checks
  // the file before it is truncated), otherwise by its name.
  void open(const std::string& name, const Opener& opener = {});
  // Collects output in memory only (tests).
  void open_memory();
  bool is_open() const { return fp_ != nullptr || memory_; }

  void write(std::string_view text);
  // Writes text and a line end.
  void line(std::string_view text);
  void flush();
  // Flushes and closes; stops the run when the data cannot be written.
  void close();
  // Makes this the writer whose output is written through when the
  // process ends by exit() before the writer is closed (a fatal error, a
  // lost display): one writer at a time, the listing.
  void keep_at_exit();
  // Makes a failed write cut the file back to the end of its last whole
  // line on disk, so that it never ends in part of a record: the listing.
  void keep_whole_records() { whole_records_ = true; }

  // Everything written so far when collecting in memory.
  const std::string& text() const { return buf_; }
  const std::string& name() const { return name_; }

 private:
  // Writes what is held to the file; a failure is not reported (the
  // process is ending) but still cuts the file back as a failed write does.
  void write_through();
  // Writes what is held to the file; false when the write fails.
  bool put();
  [[noreturn]] void fail(std::string_view what);
  // Cuts a failed write back to a whole record; the errno of a cut that
  // failed, otherwise 0.
  int cut_to_whole_records();
  // Says that the file may end inside a record: its cut failed with `err`.
  void report_cut_failure(int err) const;
  static void write_kept();

  std::string name_;
  std::FILE* fp_ = nullptr;
  bool memory_ = false;
  bool failed_ = false;
  bool whole_records_ = false;
  std::string buf_;
  // Bytes of the file written, and the end of its last whole line, as far
  // as writes have gone through.
  off_t written_ = 0;
  off_t whole_ = 0;
};

// Thrown by `endit` to end the run; the program's main returns `status`.
struct RunEnd {
  int status = 0;
};

}  // namespace veskaro
