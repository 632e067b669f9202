// The install steps' COM and CNG helpers, written against the old owners' header before those
// moved to runtime/scoped_handle_win.h (namespace base). To be folded into base::ScopedObject
// policies; the tree's other code no longer includes this header.
#ifndef PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
#define PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_

#include <windows.h>

#include <bcrypt.h>
#include <objbase.h>
#include <oleauto.h>

#include "runtime/scoped_handle_win.h"

using base::ScopedComPtr;
using base::ScopedFindHandle;
using base::ScopedHandle;

// COM on the calling thread for a scope: uninitialised at the end only when this scope's
// initialisation counted (S_OK or S_FALSE). A thread already in the other apartment kind
// (RPC_E_CHANGED_MODE) can still use COM, and is left as it is.
class ScopedComInitialize {
 public:
  ScopedComInitialize() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ScopedComInitialize() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedComInitialize(const ScopedComInitialize&) = delete;
  ScopedComInitialize& operator=(const ScopedComInitialize&) = delete;
  // True when COM can be used on this thread in this scope.
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// A BSTR from SysAllocString: freed with SysFreeString.
class ScopedBstr {
 public:
  explicit ScopedBstr(const wchar_t* text) : bstr_(SysAllocString(text)) {}
  ~ScopedBstr() { SysFreeString(bstr_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return bstr_; }

 private:
  BSTR bstr_;
};

// A CNG algorithm provider: closed with BCryptCloseAlgorithmProvider.
class ScopedBcryptAlgorithm {
 public:
  ScopedBcryptAlgorithm() = default;
  ~ScopedBcryptAlgorithm() {
    if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
  }
  ScopedBcryptAlgorithm(const ScopedBcryptAlgorithm&) = delete;
  ScopedBcryptAlgorithm& operator=(const ScopedBcryptAlgorithm&) = delete;
  BCRYPT_ALG_HANDLE get() const { return algorithm_; }
  BCRYPT_ALG_HANDLE* receive() { return &algorithm_; }

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};

// A CNG hash object: destroyed with BCryptDestroyHash (before its algorithm provider closes,
// which declaring it after the provider ensures).
class ScopedBcryptHash {
 public:
  ScopedBcryptHash() = default;
  ~ScopedBcryptHash() {
    if (hash_) BCryptDestroyHash(hash_);
  }
  ScopedBcryptHash(const ScopedBcryptHash&) = delete;
  ScopedBcryptHash& operator=(const ScopedBcryptHash&) = delete;
  BCRYPT_HASH_HANDLE get() const { return hash_; }
  BCRYPT_HASH_HANDLE* receive() { return &hash_; }

 private:
  BCRYPT_HASH_HANDLE hash_ = nullptr;
};

#endif  // PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
