// What the fetch tasks hand to their delegates, and the delegate interfaces the installer
// controller implements. Every call arrives on the UI loop.
#ifndef DOWNLOAD_FETCH_RESULT_H_
#define DOWNLOAD_FETCH_RESULT_H_

#include <cstdint>
#include <string>

class CBreakPointFetch;
class CBreakPointFetchApk;

// Lent to a delegate for the duration of one call. For the ranged tasks the three numbers are
// the fetcher's next offset, its range end and its tag; for the range probe `position` holds the
// probe's Content-Length; the whole-file task fills `error` only.
struct FetchResult {
  int error = 0;  // net::FetchError
  uint32_t position = 0;
  uint32_t end = 0;
  uint32_t tag = 0;
};

class FetchURLDelegate {
 public:
  // `body` is the answer text, empty when the request failed in any way.
  virtual void OnFetchURL(std::string body) = 0;

 protected:
  virtual ~FetchURLDelegate() {}
};

class FetchFileDelegate {
 public:
  virtual void OnFetchFile(bool success, const FetchResult* result) = 0;
  virtual void OnFetchFileProgress(float fraction) = 0;

 protected:
  virtual ~FetchFileDelegate() {}
};

class BreakPointFetchDelegate {
 public:
  virtual void OnBreakPointFetch(bool success, const FetchResult* result, CBreakPointFetch* part) = 0;
  virtual void OnBreakPointProgress(float fraction) = 0;

 protected:
  virtual ~BreakPointFetchDelegate() {}
};

class BreakFetchApkDelegate {
 public:
  virtual void OnBreakFetchApk(bool success, const FetchResult* result, CBreakPointFetchApk* part) = 0;
  virtual void OnBreakFetchApkProgress(float fraction) = 0;

 protected:
  virtual ~BreakFetchApkDelegate() {}
};

class TestBreakPointDelegate {
 public:
  virtual void OnTestBreakPoint(bool success, const FetchResult* result) = 0;

 protected:
  virtual ~TestBreakPointDelegate() {}
};

class PostDataServerDelegate {
 public:
  virtual void OnPostDataServer(bool success) = 0;

 protected:
  virtual ~PostDataServerDelegate() {}
};

// No task in the installer calls the next three; they exist for the controller to implement.
class UpLoadByGetDelegate {
 public:
  virtual void OnUpLoadByGet(bool success) = 0;

 protected:
  virtual ~UpLoadByGetDelegate() {}
};

class UpLoadErrorByGetDelegate {
 public:
  virtual void OnUpLoadErrorByGet(bool success) = 0;

 protected:
  virtual ~UpLoadErrorByGetDelegate() {}
};

class BreakFetchRcPackDelegate {
 public:
  virtual void OnBreakFetchRcPack(bool success) = 0;

 protected:
  virtual ~BreakFetchRcPackDelegate() {}
};

#endif  // DOWNLOAD_FETCH_RESULT_H_
