// The fetch tasks: each owns one URLFetcher, is its delegate, and turns its completion into a
// call on a task-specific delegate interface (fetch_result.h) with just the values its user
// needs. The installer controller holds one task of each kind for its whole life.
//
// A task's fetcher can be replaced between runs (a stopped fetcher cannot run again):
// ReplaceFetcher stops the old one and makes a new one for which the task stays the delegate.
// A task whose delegate is null reports nothing. Destroying a task stops its fetcher, so no
// call reaches a delegate that has gone.
#ifndef DOWNLOAD_FETCH_TASKS_H_
#define DOWNLOAD_FETCH_TASKS_H_

#include <cstdint>
#include <string>

#include "download/fetch_result.h"
#include "runtime/ref_ptr.h"
#include "net/url_fetcher.h"

// What every task shares: the counted reference to its fetcher.
class CFetchTaskBase : public net::URLFetcher::URLFetcherDelegate {
 public:
  CFetchTaskBase(const CFetchTaskBase&) = delete;
  CFetchTaskBase& operator=(const CFetchTaskBase&) = delete;

  net::URLFetcher* fetcher() const { return fetcher_.get(); }
  // Stops the current fetcher and puts a new, idle one for `request` in its place.
  net::URLFetcher* ReplaceFetcher(const net::FetchRequest& request);
  void Start() { fetcher_->Start(); }
  void Stop() { fetcher_->Stop(); }

 protected:
  explicit CFetchTaskBase(const net::FetchRequest& request);
  ~CFetchTaskBase() override;

 private:
  base::RefPtr<net::URLFetcher> fetcher_;
};

class CFetchUrl : public CFetchTaskBase {
 public:
  CFetchUrl(FetchURLDelegate* delegate, const std::string& url);
  void OnFetchComplete(net::URLFetcher* source) override;

 private:
  FetchURLDelegate* delegate_;
};

class CFetchFile : public CFetchTaskBase {
 public:
  CFetchFile(FetchFileDelegate* delegate, const std::string& url, const std::wstring& path);
  void OnFetchComplete(net::URLFetcher* source) override;
  void OnFetchProgress(net::URLFetcher* source, float fraction) override;

 private:
  FetchFileDelegate* delegate_;
};

class CBreakPointFetch : public CFetchTaskBase {
 public:
  CBreakPointFetch(BreakPointFetchDelegate* delegate, const std::string& url, const std::wstring& path, uint32_t start,
                   uint32_t end);
  void OnFetchComplete(net::URLFetcher* source) override;
  void OnFetchProgress(net::URLFetcher* source, float fraction) override;

  // Kept by the controller (the download's bookkeeping of this part).
  uint32_t fail_count = 0;
  bool done = false;
  float progress = 0.0f;  // this part's share of the whole file

 private:
  BreakPointFetchDelegate* delegate_;
};

class CBreakPointFetchApk : public CFetchTaskBase {
 public:
  CBreakPointFetchApk(BreakFetchApkDelegate* delegate, const std::string& url, const std::wstring& path, uint32_t start,
                      uint32_t end);
  void OnFetchComplete(net::URLFetcher* source) override;
  void OnFetchProgress(net::URLFetcher* source, float fraction) override;

  uint32_t counter = 0;  // no flow uses it
  float progress = 0.0f;

 private:
  BreakFetchApkDelegate* delegate_;
};

class CTestBreakPoint : public CFetchTaskBase {
 public:
  CTestBreakPoint(TestBreakPointDelegate* delegate, const std::string& url);
  void OnFetchComplete(net::URLFetcher* source) override;

 private:
  TestBreakPointDelegate* delegate_;
};

class CUpLoadByPost : public CFetchTaskBase {
 public:
  CUpLoadByPost(PostDataServerDelegate* delegate, const std::string& url, int kind);
  void OnFetchComplete(net::URLFetcher* source) override;

 private:
  PostDataServerDelegate* delegate_;
};

#endif  // DOWNLOAD_FETCH_TASKS_H_
