#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace iex {

// A byte stream with a size and a read position, as the stream cipher reads
// and writes it.
class TByteStream {
 public:
  virtual ~TByteStream() = default;
  virtual int64_t Size() const = 0;
  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t pos) = 0;
  // Reads up to count bytes; returns how many were read.
  virtual std::size_t Read(uint8_t* buffer, std::size_t count) = 0;
  virtual void Write(const uint8_t* buffer, std::size_t count) = 0;
};

class TMemoryStream final : public TByteStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  int64_t Position() const override { return pos_; }
  void SetPosition(int64_t pos) override { pos_ = pos < 0 ? 0 : pos; }
  std::size_t Read(uint8_t* buffer, std::size_t count) override;
  void Write(const uint8_t* buffer, std::size_t count) override;

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int64_t pos_ = 0;
};

}  // namespace iex
