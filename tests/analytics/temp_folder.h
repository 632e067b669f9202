// A fresh folder for one test's files, removed with everything in it afterwards.
#ifndef TESTS_ANALYTICS_TEMP_FOLDER_H_
#define TESTS_ANALYTICS_TEMP_FOLDER_H_

#include <string>

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::string& path() const { return path_; }
  // `name` inside the folder, with the platform's separator.
  std::string File(const std::string& name) const;

  static bool WriteFile(const std::string& path, const std::string& contents);
  static bool ReadFile(const std::string& path, std::string* contents);
  static bool Exists(const std::string& path);

 private:
  std::string path_;
};

#endif  // TESTS_ANALYTICS_TEMP_FOLDER_H_
