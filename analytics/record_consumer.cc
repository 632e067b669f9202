#include "analytics/record_consumer.h"

#include <algorithm>

#include "analytics/batch_encoding.h"
#include "analytics/diagnostics.h"
#include "analytics/json_writer.h"

namespace event_analytics {

constexpr size_t RecordConsumer::kBatchSize;

RecordConsumer::RecordConsumer(const std::string& server_url, const std::string& staging_file, size_t record_limit)
    : staging_file_(staging_file), record_limit_(record_limit), sender_(new BatchSender(server_url)) {}

RecordConsumer::~RecordConsumer() {
  Close();
}

void RecordConsumer::set_cookie(const std::string& cookie) {
  std::lock_guard<std::mutex> hold(records_lock_);
  cookie_ = cookie;
}

void RecordConsumer::set_verbose(bool verbose) {
  std::lock_guard<std::mutex> hold(records_lock_);
  verbose_ = verbose;
}

void RecordConsumer::AddRecord(const utils::ObjectNode& record) {
  std::string text = utils::ToJson(record);
  std::lock_guard<std::mutex> hold(records_lock_);
  if (closed_) return;
  if (verbose_) WriteVerbose("add record:" + text);
  queue_.push_back(std::move(text));
  while (queue_.size() > record_limit_) {
    if (verbose_) WriteVerbose("record is full, delete record");
    queue_.pop_front();
    if (staged_at_front_ > 0) --staged_at_front_;
  }
}

void RecordConsumer::LoadStaging() {
  std::lock_guard<std::mutex> hold(records_lock_);
  LoadStagingLocked();
}

void RecordConsumer::LoadStagingLocked() {
  if (!staging_pending_ || closed_) return;
  if (queue_.size() < record_limit_) {
    // The newest staged records are the ones worth keeping; they go in front of everything
    // queued in this run, in file order.
    const std::vector<std::string> staged = staging_file_.Read(record_limit_ - queue_.size());
    queue_.insert(queue_.begin(), staged.begin(), staged.end());
    staged_at_front_ = staged.size();
  }
  // The file is left as it is: it is rewritten once some of its records have been delivered.
  staging_pending_ = false;
}

void RecordConsumer::RewriteStagedRecords() {
  std::deque<std::string> staged;
  {
    std::lock_guard<std::mutex> hold(records_lock_);
    staged.assign(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(staged_at_front_));
  }
  if (!staging_file_.Rewrite(staged)) {
    WriteDiagnostic("Could not write the staging file " + staging_file_.path() + "; its delivered records stay in it");
  }
}

bool RecordConsumer::Flush() {
  LoadStaging();
  for (;;) {
    {
      std::lock_guard<std::mutex> hold(records_lock_);
      if (closed_) return false;
      if (queue_.empty()) return true;
    }
    if (!FlushBatch(kBatchSize)) return false;
  }
}

bool RecordConsumer::FlushBatch(size_t limit) {
  LoadStaging();
  std::lock_guard<std::mutex> sending(send_lock_);
  std::vector<std::string> batch;
  size_t batch_staged = 0;  // the batch's first records came from the staging file
  HttpHeaders headers;
  bool verbose = false;
  {
    std::lock_guard<std::mutex> hold(records_lock_);
    if (closed_) return false;
    const size_t n = std::min(limit, queue_.size());
    if (n == 0) return true;
    batch.assign(std::make_move_iterator(queue_.begin()),
                 std::make_move_iterator(queue_.begin() + static_cast<std::ptrdiff_t>(n)));
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
    batch_staged = std::min(n, staged_at_front_);
    staged_at_front_ -= batch_staged;
    if (!cookie_.empty()) headers["Cookie"] = cookie_;
    verbose = verbose_;
  }

  const std::string batch_text = BuildBatchText(batch);
  if (verbose) WriteVerbose("flush record : " + batch_text);
  // The sender lives until Close(), which needs the send lock we hold.
  const bool sent = sender_->Send(batch_text, headers);
  if (sent) {
    if (batch_staged > 0) RewriteStagedRecords();
    return true;
  }
  std::lock_guard<std::mutex> hold(records_lock_);
  if (queue_.size() < record_limit_) {
    // Records queued meanwhile are newer and stay; of the batch only the newest that fit go
    // back, in their order, in front. The oldest go first, and the staged ones are the oldest.
    const size_t room = record_limit_ - queue_.size();
    const size_t keep = std::min(room, batch.size());
    const size_t lost = batch.size() - keep;
    queue_.insert(queue_.begin(), std::make_move_iterator(batch.end() - static_cast<std::ptrdiff_t>(keep)),
                  std::make_move_iterator(batch.end()));
    staged_at_front_ += batch_staged > lost ? batch_staged - lost : 0;
  }
  return false;
}

bool RecordConsumer::Close() {
  std::lock_guard<std::mutex> sending(send_lock_);
  std::lock_guard<std::mutex> hold(records_lock_);
  if (closed_) return false;
  // The rewrite replaces the file in one step: the staged records are in it until then.
  LoadStagingLocked();
  const bool staged = staging_file_.Rewrite(queue_);
  if (!staged) WriteDiagnostic("Could not write the staging file " + staging_file_.path());
  queue_.clear();
  staged_at_front_ = 0;
  sender_.reset();
  closed_ = true;
  return staged;
}

size_t RecordConsumer::QueueLength() const {
  std::lock_guard<std::mutex> hold(records_lock_);
  return queue_.size();
}

std::vector<std::string> RecordConsumer::QueuedRecords() const {
  std::lock_guard<std::mutex> hold(records_lock_);
  return std::vector<std::string>(queue_.begin(), queue_.end());
}

}  // namespace event_analytics
