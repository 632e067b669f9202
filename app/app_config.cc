#include "app/app_config.h"

#include "app/global.h"
#include "deployment.h"

namespace app {

std::wstring NormalAppConfig::PublisherName() const {
  return PINDLE_PUBLISHER;
}

std::wstring NormalAppConfig::DownloaderDataFolder() const {
  return ProductDataFolder() + L"\\PindleDownloader";
}

std::wstring NormalAppConfig::ProductDataFolder() const {
  return LocalAppDataFolder() + L"\\" + Global().product_name;
}

IAppConfig* GetAppConfig() {
  // Kept for the life of the process; never destroyed, so late users at exit find it alive.
  static ConcreteFactory<IAppConfig, NormalAppConfig> factory;
  static IAppConfig* config = factory.Create();
  return config;
}

}  // namespace app
