// The application configuration compiled into the program: IAppConfig with its only
// implementation NormalAppConfig, made once through a factory and kept for the whole process.
#ifndef APP_APP_CONFIG_H_
#define APP_APP_CONFIG_H_

#include <string>

namespace app {

class IAppConfig {
 public:
  virtual ~IAppConfig() {}
  virtual int Version() const = 0;                     // 1000, not read by the installer
  virtual std::wstring ShortcutExtension() const = 0;  // ".lnk"
  virtual std::string DefaultChannelTokenChinese() const = 0;
  virtual std::string DefaultChannelToken() const = 0;
  virtual std::string SecondKeyChinese() const = 0;
  virtual std::string SecondKey() const = 0;
  virtual std::string ProductKeyName() const = 0;  // registry key of the product
  virtual std::wstring UrlProtocolDescription() const = 0;
  virtual std::wstring PublisherName() const = 0;
  virtual std::string LogName() const = 0;                // log file stem
  virtual std::wstring DownloaderDataFolder() const = 0;  // <local app data>\<vesk>\PindleDownloader
  virtual std::wstring ProductDataFolder() const = 0;     // <local app data>\<vesk>
  virtual std::string LogNameAgain() const = 0;           // same as LogName, not read
  virtual std::wstring PackageFolderName() const = 0;     // "PindlePackFileder"
  virtual std::wstring ProductRegistryName() const = 0;   // "Pindle"
};

template <class Interface>
class AbstractFactory {
 public:
  virtual ~AbstractFactory() {}
  virtual Interface* Create() = 0;
  virtual void Destroy(Interface* object) = 0;
};

template <class Interface, class Implementation>
class ConcreteFactory : public AbstractFactory<Interface> {
 public:
  Interface* Create() override { return new Implementation(); }
  void Destroy(Interface* object) override { delete object; }
};

class NormalAppConfig : public IAppConfig {
 public:
  int Version() const override { return 1000; }
  std::wstring ShortcutExtension() const override { return L".lnk"; }
  std::string DefaultChannelTokenChinese() const override { return "7E1C05B9A2D44F86B0C3E95D61A8F27B"; }
  std::string DefaultChannelToken() const override { return "7E1C05B9A2D44F86B0C3E95D61A8F27B"; }
  std::string SecondKeyChinese() const override { return "3F9A6D21C84B4E0F95B7A1D2E6C0483A"; }
  std::string SecondKey() const override { return "3F9A6D21C84B4E0F95B7A1D2E6C0483A"; }
  std::string ProductKeyName() const override { return "Pindle"; }
  std::wstring UrlProtocolDescription() const override { return L"URL:Pindle Protocol"; }
  std::wstring PublisherName() const override;
  std::string LogName() const override { return "PindleDownloaderLog"; }
  std::wstring DownloaderDataFolder() const override;
  std::wstring ProductDataFolder() const override;
  std::string LogNameAgain() const override { return "PindleDownloaderLog"; }
  std::wstring PackageFolderName() const override { return L"PindlePackFileder"; }
  std::wstring ProductRegistryName() const override { return L"Pindle"; }
};

// The configuration; made on the first call (start-up makes the first call on the main thread).
IAppConfig* GetAppConfig();

// The shell's local application-data folder (not created); empty when it cannot be read.
// Platform file; outside Windows it is the process's temporary folder.
std::wstring LocalAppDataFolder();

}  // namespace app

#endif  // APP_APP_CONFIG_H_
