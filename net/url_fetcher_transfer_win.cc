// The transfer of one URLFetcher run, on a thread-pool thread: six request kinds over WinINet.
// Every handle a run opens is closed on every path before its pool thread lets it go: files when
// the transfer returns, WinINet handles once the completion is posted (see RunHandles); the
// fetcher's own fields are the only state it touches.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

#include "log/log_assist.h"
#include "net/content_range.h"
#include "net/fetch_failure.h"
#include "net/range_cursor.h"
#include "net/url_fetcher.h"
#include "runtime/os_error.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"

namespace net {

namespace {

const char kLogSource[] = "net\\url_fetcher.cc";
const char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.0; Trident/4.0;)";

// Every transfer asks the server, never the browser cache: a cached answer could be an older
// package, and a package of several hundred megabytes has no business in the cache.
const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

const DWORD kMemoryChunk = 1024;
// A package transfer, ranged part or whole file, reads 64 KiB at a time. Every InternetReadFile
// is at least one socket receive, and under Wine each receive is a round trip to the wineserver
// that all transfers share: 16 KiB reads held a 512 MiB loopback download to about 240 MiB/s,
// 64 KiB reads reach about 400 MiB/s (bench/README.md); 8 KiB reads made the whole-file transfer
// from a server that ignores ranges several times slower than the four parts. On a slow line a
// read still ends within a second or two, and a failed read loses no more than its own bytes.
const DWORD kFileChunk = 64 * 1024;
const DWORD kRangeBuffer = 64 * 1024;

// A WinINet handle: internet session, connection or request.
struct InternetHandleTraits {
  using Type = HINTERNET;
  static Type Null() { return nullptr; }
  static bool IsValid(Type handle) { return handle != nullptr; }
  static bool Close(Type handle) { return InternetCloseHandle(handle) != FALSE; }
};
using ScopedInternet = base::ScopedObject<InternetHandleTraits>;

void LogAlways(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, true);
}

void LogDebug(int line, const std::string& message) {
  simlog::LogAssist& log = simlog::LogAssist::GetInstance();
  log.Log(kLogSource, line, simlog::kLogLineLevel, message, log.debug());
}

// How long a connection may stay silent, sending or receiving: 40 s unless a test shortened it
// (0: not shortened).
std::atomic<DWORD> g_receive_timeout_ms{0};
const DWORD kDefaultReceiveTimeoutMs = 40000;

// From one base value, in this order, stopping at the first refusal. Windows takes them on the
// session handle and hands them down to its connections; Wine ignores them there (its log says
// "fixme") and honours them only on a connection or request handle, so every run sets them on
// its connection too. Without them a peer that goes silent without closing would block a read
// for ever.
void SetTimeouts(HINTERNET handle) {
  const DWORD shortened = g_receive_timeout_ms.load(std::memory_order_relaxed);
  const DWORD receive = shortened ? shortened : kDefaultReceiveTimeoutMs;
  const DWORD base = 20000;
  struct Option {
    DWORD option;
    DWORD value;
  } const options[] = {
      {INTERNET_OPTION_SEND_TIMEOUT, receive},
      {INTERNET_OPTION_RECEIVE_TIMEOUT, receive},
      {INTERNET_OPTION_CONNECT_TIMEOUT, base},
      {INTERNET_OPTION_CONNECT_RETRIES, 2},
  };
  for (const Option& option : options) {
    DWORD value = option.value;
    if (!InternetSetOptionW(handle, option.option, &value, sizeof value)) {
      const unsigned long error = GetLastError();
      LogAlways(__LINE__, base::WideToAnsi(L"***设定超时时间失败***"));
      LogAlways(__LINE__, simlog::LogAssist::FormatString("InternetSetOption %lu refused: %s", option.option,
                                                          base::OsErrorText(error).c_str()));
      return;
    }
  }
}

// What a failed call says: the call and the thread's last error, number and text. Called straight
// after the call, before anything else can change the last error.
std::string CallFailed(const char* call) {
  return std::string(call) + ": " + base::OsErrorText(GetLastError());
}

// The same for a call on a file: the call, the path and the error.
std::string FileCallFailed(const char* call, const std::wstring& path) {
  const unsigned long error = GetLastError();
  return std::string(call) + " " + base::WideToAnsi(path) + ": " + base::OsErrorText(error);
}

