# Deployment values: the hosts and addresses the installer talks to, and the publisher name.
# They are build settings; tests and the demo build point them at 127.0.0.1 servers.
set(PINDLE_DOWNLOAD_INFO_HOST "http://127.0.0.1:18080" CACHE STRING "Download-information service, scheme included")
set(PINDLE_COLLECTOR_HOST "http://127.0.0.1:18081" CACHE STRING "Analytics collector, scheme included")
set(PINDLE_AGREEMENT_URL "http://127.0.0.1:18080/agreement.html" CACHE STRING "User agreement page")
set(PINDLE_HELP_URL "http://127.0.0.1:18080/faq" CACHE STRING "Help page")
set(PINDLE_PUBLISHER "Dravel Technology Co., Ltd." CACHE STRING "Publisher name in the uninstall entry")
configure_file(${CMAKE_CURRENT_LIST_DIR}/deployment.h.in ${CMAKE_BINARY_DIR}/generated/deployment.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
