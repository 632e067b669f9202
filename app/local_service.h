// Deployment addresses that a service on this machine may replace: how the demo and the tests
// point a built installer at their own servers on free ports. Only a local address is taken, so
// nobody can steer a user's installer to a foreign server through the environment.
// Platform-free.
#ifndef APP_LOCAL_SERVICE_H_
#define APP_LOCAL_SERVICE_H_

#include <string>

namespace app {

// True for "http(s)://127.0.0.1[:port]" and "http(s)://localhost[:port]" (an optional "/").
bool IsLocalServiceHost(const std::string& host);

// The value of the environment variable `variable` when it names a local service, else
// `deployed` (the build's value).
std::string LocalServiceOr(const char* variable, const std::string& deployed);

}  // namespace app

#endif  // APP_LOCAL_SERVICE_H_
