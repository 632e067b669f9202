#include "system/device_path.h"

#include <gtest/gtest.h>

namespace {

DriveDevice Drive(const wchar_t* drive, const wchar_t* device) {
  DriveDevice d;
  d.drive = drive;
  d.known = device != nullptr;
  if (device) d.device = device;
  return d;
}

TEST(DevicePathTest, DriveOfTheMatchingVolume) {
  const std::vector<DriveDevice> drives = {Drive(L"C:", L"\\Device\\HarddiskVolume2"),
                                           Drive(L"D:", L"\\Device\\HarddiskVolume3"),
                                           Drive(L"E:", L"\\Device\\HarddiskVolume1")};
  struct Case {
    const wchar_t* device_path;
    bool ok;
    const wchar_t* dos_path;
  } cases[] = {
      {L"\\Device\\HarddiskVolume3\\x\\y.exe", true, L"D:\\x\\y.exe"},
      {L"\\device\\harddiskvolume2\\Windows\\a.exe", true, L"C:\\Windows\\a.exe"},
      {L"\\Device\\HarddiskVolume1", true, L"E:"},
      // Volume 1 is a prefix of volume 10 but not the same device.
      {L"\\Device\\HarddiskVolume10\\z.exe", false, L"\\Device\\HarddiskVolume10\\z.exe"},
      {L"\\Device\\Mup\\server\\share\\a.exe", false, L"\\Device\\Mup\\server\\share\\a.exe"},
      {L"", false, L""},
  };
  for (const auto& c : cases) {
    std::wstring dos;
    EXPECT_EQ(MapDevicePathToDos(c.device_path, drives, &dos), c.ok) << c.device_path;
    EXPECT_EQ(dos, c.dos_path) << c.device_path;
  }
}

TEST(DevicePathTest, FloppiesSkippedAndUnreadableDriveStopsTheWalk) {
  std::wstring dos;
  // A: and B: are never asked, even when they would match.
  EXPECT_TRUE(MapDevicePathToDos(
      L"\\Device\\Floppy0\\a.exe",
      {Drive(L"A:", L"\\Device\\Floppy0"), Drive(L"B:", nullptr), Drive(L"C:", L"\\Device\\Floppy0")}, &dos));
  EXPECT_EQ(dos, L"C:\\a.exe");
  // A drive whose device name cannot be read ends the search, even before a matching one.
  EXPECT_FALSE(MapDevicePathToDos(L"\\Device\\HarddiskVolume3\\a.exe",
                                  {Drive(L"C:", nullptr), Drive(L"D:", L"\\Device\\HarddiskVolume3")}, &dos));
  EXPECT_EQ(dos, L"\\Device\\HarddiskVolume3\\a.exe");
  // The first matching drive wins (a folder mapped with SUBST shares its volume's name).
  EXPECT_TRUE(MapDevicePathToDos(
      L"\\Device\\HarddiskVolume3\\a.exe",
      {Drive(L"D:", L"\\Device\\HarddiskVolume3"), Drive(L"F:", L"\\Device\\HarddiskVolume3")}, &dos));
  EXPECT_EQ(dos, L"D:\\a.exe");
}

}  // namespace
