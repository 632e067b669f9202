#include "UI/firewall_rule.h"

#include <windows.h>

#include <netfw.h>
#include <objbase.h>

#include "runtime/scoped_handle_win.h"

namespace installer {
namespace {

// Every profile (domain, private, public), any protocol.
constexpr long kAllProfiles = 0x7FFFFFFF;
constexpr long kAnyProtocol = 256;

// The class and interface identifiers come from the header's __uuidof declarations: the
// import libraries do not define the firewall's.
template <typename Class, typename Interface>
HRESULT Create(base::ScopedComPtr<Interface>* object) {
  return CoCreateInstance(__uuidof(Class), nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface),
                          reinterpret_cast<void**>(object->receive()));
}

// Whether the firewall is on in the current profile of the local policy (the Windows XP
// interface, which every later Windows keeps).
HRESULT FirewallIsOn(bool* on) {
  base::ScopedComPtr<INetFwMgr> manager;
  HRESULT result = Create<NetFwMgr>(&manager);
  base::ScopedComPtr<INetFwPolicy> policy;
  if (SUCCEEDED(result)) result = manager.get()->get_LocalPolicy(policy.receive());
  base::ScopedComPtr<INetFwProfile> profile;
  if (SUCCEEDED(result)) result = policy.get()->get_CurrentProfile(profile.receive());
  VARIANT_BOOL enabled = VARIANT_FALSE;
  if (SUCCEEDED(result)) result = profile.get()->get_FirewallEnabled(&enabled);
  *on = enabled != VARIANT_FALSE;
  return result;
}

HRESULT ReplaceRule(const std::wstring& name, const std::wstring& application) {
  base::ScopedComPtr<INetFwPolicy2> policy;
  HRESULT result = Create<NetFwPolicy2>(&policy);
  base::ScopedComPtr<INetFwRules> rules;
  if (SUCCEEDED(result)) result = policy.get()->get_Rules(rules.receive());
  if (FAILED(result)) return result;
  base::ScopedBstr rule_name(SysAllocString(name.c_str()));
  base::ScopedBstr description(SysAllocString(L""));
  base::ScopedBstr program(SysAllocString(application.c_str()));
  if (!rule_name.get() || !description.get() || !program.get()) return E_OUTOFMEMORY;
  {
    // Only an existing rule of that name goes; a missing one is what a first install finds.
    base::ScopedComPtr<INetFwRule> existing;
    if (SUCCEEDED(rules.get()->Item(rule_name.get(), existing.receive())) && existing.get()) {
      rules.get()->Remove(rule_name.get());
    }
  }
  base::ScopedComPtr<INetFwRule> rule;
  result = Create<NetFwRule>(&rule);
  if (SUCCEEDED(result)) result = rule.get()->put_Name(rule_name.get());
  if (SUCCEEDED(result)) result = rule.get()->put_Description(description.get());
  if (SUCCEEDED(result)) result = rule.get()->put_ApplicationName(program.get());
  if (SUCCEEDED(result)) result = rule.get()->put_Profiles(kAllProfiles);
  if (SUCCEEDED(result)) result = rule.get()->put_Protocol(kAnyProtocol);
  if (SUCCEEDED(result)) result = rule.get()->put_Action(NET_FW_ACTION_ALLOW);
  if (SUCCEEDED(result)) result = rule.get()->put_Enabled(VARIANT_TRUE);
  if (SUCCEEDED(result)) result = rules.get()->Add(rule.get());
  return result;
}

}  // namespace

FirewallOutcome AllowProgramThroughFirewall(const std::wstring& name, const std::wstring& application, long* hresult) {
  base::ScopedComInitialize com;
  if (!com.usable()) {
    *hresult = com.result();
    return FirewallOutcome::kFailed;
  }
  bool on = false;
  HRESULT result = FirewallIsOn(&on);
  if (SUCCEEDED(result) && !on) {
    *hresult = S_OK;
    return FirewallOutcome::kFirewallOff;
  }
  if (SUCCEEDED(result)) result = ReplaceRule(name, application);
  *hresult = result;
  return SUCCEEDED(result) ? FirewallOutcome::kAdded : FirewallOutcome::kFailed;
}

}  // namespace installer
