#include "runtime/message_pump.h"
#include "runtime/message_pump_default.h"

namespace base {

// Windows messages and completion ports do not exist here: only the default pump.
MessagePump* CreateMessagePumpForType(int type) {
  return type == 0 ? new MessagePumpDefault : nullptr;
}

}  // namespace base
