// The owners release what they hold on every way out: scope end, reset, receive and move, and a
// moved-from or released owner releases nothing twice. Counted with the process's own handle count
// (kernel objects) and the GDI object table, under Wine.
#include "runtime/scoped_handle_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "open_handles.h"

namespace base {
namespace {

long OpenHandles() {
  const long count = test_support::OpenHandleCount();
  EXPECT_GT(count, 0);
  return count;
}

HANDLE NewEvent() {
  return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(ScopedHandleTest, EveryWayOutClosesTheHandleOnce) {
  const long before = OpenHandles();
  {
    ScopedHandle scoped(NewEvent());
    ASSERT_TRUE(scoped.valid());
    EXPECT_EQ(OpenHandles(), before + 1);
  }
  EXPECT_EQ(OpenHandles(), before) << "scope end";

  ScopedHandle owner(NewEvent());
  owner.reset(NewEvent());
  EXPECT_EQ(OpenHandles(), before + 1) << "reset closes the old handle";
  *owner.receive() = NewEvent();
  EXPECT_EQ(OpenHandles(), before + 1) << "receive closes the old handle";

  ScopedHandle moved(std::move(owner));
  EXPECT_FALSE(owner.valid());
  EXPECT_EQ(OpenHandles(), before + 1);
  owner = std::move(moved);
  EXPECT_EQ(OpenHandles(), before + 1) << "a move hands over, it neither closes nor copies";
  EXPECT_TRUE(owner.Close());
  EXPECT_EQ(OpenHandles(), before);
  EXPECT_TRUE(owner.Close()) << "closing an empty owner is harmless";

  HANDLE kept = ScopedHandle(NewEvent()).release();
  EXPECT_EQ(OpenHandles(), before + 1) << "release gives the handle up without closing it";
  CloseHandle(kept);
  EXPECT_EQ(OpenHandles(), before);
}

TEST(ScopedHandleTest, NullAndInvalidOwnNothing) {
  const long before = OpenHandles();
  for (HANDLE nothing : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
    ScopedHandle kernel(nothing);
    ScopedFindHandle search(nothing);
    EXPECT_FALSE(kernel.valid());
    EXPECT_FALSE(search.valid());
    EXPECT_TRUE(kernel.Close());
    EXPECT_TRUE(search.Close());
  }
  // A failed open returns INVALID_HANDLE_VALUE: nothing to close, and nothing leaks.
  ScopedHandle missing(CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing.valid());
  EXPECT_EQ(OpenHandles(), before);
}

TEST(ScopedHandleTest, SearchAndRegistryOwnersClose) {
  const long before = OpenHandles();
  {
    wchar_t folder[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryW(folder, MAX_PATH), 0u);
    WIN32_FIND_DATAW entry;
    ScopedFindHandle search(FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &entry));
    ASSERT_TRUE(search.valid());
    ScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, key.receive()), ERROR_SUCCESS);
    EXPECT_TRUE(key.valid());
  }
  EXPECT_EQ(OpenHandles(), before);
}

TEST(ScopedHandleTest, GdiObjectsAreDeleted) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  {
    ScopedGdiObject owner(brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  }
  // A deleted object has no type any more.
  EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(ScopedHandleTest, LocalMemoryIsFreed) {
  ScopedLocalMemory memory(LocalAlloc(LMEM_FIXED, 64));
  ASSERT_TRUE(memory.valid());
  EXPECT_TRUE(memory.Close());
  EXPECT_FALSE(memory.valid());
}

}  // namespace
}  // namespace base
