#include "download/fetch_tasks.h"

namespace {

// What a ranged run reports: its error, how far it got, the end of its range and its tag.
FetchResult RangeResult(const net::URLFetcher* source) {
  FetchResult result;
  result.error = source->error();
  result.position = source->position();
  result.end = source->range_end;
  result.tag = source->tag;
  return result;
}

}  // namespace

CFetchTaskBase::CFetchTaskBase(const net::FetchRequest& request) : fetcher_(net::URLFetcher::Create(request, this)) {}

CFetchTaskBase::~CFetchTaskBase() {
  fetcher_->Stop();
}

net::URLFetcher* CFetchTaskBase::ReplaceFetcher(const net::FetchRequest& request) {
  fetcher_->Stop();
  fetcher_.reset(net::URLFetcher::Create(request, this));
  return fetcher_.get();
}

CFetchUrl::CFetchUrl(FetchURLDelegate* delegate, const std::string& url)
    : CFetchTaskBase(net::FetchRequest(url)), delegate_(delegate) {}

void CFetchUrl::OnFetchComplete(net::URLFetcher* source) {
  if (!delegate_) return;
  // A failed run never hands on a partial body.
  delegate_->OnFetchURL(source->success() ? source->response() : std::string());
}

CFetchFile::CFetchFile(FetchFileDelegate* delegate, const std::string& url, const std::wstring& path)
    : CFetchTaskBase(net::FetchRequest(url, path)), delegate_(delegate) {}

void CFetchFile::OnFetchComplete(net::URLFetcher* source) {
  if (!delegate_) return;
  FetchResult result;
  result.error = source->error();
  delegate_->OnFetchFile(source->success(), &result);
}

void CFetchFile::OnFetchProgress(net::URLFetcher* source, float fraction) {
  (void)source;
  if (delegate_) delegate_->OnFetchFileProgress(fraction);
}

CBreakPointFetch::CBreakPointFetch(BreakPointFetchDelegate* delegate, const std::string& url, const std::wstring& path,
                                   uint32_t start, uint32_t end)
    : CFetchTaskBase(net::FetchRequest(url, path, start, end)), delegate_(delegate) {}

void CBreakPointFetch::OnFetchComplete(net::URLFetcher* source) {
  if (!delegate_) return;
  FetchResult result = RangeResult(source);
  delegate_->OnBreakPointFetch(source->success(), &result, this);
}

void CBreakPointFetch::OnFetchProgress(net::URLFetcher* source, float fraction) {
  (void)source;
  progress = fraction;
  if (delegate_) delegate_->OnBreakPointProgress(fraction);
}

CBreakPointFetchApk::CBreakPointFetchApk(BreakFetchApkDelegate* delegate, const std::string& url,
                                         const std::wstring& path, uint32_t start, uint32_t end)
    : CFetchTaskBase(net::FetchRequest(url, path, start, end)), delegate_(delegate) {}

void CBreakPointFetchApk::OnFetchComplete(net::URLFetcher* source) {
  if (!delegate_) return;
  FetchResult result = RangeResult(source);
  delegate_->OnBreakFetchApk(source->success(), &result, this);
}

void CBreakPointFetchApk::OnFetchProgress(net::URLFetcher* source, float fraction) {
  (void)source;
  progress = fraction;
  if (delegate_) delegate_->OnBreakFetchApkProgress(fraction);
}

CTestBreakPoint::CTestBreakPoint(TestBreakPointDelegate* delegate, const std::string& url)
    : CFetchTaskBase(net::FetchRequest(url, net::kFetchProbeRange)), delegate_(delegate) {}

void CTestBreakPoint::OnFetchComplete(net::URLFetcher* source) {
  if (!delegate_) return;
  FetchResult result;
  result.error = source->error();
  result.position = source->content_length();
  delegate_->OnTestBreakPoint(source->success(), &result);
}

CUpLoadByPost::CUpLoadByPost(PostDataServerDelegate* delegate, const std::string& url, int kind)
    : CFetchTaskBase(net::FetchRequest(url, kind)), delegate_(delegate) {}

void CUpLoadByPost::OnFetchComplete(net::URLFetcher* source) {
  if (delegate_) delegate_->OnPostDataServer(source->success());
}
