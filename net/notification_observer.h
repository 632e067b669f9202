// The notification face of objects that can be told to stop by a broadcast. Nothing in the
// installer broadcasts today; the registrar only remembers which types an observer asked for so
// that they can all be dropped at once.
#ifndef NET_NOTIFICATION_OBSERVER_H_
#define NET_NOTIFICATION_OBSERVER_H_

#include <algorithm>
#include <vector>

namespace net {

// The one notification type the fetcher understands: "stop whatever you are doing".
const int kNotificationStop = 1;

class NotificationObserver {
 public:
  virtual void Observe(int type, const void* source, const void* details) = 0;

 protected:
  virtual ~NotificationObserver() {}
};

class NotificationRegistrar {
 public:
  void Add(int type) {
    if (std::find(types_.begin(), types_.end(), type) == types_.end()) types_.push_back(type);
  }
  void RemoveAll() { types_.clear(); }

 private:
  std::vector<int> types_;
};

}  // namespace net

#endif  // NET_NOTIFICATION_OBSERVER_H_
