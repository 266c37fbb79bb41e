// The version record and icon that every Windows program of the project
// carries; this test program is built with the same resource script.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "Version.h"

// Last: <windows.h> defines IDOK and friends as macros, which would clash
// with the control identifiers of the project's own headers.
#include <windows.h>

namespace pavok::test {
namespace {

std::vector<char> OwnVersionRecord() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD unused = 0;
  std::vector<char> record(GetFileVersionInfoSizeA(path, &unused));
  if (record.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(record.size()), record.data())) return {};
  return record;
}

std::string VersionText(DWORD high, DWORD low) {
  return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
         "." + std::to_string(LOWORD(low));
}

std::string StringValue(std::vector<char>& record, const std::string& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::string key = "\\StringFileInfo\\040904B0\\" + name;
  if (!VerQueryValueA(record.data(), key.c_str(), &value, &length) || length == 0) return "<missing>";
  return static_cast<const char*>(value);
}

TEST(WindowsResources, VersionRecordAgreesWithTheProgramsVersion) {
  std::vector<char> record = OwnVersionRecord();
  ASSERT_FALSE(record.empty());
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", &value, &length));
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);

  EXPECT_EQ(VersionText(fixed.dwFileVersionMS, fixed.dwFileVersionLS), kFileVersion);
  EXPECT_EQ(VersionText(fixed.dwProductVersionMS, fixed.dwProductVersionLS), kProductVersion);
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed.dwFileFlags, 0u);
  EXPECT_EQ(StringValue(record, "ProductName"), kProductName);
  EXPECT_EQ(StringValue(record, "FileVersion"), kFileVersion);
  EXPECT_EQ(StringValue(record, "ProductVersion"), kProductVersion);
}

// The icon group as stored: a header, then one entry per image.
#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(WindowsResources, IconHolds32And16PixelImagesOf16Colours) {
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(self, group)));
  const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
  ASSERT_EQ(count, 2);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(bytes + 6);
  for (int i = 0; i < count; ++i) {
    const int size = i == 0 ? 32 : 16;
    EXPECT_EQ(entries[i].width, size);
    EXPECT_EQ(entries[i].height, size);
    EXPECT_EQ(entries[i].colourCount, 16);
    EXPECT_EQ(entries[i].bitCount, 4);

    const auto icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(128), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

// Texts and file names are UTF-8 throughout; the manifest makes that the
// narrow code page, so a Cyrillic file name survives the narrow file calls.
TEST(WindowsResources, NarrowCodePageIsUtf8) {
  EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  TestEnvironment env;
  const std::string name = "Прошивка.bin";
  std::FILE* file = std::fopen(name.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_TRUE(std::filesystem::exists(env.directory.path() / std::filesystem::path(u8"Прошивка.bin")));
}

}  // namespace
}  // namespace pavok::test
