#include "app/startup.h"

#include "app/global.h"

namespace app {

ProcessValues& Process() {
  static ProcessValues values;
  return values;
}

std::string EffectiveChannelToken() {
  const std::string& custom = Global().channel_token;
  return custom.empty() ? Process().default_channel_token : custom;
}

}  // namespace app