// The status text ("200", "206", ...), empty when it cannot be read.
std::wstring StatusText(HINTERNET request) {
  wchar_t buffer[256];
  ZeroMemory(buffer, sizeof buffer);
  DWORD length = 256;
  DWORD index = 0;
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, buffer, &length, &index)) return std::wstring();
  return buffer;
}

// The answer's status is `expected`; otherwise `cause` says which status came (or that none did).
bool StatusIs(HINTERNET request, const wchar_t* expected, std::string* cause) {
  const std::wstring status = StatusText(request);
  if (status == expected) return true;
  *cause = status.empty() ? CallFailed("HttpQueryInfo(status)") : "HTTP status " + base::WideToAnsi(status);
  return false;
}

bool QueryLength(HINTERNET request, uint32_t* length) {
  DWORD value = 0xFFFFFFFF;
  DWORD size = sizeof value;
  DWORD index = 0;
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index)) {
    return false;
  }
  if (value == 0xFFFFFFFF) return false;
  *length = value;
  return true;
}

// A closed range [first, last]: the answer ends where the run stops reading, so nothing is
// left on the connection when the request is closed (an open-ended range would make the server
// push the rest of the file, and WinINet read it off the connection on close).
std::string RangeHeader(uint32_t first, uint32_t last) {
  char header[64];
  std::snprintf(header, sizeof header, "Range:bytes=%u-%u\r\n", first, last);
  return header;
}

bool QueryContentRange(HINTERNET request, ContentRange* range) {
  char buffer[256];
  ZeroMemory(buffer, sizeof buffer);
  DWORD length = sizeof buffer - 1;
  DWORD index = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_RANGE, buffer, &length, &index)) return false;
  return ParseContentRange(std::string(buffer, strnlen(buffer, sizeof buffer)), range);
}

