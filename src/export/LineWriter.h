#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "export/FileDigest.h"
#include "platform/FileSystem.h"

namespace iex {

// One import file: lines of fields, each field followed by one TAB, each
// line ended with CR LF. Lines are gathered in a buffer and written in large
// blocks; the file is a temporary one until the run commits, so nothing is
// lost by holding them.
class TLineWriter {
 public:
  // `shownPath` is the name errors give: the file's final name.
  // `digest`, when given, is fed every byte written.
  TLineWriter(std::unique_ptr<TWritableFile> file, std::string shownPath, TFileDigest* digest = nullptr);
  TLineWriter(TLineWriter&&) = default;

  // A control character (TAB, CR, LF, NUL, 0x1A and the rest of C0) or DEL
  // inside a value becomes a blank: the line keeps its fields, and a reader
  // in text mode does not stop at an end-of-file byte.
  TLineWriter& Field(std::string_view value);
  TLineWriter& Empty(int count = 1);
  void EndLine();
  // Writes what is buffered and puts it on the disk; raises when any byte
  // could not be kept.
  void Close();

  long Lines() const { return lines_; }
  std::string FileName() const { return path_.substr(path_.find_last_of("/\\") + 1); }

  // "Can not write to file PATH." and, on the next line, why. PATH is UTF-8.
  static std::string FailureText(const std::string& path, const std::string& cause);

 private:
  void Flush();
  [[noreturn]] void Fail(const std::exception& e);
  std::unique_ptr<TWritableFile> file_;
  std::string path_;
  std::string buffer_;
  TFileDigest* digest_;
  long lines_ = 0;
};

}  // namespace iex
