// Every test program that links the test support gets libcurl's process-wide set-up, made on
// the main thread before main() as the programs' entries make it before their threads.
#include "net/curl_global.h"

namespace {

const net::CurlGlobalScope curl_global_for_tests;

}  // namespace
