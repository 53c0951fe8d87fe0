#include "export/LineWriter.h"

#include <cstdint>
#include <cstring>

#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {
namespace {
constexpr std::size_t kBlock = 1 << 16;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// True when no byte of the eight is a control character: the usual case,
// checked a word at a time.
bool NoControlIn(const char* p) {
  uint64_t x;
  std::memcpy(&x, p, sizeof x);
  constexpr uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
  const uint64_t below20 = (x - ones * 0x20) & ~x & highs;
  const uint64_t del = ((x ^ (ones * 0x7F)) - ones) & ~(x ^ (ones * 0x7F)) & highs;
  return (below20 | del) == 0;
}

}  // namespace

TLineWriter::TLineWriter(std::unique_ptr<TWritableFile> file, std::string shownPath, TFileDigest* digest)
    : file_(std::move(file)), path_(std::move(shownPath)), digest_(digest) {
  buffer_.reserve(kBlock + 4096);
}

std::string TLineWriter::FailureText(const std::string& path, const std::string& cause) {
  return "Can not write to file " + ShownPath(path) + ".\n" + cause;
}

void TLineWriter::Fail(const std::exception& e) {
  const auto* fileError = dynamic_cast<const EFileError*>(&e);
  throw EMvError(FailureText(path_, fileError ? fileError->CauseText() : e.what()));
}

TLineWriter& TLineWriter::Field(std::string_view value) {
  const std::size_t start = buffer_.size();
  buffer_.append(value);
  std::size_t i = start;
  for (; i + 8 <= buffer_.size() && NoControlIn(&buffer_[i]);) i += 8;
  for (; i < buffer_.size(); ++i)
    if (IsControl(static_cast<unsigned char>(buffer_[i]))) buffer_[i] = ' ';
  buffer_ += '\t';
  return *this;
}

TLineWriter& TLineWriter::Empty(int count) {
  buffer_.append(static_cast<std::size_t>(count), '\t');
  return *this;
}

void TLineWriter::EndLine() {
  buffer_ += "\r\n";
  ++lines_;
  if (buffer_.size() >= kBlock) Flush();
}

void TLineWriter::Flush() {
  if (digest_) digest_->Add(buffer_);
  try {
    file_->Append(buffer_);
  } catch (const std::exception& e) {
    Fail(e);
  }
  buffer_.clear();
}

void TLineWriter::Close() {
  if (!file_) return;
  Flush();
  try {
    file_->Sync();
    file_->Close();
  } catch (const std::exception& e) {
    Fail(e);
  }
  file_.reset();
}

}  // namespace iex
