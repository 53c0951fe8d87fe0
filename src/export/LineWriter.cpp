#include "export/LineWriter.h"

#include <cerrno>
#include <cstring>

#include "platform/Error.h"

namespace iex {

TLineWriter::TLineWriter(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) Fail();
}

TLineWriter::~TLineWriter() {
  if (file_) std::fclose(file_);
}

void TLineWriter::Fail() {
  const int err = errno;
  throw EMvError(std::string(std::strerror(err ? err : EIO)) + ": " + path_);
}

TLineWriter& TLineWriter::Field(const std::string& value) {
  for (char c : value) line_ += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
  line_ += '\t';
  return *this;
}

TLineWriter& TLineWriter::Empty(int count) {
  line_.append(static_cast<std::size_t>(count), '\t');
  return *this;
}

void TLineWriter::EndLine() {
  line_ += "\r\n";
  errno = 0;
  if (std::fwrite(line_.data(), 1, line_.size(), file_) != line_.size() || std::fflush(file_) != 0) Fail();
  line_.clear();
  ++lines_;
}

void TLineWriter::Close() {
  if (!file_) return;
  std::FILE* f = file_;
  file_ = nullptr;
  errno = 0;
  if (std::fclose(f) != 0) Fail();
}

}  // namespace iex
