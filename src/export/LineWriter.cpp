#include "export/LineWriter.h"

#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {
namespace {
constexpr std::size_t kBlock = 1 << 16;
}

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
  for (char c : value) {
    const auto u = static_cast<unsigned char>(c);
    buffer_ += (u < 0x20 || u == 0x7F) ? ' ' : c;
  }
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
