#pragma once
#include <cstdio>
#include <string>

namespace iex {

// One import file: lines of fields, each field followed by one TAB, each
// line ended with CR LF and handed to the operating system at once.
class TLineWriter {
 public:
  // Creates or empties the file; raises the file system's error text.
  explicit TLineWriter(const std::string& path);
  ~TLineWriter();  // closes without raising
  TLineWriter(const TLineWriter&) = delete;
  TLineWriter& operator=(const TLineWriter&) = delete;

  // A TAB, CR or LF inside a value becomes a blank, so the line keeps its fields.
  TLineWriter& Field(const std::string& value);
  TLineWriter& Empty(int count = 1);
  void EndLine();  // CR LF, then flush
  void Close();    // raises when the last bytes cannot be written

  long Lines() const { return lines_; }

 private:
  [[noreturn]] void Fail();
  std::string path_;
  std::FILE* file_ = nullptr;
  std::string line_;
  long lines_ = 0;
};

}  // namespace iex
