// The owners of Win32 resources: kernel handles, search handles, registry keys, LocalAlloc,
// GlobalAlloc and CoTaskMemAlloc memory, GDI objects, memory device contexts, COM pointers, BSTRs
// and CNG algorithm and hash handles, each a `ScopedObject` (runtime/scoped_object.h) with its
// release as the policy; and COM on a thread for a scope. A kind only one file needs (WinINet's,
// in the URL fetcher) has its policy there. The libraries behind a policy (oleaut32 for BSTRs,
// bcrypt for CNG) are linked by the code that makes such objects.
#ifndef RUNTIME_SCOPED_HANDLE_WIN_H_
#define RUNTIME_SCOPED_HANDLE_WIN_H_

#include <windows.h>

#include <bcrypt.h>
#include <objbase.h>
#include <oleauto.h>

#include "runtime/scoped_object.h"

namespace base {

// A kernel handle (file, pipe, process, thread, event, snapshot, completion port). The API returns
// null from some calls and INVALID_HANDLE_VALUE from others; both own nothing.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Null() { return nullptr; }
  static bool IsValid(Type handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return ::CloseHandle(handle) != FALSE; }
};

// A search handle of FindFirstFile.
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Null() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return ::FindClose(handle) != FALSE; }
};

// An open registry key.
struct RegKeyTraits {
  using Type = HKEY;
  static Type Null() { return nullptr; }
  static bool IsValid(Type key) { return key != nullptr; }
  static bool Close(Type key) { return ::RegCloseKey(key) == ERROR_SUCCESS; }
};

// Memory from LocalAlloc (security descriptors and ACLs returned by the security API, texts of
// FormatMessage).
struct LocalMemoryTraits {
  using Type = HLOCAL;
  static Type Null() { return nullptr; }
  static bool IsValid(Type memory) { return memory != nullptr; }
  static bool Close(Type memory) { return ::LocalFree(memory) == nullptr; }
};

// Memory from GlobalAlloc (a stream's bytes, the clipboard's).
struct GlobalMemoryTraits {
  using Type = HGLOBAL;
  static Type Null() { return nullptr; }
  static bool IsValid(Type memory) { return memory != nullptr; }
  static bool Close(Type memory) { return ::GlobalFree(memory) == nullptr; }
};

// Memory the shell hands over with CoTaskMemAlloc (item id lists of the folder dialog).
struct CoTaskMemoryTraits {
  using Type = void*;
  static Type Null() { return nullptr; }
  static bool IsValid(Type memory) { return memory != nullptr; }
  static bool Close(Type memory) {
    ::CoTaskMemFree(memory);
    return true;
  }
};

// A GDI object made by this code: pen, brush, font, bitmap, region or palette. Not one that is
// still selected into a device context (see ScopedSelectObject).
struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Null() { return nullptr; }
  static bool IsValid(Type object) { return object != nullptr; }
  static bool Close(Type object) { return ::DeleteObject(object) != FALSE; }
};

// A memory device context from CreateCompatibleDC (a window's DC is given back with ReleaseDC
// instead, and is not owned this way).
struct MemoryDcTraits {
  using Type = HDC;
  static Type Null() { return nullptr; }
  static bool IsValid(Type dc) { return dc != nullptr; }
  static bool Close(Type dc) { return ::DeleteDC(dc) != FALSE; }
};

// One reference to a COM object.
template <class Interface>
struct ComPtrTraits {
  using Type = Interface*;
  static Type Null() { return nullptr; }
  static bool IsValid(Type pointer) { return pointer != nullptr; }
  static bool Close(Type pointer) {
    pointer->Release();
    return true;
  }
};

// A string from SysAllocString, as COM interfaces take them.
struct BstrTraits {
  using Type = BSTR;
  static Type Null() { return nullptr; }
  static bool IsValid(Type text) { return text != nullptr; }
  static bool Close(Type text) {
    ::SysFreeString(text);
    return true;
  }
};

// A CNG algorithm provider.
struct BcryptAlgorithmTraits {
  using Type = BCRYPT_ALG_HANDLE;
  static Type Null() { return nullptr; }
  static bool IsValid(Type algorithm) { return algorithm != nullptr; }
  static bool Close(Type algorithm) { return BCRYPT_SUCCESS(::BCryptCloseAlgorithmProvider(algorithm, 0)); }
};

// A CNG hash object. It must be destroyed before its algorithm provider closes, which declaring
// its owner after the provider's ensures.
struct BcryptHashTraits {
  using Type = BCRYPT_HASH_HANDLE;
  static Type Null() { return nullptr; }
  static bool IsValid(Type hash) { return hash != nullptr; }
  static bool Close(Type hash) { return BCRYPT_SUCCESS(::BCryptDestroyHash(hash)); }
};

using ScopedHandle = ScopedObject<KernelHandleTraits>;
using ScopedFindHandle = ScopedObject<FindHandleTraits>;
using ScopedRegKey = ScopedObject<RegKeyTraits>;
using ScopedLocalMemory = ScopedObject<LocalMemoryTraits>;
using ScopedGlobalMemory = ScopedObject<GlobalMemoryTraits>;
using ScopedCoTaskMemory = ScopedObject<CoTaskMemoryTraits>;
using ScopedGdiObject = ScopedObject<GdiObjectTraits>;
using ScopedMemoryDc = ScopedObject<MemoryDcTraits>;
template <class Interface>
using ScopedComPtr = ScopedObject<ComPtrTraits<Interface>>;
using ScopedBstr = ScopedObject<BstrTraits>;
using ScopedBcryptAlgorithm = ScopedObject<BcryptAlgorithmTraits>;
using ScopedBcryptHash = ScopedObject<BcryptHashTraits>;

// Not an owner of an object but of a state: COM on the calling thread for a scope, uninitialised
// at the end only when this scope's initialisation counted (S_OK or S_FALSE). A thread already in
// the other apartment kind (RPC_E_CHANGED_MODE) can still use COM, and is left as it is.
class ScopedComInitialize {
 public:
  ScopedComInitialize() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ScopedComInitialize() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ScopedComInitialize(const ScopedComInitialize&) = delete;
  ScopedComInitialize& operator=(const ScopedComInitialize&) = delete;
  // True when COM can be used on this thread in this scope.
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// Not an owner but its companion: an object selected into a device context for a scope, the
// previous one selected back at its end, so that an owned object is never deleted while selected.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelectObject() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace base

#endif  // RUNTIME_SCOPED_HANDLE_WIN_H_
