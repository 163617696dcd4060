// The version record and icon that the program's resource script gives an executable; this
// test executable carries the same script.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<BYTE> OwnVersionRecord() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  std::vector<BYTE> record(size);
  if (size == 0 || !GetFileVersionInfoW(path, 0, size, record.data())) record.clear();
  return record;
}

std::wstring StringValue(std::vector<BYTE>& record, const wchar_t* name) {
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), key.c_str(), &value, &length) || value == nullptr) return {};
  return static_cast<const wchar_t*>(value);
}

const wchar_t kProductName[] = L"Zelvane\x8F6F\x4EF6\x7FFB\x8BD1\x63D2\x4EF6";  // Zelvane软件翻译插件

struct StringCase {
  const wchar_t* name;
  const wchar_t* value;
};

class VersionStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(VersionStrings, HaveTheirValues) {
  std::vector<BYTE> record = OwnVersionRecord();
  ASSERT_FALSE(record.empty());
  EXPECT_EQ(StringValue(record, GetParam().name), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionStrings,
                         ::testing::Values(StringCase{L"FileDescription", kProductName},
                                           StringCase{L"ProductName", kProductName},
                                           StringCase{L"Comments", kProductName},
                                           StringCase{L"CompanyName", L"Zelvane"}));

TEST(VersionRecord, FixedPartAndLanguage) {
  std::vector<BYTE> record = OwnVersionRecord();
  ASSERT_FALSE(record.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
}

TEST(ProgramIcon, OneTrueColourImageOf32Pixels) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(self, L"DEFAULT_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
  ASSERT_NE(dir, nullptr);
  const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
  ASSERT_EQ(count, 1);
  const BYTE* entry = dir + 6;  // width, height, colours, reserved, planes, bit count, ...
  EXPECT_EQ(entry[0], 32);
  EXPECT_EQ(entry[1], 32);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);
  EXPECT_NE(LoadImageW(self, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST(Resources, NoApplicationManifest) {
  EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)),
            nullptr);
}

}  // namespace
