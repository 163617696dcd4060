// The scope guards against the real API under Wine: each one gives back what it took, and
// only that.
#include "platform/win32_guards.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

bool IsOpenHandle(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandleTest, ClosesItsHandleAtScopeEndAndOnReset) {
  HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  {
    UniqueHandle owned(first);
    EXPECT_TRUE(owned);
    owned.reset(second);
    EXPECT_FALSE(IsOpenHandle(first));
    EXPECT_TRUE(IsOpenHandle(second));
  }
  EXPECT_FALSE(IsOpenHandle(second));
}

TEST(UniqueHandleTest, TreatsBothNoHandleValuesAsEmpty) {
  EXPECT_FALSE(UniqueHandle());
  EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE));  // and does not close the pseudo-handle
}

// The result of CoInitializeEx on a thread that then leaves COM again at once.
HRESULT ProbeApartment(DWORD model) {
  const HRESULT result = CoInitializeEx(nullptr, model);
  if (SUCCEEDED(result)) CoUninitialize();
  return result;
}

TEST(ComInitScopeTest, LeavesTheThreadAsItFoundIt) {
  std::thread([] {
    {
      ComInitScope com;
      EXPECT_EQ(com.result(), S_OK);
      EXPECT_EQ(ProbeApartment(COINIT_APARTMENTTHREADED), S_FALSE);  // inside: entered
      ComInitScope nested;
      EXPECT_EQ(nested.result(), S_FALSE);
    }
    // Both scopes balanced: the thread is out of COM, so any model may be chosen afresh.
    EXPECT_EQ(ProbeApartment(COINIT_MULTITHREADED), S_OK);
  }).join();
}

TEST(ComInitScopeTest, DoesNotLeaveAnApartmentItDidNotEnter) {
  std::thread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      ComInitScope com;
      EXPECT_EQ(com.result(), RPC_E_CHANGED_MODE);
      EXPECT_FALSE(com);
    }
    // Still in the multithreaded apartment the thread chose itself.
    EXPECT_EQ(ProbeApartment(COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
  }).join();
}

TEST(SelectedObjectTest, PutsThePreviousObjectBack) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
  UniqueGdiObject font(CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   "Arial"));
  ASSERT_NE(font.get(), nullptr);
  {
    SelectedObject selected(dc, font.get());
    EXPECT_TRUE(selected);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.get());
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
  EXPECT_FALSE(SelectedObject(dc, nullptr));     // nothing to select: nothing to put back
  EXPECT_FALSE(SelectedObject(nullptr, font.get()));
  DeleteDC(dc);
}

TEST(UniqueGdiObjectTest, DeletesItsObject) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  { UniqueGdiObject owned(brush); }
  EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(MappedViewTest, UnmapsItsView) {
  UniqueHandle section(
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
  ASSERT_TRUE(section);
  void* address = nullptr;
  {
    MappedView view(MapViewOfFile(section.get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view);
    address = view.get();
  }
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(address, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

}  // namespace
