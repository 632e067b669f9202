#include "analytics/installer_presets.h"

#include "analytics/analytics_reporter.h"
#include "app/global.h"
#include "runtime/text_encoding.h"
#include "system/device_id.h"
#include "system/os_version.h"

void SetInstallerPresetProperties(AnalyticsReporter* reporter) {
  const app::CGlobal& global = app::Global();
  reporter->SetPresetProperties(GetDeviceId(), global.player_version, "windows", GetOsName(),
                                base::WideToAnsi(global.language_code), global.install_kind);
}
