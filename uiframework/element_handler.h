// ElementHandler: what an element runs when its owner window calls it back after a
// notification: nothing, a callable without arguments, or a callable given the element's id.
#ifndef UIFRAMEWORK_ELEMENT_HANDLER_H_
#define UIFRAMEWORK_ELEMENT_HANDLER_H_

#include <functional>
#include <string>

class ElementHandler {
 public:
  ElementHandler() = default;
  explicit ElementHandler(std::function<void()> plain) : plain_(std::move(plain)) {}
  explicit ElementHandler(std::function<void(const std::wstring&)> with_id) : with_id_(std::move(with_id)) {}

  bool empty() const { return !plain_ && !with_id_; }
  bool takes_id() const { return static_cast<bool>(with_id_); }
  // Runs the bound callable; an empty handler does nothing.
  void Fire(const std::wstring& element_id) const {
    if (plain_) {
      plain_();
    } else if (with_id_) {
      with_id_(element_id);
    }
  }

 private:
  std::function<void()> plain_;
  std::function<void(const std::wstring&)> with_id_;
};

#endif  // UIFRAMEWORK_ELEMENT_HANDLER_H_
