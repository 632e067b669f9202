// Where the analytics code says what it refused or failed to do. The installer has no console,
// so these lines are for developers running it from one; nothing depends on them being read.
#ifndef ANALYTICS_DIAGNOSTICS_H_
#define ANALYTICS_DIAGNOSTICS_H_

#include <string>

namespace event_analytics {

// One line on the standard error stream.
void WriteDiagnostic(const std::string& text);
// One line on the standard output (only the consumer's verbose mode uses it).
void WriteVerbose(const std::string& text);

}  // namespace event_analytics

#endif  // ANALYTICS_DIAGNOSTICS_H_