// Sends a GET of `url` (passed on unescaped) with `headers` and waits for the answer's header.
// The connection is opened by hand rather than by InternetOpenUrl so that the time-outs can be
// set on it before anything is sent: a server that accepts the request and never answers is
// given up like one that stops in the middle of a body. On a failure `cause` says which call failed
// and why; the run logs it.
void OpenUrl(HINTERNET internet, const std::string& url, const std::string& headers, ScopedInternet* connection,
             ScopedInternet* request, std::string* cause) {
  std::vector<char> host(url.size() + 1);
  std::vector<char> path(url.size() + 1);
  std::vector<char> extra(url.size() + 1);
  URL_COMPONENTSA parts;
  ZeroMemory(&parts, sizeof parts);
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host.data();
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  parts.lpszExtraInfo = extra.data();
  parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) || host[0] == '\0') {
    *cause = "not an http(s) URL";
    return;
  }
  connection->reset(
      InternetConnectA(internet, host.data(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!*connection) {
    *cause = CallFailed("InternetConnect");
    return;
  }
  SetTimeouts(connection->get());
  const std::string object = std::string(path.data()) + extra.data();
  const DWORD flags = kOpenFlags | (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
  request->reset(HttpOpenRequestA(connection->get(), "GET", object.empty() ? "/" : object.c_str(), nullptr, nullptr,
                                  nullptr, flags, 0));
  if (!*request) {
    *cause = CallFailed("HttpOpenRequest");
    return;
  }
  if (!HttpSendRequestA(request->get(), headers.empty() ? nullptr : headers.c_str(),
                        headers.empty() ? 0 : static_cast<DWORD>(-1), nullptr, 0)) {
    *cause = CallFailed("HttpSendRequest");
    request->reset();
  }
}

// All or nothing: a short write leaves the file without bytes the caller counts as written.
bool WriteAll(HANDLE file, const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool SeekTo(HANDLE file, uint32_t offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

// Splits "host" or "host:port".
void SplitServer(const std::wstring& server, std::wstring* host, INTERNET_PORT* port) {
  *host = server;
  *port = INTERNET_DEFAULT_HTTP_PORT;
  const size_t colon = server.rfind(L':');
  if (colon == std::wstring::npos || colon + 1 >= server.size()) return;
  unsigned long value = 0;
  for (size_t i = colon + 1; i < server.size(); ++i) {
    if (server[i] < L'0' || server[i] > L'9') return;
    value = value * 10 + (server[i] - L'0');
    if (value > 65535) return;
  }
  if (value == 0) return;
  *host = server.substr(0, colon);
  *port = static_cast<INTERNET_PORT>(value);
}

// Logs, once, why a run failed, where it went and, for a part, which bytes it was at; false, so
// that a failure path reads `return RunFailed(...)`.
bool RunFailed(const URLFetcher& fetcher, int line, const std::string& cause) {
  FetchFailure failure;
  failure.url = fetcher.url;
  failure.ranged = fetcher.kind() == kFetchRange;
  failure.range_start = fetcher.range_start;
  failure.range_end = fetcher.range_end;
  failure.position = fetcher.position();
  failure.cause = cause;
  LogAlways(line, DescribeFetchFailure(failure));
  return false;
}

}  // namespace

// The WinINet handles of one run, closed request first. RunTransfer closes them only after the
// run's completion is posted: closing a request whose answer has not been read to its end can
// take seconds, because WinINet (Wine's, at least) first reads the rest of the answer off the
// connection so that the connection can be used again. A range probe answered 200 by a server
// that ignores ranges leaves a whole package unread, a stopped part the rest of its range; the
// transfer that follows must not wait for that.
struct URLFetcher::RunHandles {
  ScopedInternet session;
  ScopedInternet connection;
  ScopedInternet request;  // declared last: closed first

  // GETs `url` with `headers` on a connection of the session; see OpenUrl.
  bool Open(const std::string& url, const std::string& headers, std::string* cause) {
    OpenUrl(session.get(), url, headers, &connection, &request, cause);
    return static_cast<bool>(request);
  }
  void Close() {
    request.reset();
    connection.reset();
    session.reset();
  }
};

void URLFetcher::SetReceiveTimeoutForTesting(uint32_t milliseconds) {
  g_receive_timeout_ms.store(milliseconds, std::memory_order_relaxed);
}

DWORD WINAPI URLFetcher::TransferThunk(LPVOID fetcher) {
  static_cast<URLFetcher*>(fetcher)->RunTransfer();
  return 0;
}

void URLFetcher::RunTransfer() {
  error_ = kErrorNone;
  RunHandles handles;
  const bool result = Transfer(&handles);
  success_ = result;
  // The run's results are final: a waiter may go on now. This comes before the completion, so
  // an owner that starts the next run from its completion (which resets the event) never sees
  // this run's end as the next run's.
  done_event_.Signal();
  const DWORD bytes = kind_ == kFetchToMemory ? static_cast<DWORD>(response_.size()) : 0;
  const ULONG_PTR key = reinterpret_cast<ULONG_PTR>(static_cast<base::MessagePumpForIO::IOHandler*>(this));
  if (!io_port_ || !PostQueuedCompletionStatus(io_port_, bytes, key, &io_context_.overlapped)) {
    // No port to post to: finish on the I/O loop by a task. If that loop is already going, its
    // destruction observer call finishes the run instead.
    if (base::MessageLoop* io = base::GetThreadLoop(base::kIoLoop)) {
      io->PostTask(base::NewMethodTask(new base::UnretainedWrapper<URLFetcher>(this), &URLFetcher::CompleteOnIoLoop));
    }
  }
  completion_posted_.Signal();
  // Whatever WinINet still reads off the connection while it closes, the owner no longer waits for.
  handles.Close();
  Release();  // the transfer's
}

bool URLFetcher::Transfer(RunHandles* handles) {
  handles->session.reset(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!handles->session) return RunFailed(*this, __LINE__, CallFailed("InternetOpen"));
  SetTimeouts(handles->session.get());
  switch (kind_) {
    case kFetchToMemory: return TransferToMemory(handles);
    case kFetchToFile: return TransferToFile(handles);
    case kFetchRange: return TransferRange(handles);
    case kFetchOpenOnly: return TransferOpenOnly(handles);
    case kFetchProbeRange: return TransferProbeRange(handles);
    case kFetchPost: return TransferPost(handles);
    default: return false;
  }
}

bool URLFetcher::TransferToMemory(RunHandles* handles) {
  if (cancelled()) return false;
  std::string cause;
  if (!handles->Open(url, std::string(), &cause) || !StatusIs(handles->request.get(), L"200", &cause)) {
    return RunFailed(*this, __LINE__, cause);
  }
  const HINTERNET request = handles->request.get();
  char buffer[kMemoryChunk + 1];
  for (;;) {
    if (cancelled()) return false;
    ZeroMemory(buffer, sizeof buffer);
    DWORD read = 0;
    if (!InternetReadFile(request, buffer, kMemoryChunk, &read)) {
      return RunFailed(*this, __LINE__, CallFailed("InternetReadFile"));
    }
    if (read == 0) return true;
    // The answer is text: a chunk counts up to its first zero byte.
    const size_t text = strnlen(buffer, read);
    if (response_.size() + text > kMemoryAnswerLimit) {
      error_ = kErrorTooLong;
      return RunFailed(
          *this, __LINE__,
          simlog::LogAssist::FormatString("text answer longer than %u bytes, refused", kMemoryAnswerLimit));
    }
    response_.append(buffer, text);
  }
}

bool URLFetcher::TransferToFile(RunHandles* handles) {
  position_ = 0;
  if (cancelled()) return false;
  std::string cause;
  if (!handles->Open(url, std::string(), &cause) || !StatusIs(handles->request.get(), L"200", &cause)) {
    return RunFailed(*this, __LINE__, cause);
  }
  const HINTERNET request = handles->request.get();
  uint32_t length = 0;
  if (!QueryLength(request, &length)) {
    error_ = kErrorNoLength;
    return RunFailed(*this, __LINE__, "no Content-Length");
  }
  base::ScopedHandle file(
      CreateFileW(file_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return RunFailed(*this, __LINE__, FileCallFailed("CreateFile", file_path));
  if (!SeekTo(file.get(), length) || !SetEndOfFile(file.get())) {
    error_ = kErrorPreallocate;
    return RunFailed(*this, __LINE__, FileCallFailed("SetEndOfFile", file_path));
  }
  if (!SeekTo(file.get(), 0)) return RunFailed(*this, __LINE__, CallFailed("SetFilePointerEx"));

  std::vector<char> buffer(kFileChunk);
  uint32_t received = 0;
  uint32_t since_report = 0;
  while (!cancelled()) {
    DWORD read = 0;
    if (!InternetReadFile(request, buffer.data(), kFileChunk, &read)) {
      const std::string read_failed = CallFailed("InternetReadFile");
      LogAlways(__LINE__, base::WideToAnsi(L"单线程下载InternetReadFile 失败"));
      return RunFailed(*this, __LINE__, read_failed);
    }
    if (read == 0) {
      // A connection closed early also ends in an empty read: only the announced number of
      // bytes makes a complete file.
      if (received != length) {
        return RunFailed(*this, __LINE__,
                         simlog::LogAssist::FormatString("connection closed after %u of %u bytes", received, length));
      }
      PostProgress(1.0f);
      return true;
    }
    if (!WriteAll(file.get(), buffer.data(), read)) {
      return RunFailed(*this, __LINE__, FileCallFailed("WriteFile", file_path));
    }
    position_ += read;
    received += read;
    since_report += read;
    if (since_report > kFileProgressStep) {
      since_report = 0;
      if (length) PostProgress(static_cast<float>(received) / static_cast<float>(length));
    }
  }
  return false;
}

bool URLFetcher::TransferRange(RunHandles* handles) {
  if (!range_allowed_) {
    error_ = kErrorNoRange;
    return RunFailed(*this, __LINE__, "the server has refused ranges before");
  }
  position_ = range_start;
  if (range_start >= range_end) return true;
  if (cancelled()) return false;
  std::string cause;
  if (!handles->Open(url, RangeHeader(range_start, range_end - 1), &cause)) return RunFailed(*this, __LINE__, cause);
  const HINTERNET request = handles->request.get();
  if (!StatusIs(request, L"206", &cause)) {
    error_ = kErrorNoRange;
    range_allowed_ = false;
    return RunFailed(*this, __LINE__, cause);
  }
  uint32_t length = 0;
  if (!QueryLength(request, &length)) {
    error_ = kErrorNoLength;
    return RunFailed(*this, __LINE__, "no Content-Length");
  }
  // Only a 206 that says which bytes it carries can be placed in the file: one for other bytes
  // than asked for, or one without Content-Range, comes from a server that does not serve
  // ranges as asked.
  ContentRange answered;
  if (!QueryContentRange(request, &answered) || answered.first != range_start) {
    error_ = kErrorNoRange;
    range_allowed_ = false;
    return RunFailed(*this, __LINE__, "range answer refused: Content-Range missing or for other bytes");
  }
  // Parts of two different files must never make one package: the file on the server has
  // been replaced since its size was learnt.
  if (file_size != 0 && answered.total != file_size) {
    error_ = kErrorOtherFile;
    return RunFailed(
        *this, __LINE__,
        simlog::LogAssist::FormatString("range answer for a file of %u bytes, expected %u", answered.total, file_size));
  }
  // The file exists with its final size already; parts share it, each inside its own range.
  base::ScopedHandle file(CreateFileW(file_path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const std::string open_failed = FileCallFailed("CreateFile", file_path);
    error_ = kErrorOpenFile;
    return RunFailed(*this, __LINE__, open_failed);
  }
  if (!SeekTo(file.get(), range_start)) return RunFailed(*this, __LINE__, CallFailed("SetFilePointerEx"));

  std::vector<char> buffer(kRangeBuffer);
  // Progress is a share of the whole file.
  RangeCursor cursor(range_start, range_end, tag, answered.total);
  for (;;) {
    if (cancelled()) return false;
    if (cursor.complete()) return true;
    DWORD read = 0;
    if (!InternetReadFile(request, buffer.data(), cursor.NextReadSize(kRangeBuffer), &read)) {
      const unsigned long error = GetLastError();
      LogAlways(__LINE__,
                simlog::LogAssist::FormatString("%s%u", base::WideToAnsi(L"InternetReadFile失败, error_code=").c_str(),
                                                static_cast<unsigned>(error)));
      return RunFailed(*this, __LINE__, "InternetReadFile: " + base::OsErrorText(error));
    }
    if (read == 0) {
      if (!cursor.complete()) {
        LogDebug(__LINE__, base::WideToAnsi(L"****数据没下载完，InternetReadFile却返回成功****"));
        return RunFailed(*this, __LINE__, "connection closed before the part was complete");
      }
      return true;
    }
    // A stopped run writes nothing more: the file may already belong to another transfer.
    if (cancelled()) return false;
    const uint32_t to_write = cursor.BytesToWrite(read);
    // A failed write must not count: the next run resumes from the last byte that is on disk.
    if (!WriteAll(file.get(), buffer.data(), to_write)) {
      return RunFailed(*this, __LINE__, FileCallFailed("WriteFile", file_path));
    }
    float fraction = 0.0f;
    const bool report = cursor.Advance(to_write, &fraction);
    position_ = cursor.position();
    if (report) PostProgress(fraction);
  }
}

bool URLFetcher::TransferOpenOnly(RunHandles* handles) {
  if (cancelled()) return false;
  std::string cause;
  return handles->Open(url, std::string(), &cause) ? true : RunFailed(*this, __LINE__, cause);
}

bool URLFetcher::TransferProbeRange(RunHandles* handles) {
  if (!range_allowed_) {
    error_ = kErrorNoRange;
    return RunFailed(*this, __LINE__, "the server has refused ranges before");
  }
  if (cancelled()) return false;
  // One byte is enough to learn whether ranges are served and how big the whole file is.
  std::string cause;
  if (!handles->Open(url, RangeHeader(0, 0), &cause)) return RunFailed(*this, __LINE__, "range probe: " + cause);
  const HINTERNET request = handles->request.get();
  const std::wstring status = StatusText(request);
  if (status != L"206") {
    // The whole file in answer to a range: this server ignores ranges.
    if (status == L"200") error_ = kErrorNoRange;
    return RunFailed(
        *this, __LINE__,
        status.empty() ? "range probe: no HTTP status" : "range probe: HTTP status " + base::WideToAnsi(status));
  }
  ContentRange answered;
  if (!QueryContentRange(request, &answered)) {
    error_ = kErrorNoLength;
    return RunFailed(*this, __LINE__, "range probe: no usable Content-Range");
  }
  content_length_ = answered.total;
  return true;
}

bool URLFetcher::TransferPost(RunHandles* handles) {
  if (cancelled()) return false;
  std::wstring host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  SplitServer(post_server, &host, &port);
  handles->connection.reset(
      InternetConnectW(handles->session.get(), host.c_str(), port, L"", L"anonymous", INTERNET_SERVICE_HTTP, 0, 0));
  if (!handles->connection) return RunFailed(*this, __LINE__, CallFailed("InternetConnect"));
  // A collector that takes the body and never answers must not hold the run for ever either.
  SetTimeouts(handles->connection.get());
  handles->request.reset(HttpOpenRequestW(handles->connection.get(), L"POST", post_object.c_str(), L"HTTP/1.0", nullptr,
                                          nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!handles->request) return RunFailed(*this, __LINE__, CallFailed("HttpOpenRequest"));
  if (!HttpSendRequestA(handles->request.get(), nullptr, 0, const_cast<char*>(post_body.data()),
                        static_cast<DWORD>(post_body.size()))) {
    return RunFailed(*this, __LINE__, CallFailed("HttpSendRequest"));
  }
  return true;
}

}  // namespace net
