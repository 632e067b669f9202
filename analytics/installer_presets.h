// The installer's preset properties, gathered from the system and from what start-up left in
// CGlobal. The installer controller calls this once the reporter is initialised; the
// trackevent tool calls it to send events exactly as the installer would.
#ifndef ANALYTICS_INSTALLER_PRESETS_H_
#define ANALYTICS_INSTALLER_PRESETS_H_

class AnalyticsReporter;

// SetPresetProperties(GetDeviceId(), player_version, "windows", GetOsName(), the language
// code in the ANSI code page, the install kind). Windows only.
void SetInstallerPresetProperties(AnalyticsReporter* reporter);

#endif  // ANALYTICS_INSTALLER_PRESETS_H_
