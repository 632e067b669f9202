#include "app/global.h"

namespace app {

CGlobal::CGlobal() : product_files{"PindleCommon.dll", "pindle.rcc"}, install_kind("normal") {}

CGlobal& Global() {
  static CGlobal global;
  return global;
}

}  // namespace app
