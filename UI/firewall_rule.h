// The Windows Firewall rule that lets the product's main program use the network.
#ifndef PINDLE_UI_FIREWALL_RULE_H_
#define PINDLE_UI_FIREWALL_RULE_H_

#include <string>

namespace installer {

enum class FirewallOutcome {
  kAdded,
  kFirewallOff,  // the current profile has the firewall switched off: nothing to allow
  kFailed,       // a COM call failed; `*hresult` says which
};

// Replaces any rule named `name` with one that allows `application` every protocol in every
// profile. Initialises COM on the calling thread for the call and uninitialises it after.
FirewallOutcome AllowProgramThroughFirewall(const std::wstring& name, const std::wstring& application, long* hresult);

}  // namespace installer

#endif  // PINDLE_UI_FIREWALL_RULE_H_
