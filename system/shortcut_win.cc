// Win32 side of the shortcut helper: the shell-link COM object.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "system/shortcut.h"

namespace {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  void** receive() { return reinterpret_cast<void**>(&pointer_); }

 private:
  T* pointer_ = nullptr;
};

}  // namespace

bool ReadShortcutTarget(const std::wstring& lnk_path, std::wstring* target) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.receive())) ||
      !link.get()) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive())) || !file.get()) return false;
  if (FAILED(file->Load(lnk_path.c_str(), STGM_READ))) return false;
  wchar_t path[MAX_PATH] = {};
  // S_FALSE means the link has no file-system target.
  if (link->GetPath(path, MAX_PATH, nullptr, 0) != S_OK) return false;
  target->assign(path);
  return true;
}
