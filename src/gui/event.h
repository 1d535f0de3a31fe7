// Typed event slots. An event holds at most one handler, like the framework's method
// pointers; raising an unassigned event does nothing. Errors from a handler propagate to the
// caller: the window procedure and the timer are the places that hand them to the
// application's error handler (TApplication::HandleException).
#pragma once

#include <functional>
#include <utility>

namespace velmora::gui {

class TObject;

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;
  Event() = default;
  Event& operator=(Handler handler) {
    handler_ = std::move(handler);
    return *this;
  }
  explicit operator bool() const { return static_cast<bool>(handler_); }
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

 private:
  Handler handler_;
};

using TNotifyEvent = Event<TObject&>;

}  // namespace velmora::gui
