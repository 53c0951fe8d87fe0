#include "app/win/FolderChooser.h"

#include <shobjidl.h>

#include "platform/AnsiText.h"
#include "platform/WinText.h"

namespace iex::win {
namespace {

// A COM interface released when it goes.
template <typename T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() {
    if (p_) p_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace

bool ChooseOutputFolder(HWND owner, const std::string& missingFolder, const std::string& startFolder, std::string& chosen) {
  TComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.out()))))
    return false;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
  dialog->SetTitle(L"Invoice Export Utility");
  dialog->SetOkButtonLabel(L"OK");
  TComPtr<IShellItem> start;
  if (!startFolder.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(WideOfUtf8(NativeSeparators(startFolder)).c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(start.out()))))
    dialog->SetFolder(start.operator->());
  TComPtr<IFileDialogCustomize> customize;
  if (SUCCEEDED(dialog->QueryInterface(IID_IFileDialogCustomize, reinterpret_cast<void**>(customize.out()))))
    customize->AddText(1, WideOfUtf8("Can not find directory " + NativeSeparators(missingFolder) +
                                     ". Please select new output directory.")
                              .c_str());
  if (FAILED(dialog->Show(owner))) return false;  // cancelled
  TComPtr<IShellItem> result;
  if (FAILED(dialog->GetResult(result.out()))) return false;
  wchar_t* path = nullptr;
  if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return false;
  chosen = Utf8OfWide(path);
  CoTaskMemFree(path);
  return true;
}

}  // namespace iex::win
