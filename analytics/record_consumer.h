// Keeps serialised event records in a bounded queue, sends them to the collector in batches
// and stages what is left unsent in a file for the next run.
#ifndef ANALYTICS_RECORD_CONSUMER_H_
#define ANALYTICS_RECORD_CONSUMER_H_

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/batch_sender.h"
#include "analytics/object_node.h"
#include "analytics/staging_file.h"

namespace event_analytics {

// Thread-safe. Lock order: the send lock before the records lock, never the other way round,
// so one request is in flight at a time while new records can still be queued.
class RecordConsumer {
 public:
  static constexpr size_t kBatchSize = 30;

  RecordConsumer(const std::string& server_url, const std::string& staging_file, size_t record_limit);
  RecordConsumer(const RecordConsumer&) = delete;
  RecordConsumer& operator=(const RecordConsumer&) = delete;
  ~RecordConsumer();

  // Serialises and queues the record; when the queue is over the limit the oldest one goes.
  void AddRecord(const utils::ObjectNode& record);
  // Sends everything queued, kBatchSize records per request. False at the first failed
  // request (its records stay queued, within the limit).
  bool Flush();
  // One request with up to `limit` records.
  bool FlushBatch(size_t limit);
  // Merges the staging file into the front of the queue; only the first call reads it. The
  // file keeps those records until they are delivered: each request that delivers some of them
  // rewrites it with the ones still queued, so a process that dies at any point loses none of
  // them (a record delivered just before the death may be sent once more by the next run).
  void LoadStaging();
  // Stages every unsent record (waiting for a request in flight to finish first) and frees
  // the sender. Later calls do nothing; later records are not kept. Returns whether the
  // staging file was written.
  bool Close();

  // Sent as the "Cookie" header when not empty.
  void set_cookie(const std::string& cookie);
  // Traces queue and flush steps on the standard output.
  void set_verbose(bool verbose);

  size_t QueueLength() const;
  std::vector<std::string> QueuedRecords() const;

 private:
  // Records lock held.
  void LoadStagingLocked();
  // Send lock held: the staging file keeps only the staged records not yet delivered.
  void RewriteStagedRecords();

  std::string cookie_;
  bool verbose_ = false;
  mutable std::mutex records_lock_;
  std::mutex send_lock_;
  std::deque<std::string> queue_;
  StagingFile staging_file_;
  size_t record_limit_;
  bool staging_pending_ = true;
  // How many records at the front of the queue came from the staging file and are still there
  // (the file holds them too until it is next rewritten).
  size_t staged_at_front_ = 0;
  std::unique_ptr<BatchSender> sender_;
  bool closed_ = false;
};

}  // namespace event_analytics

#endif  // ANALYTICS_RECORD_CONSUMER_H_
