#pragma once
// Windows only: text at the border of the Win32 wide-character API.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace iex::win {

std::wstring WideOfUtf8(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);
// Registry and INI text is 8-bit inside the program, in the ANSI code page.
std::wstring WideOfAnsi(std::string_view ansi);
std::string AnsiOfWide(std::wstring_view wide);
// The errno value whose plain words (EFileError::Cause) fit a Win32 error.
int ErrnoOf(DWORD error);

// The programs that hold any of `files` open, as "Name (pid N)" joined by
// ", " (from the Restart Manager); "" when none is known.
std::string ProgramsHolding(const std::vector<std::wstring>& files);

// A kernel handle closed when it goes.
class THandle {
 public:
  explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~THandle() { Close(); }
  THandle(THandle&& o) noexcept : h_(o.h_) { o.h_ = INVALID_HANDLE_VALUE; }
  THandle& operator=(THandle&& o) noexcept {
    if (this != &o) {
      Close();
      h_ = o.h_;
      o.h_ = INVALID_HANDLE_VALUE;
    }
    return *this;
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  // True when the system closed it without complaint.
  bool Close() {
    const bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

}  // namespace iex::win
