#include "runtime/message_pump.h"
#include "runtime/message_pump_default.h"
#include "runtime/message_pump_win.h"

namespace base {

MessagePump* CreateMessagePumpForType(int type) {
  switch (type) {
    case 0: return new MessagePumpDefault;
    case 1: return new MessagePumpForUI;
    case 2: return new MessagePumpForIO;
    default: return nullptr;
  }
}

}  // namespace base
