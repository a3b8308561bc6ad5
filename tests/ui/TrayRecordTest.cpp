#include "ui/TrayRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tarvix {
namespace {

HWND const kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
HICON const kIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5678));

// A record full of a marker byte shows which fields a fill left alone.
NOTIFYICONDATAA MarkedRecord() {
  NOTIFYICONDATAA record;
  std::memset(&record, 0xAB, sizeof record);
  return record;
}

bool IsMarked(const void* field, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(field);
  for (std::size_t i = 0; i < size; ++i)
    if (bytes[i] != 0xAB) return false;
  return true;
}

TEST(TrayRecordTest, ShowWritesItsFieldsAndLeavesTheBalloonFieldsAlone) {
  NOTIFYICONDATAA record = MarkedRecord();
  FillTrayShowRecord(record, kWindow, kIcon, "Free: 812 MB");
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(record.hWnd, kWindow);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, WM_APP_TRAY);
  EXPECT_EQ(record.hIcon, kIcon);
  EXPECT_STREQ(record.szTip, " Free: 812 MB ");
  EXPECT_TRUE(IsMarked(&record.dwState, sizeof record.dwState));
  EXPECT_TRUE(IsMarked(&record.dwStateMask, sizeof record.dwStateMask));
  EXPECT_TRUE(IsMarked(record.szInfo, sizeof record.szInfo));
  EXPECT_TRUE(IsMarked(&record.uTimeout, sizeof record.uTimeout));
  EXPECT_TRUE(IsMarked(record.szInfoTitle, sizeof record.szInfoTitle));
  EXPECT_TRUE(IsMarked(&record.dwInfoFlags, sizeof record.dwInfoFlags));
}

TEST(TrayRecordTest, BalloonWritesEveryFieldOfItsColumn) {
  NOTIFYICONDATAA record = MarkedRecord();
  FillTrayBalloonRecord(record, kWindow, kIcon, "Program notification", "The Program Still Running Here");
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(record.hWnd, kWindow);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 0x17u);
  EXPECT_EQ(record.uCallbackMessage, WM_APP_TRAY);
  EXPECT_EQ(record.hIcon, kIcon);
  EXPECT_STREQ(record.szTip, " Program notification ");
  EXPECT_EQ(record.dwState, 0u);
  EXPECT_EQ(record.dwStateMask, 0u);
  EXPECT_STREQ(record.szInfo, "The Program Still Running Here");
  EXPECT_EQ(record.uTimeout, 1u);
  EXPECT_STREQ(record.szInfoTitle, "Program notification");
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
}

TEST(TrayRecordTest, LongTextsAreCutAndTerminatedInsideTheirFields) {
  NOTIFYICONDATAA record = MarkedRecord();
  FillTrayBalloonRecord(record, kWindow, nullptr, std::string(200, 't'), std::string(300, 'b'));
  EXPECT_EQ(std::string(record.szTip), " " + std::string(126, 't'));
  EXPECT_EQ(std::string(record.szInfo), std::string(255, 'b'));
  EXPECT_EQ(std::string(record.szInfoTitle), std::string(63, 't'));
  // No picture sends icon handle 0.
  EXPECT_EQ(record.hIcon, nullptr);
}

TEST(TrayRecordTest, AnEmptyTipGivesAnEmptyTipFieldAndTitle) {
  NOTIFYICONDATAA record = MarkedRecord();
  FillTrayBalloonRecord(record, kWindow, kIcon, "", "text");
  EXPECT_STREQ(record.szTip, "");
  EXPECT_STREQ(record.szInfoTitle, "");
}

TEST(TrayRecordTest, AShowAfterABalloonDropsOnlyTheInfoFlag) {
  NOTIFYICONDATAA record = MarkedRecord();
  FillTrayBalloonRecord(record, kWindow, kIcon, "tip", "balloon");
  FillTrayShowRecord(record, kWindow, kIcon, "new tip");
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_STREQ(record.szTip, " new tip ");
  // What the balloon left stays; the shell reads it only with NIF_INFO.
  EXPECT_STREQ(record.szInfo, "balloon");
}

TEST(TrayRecordTest, TextsAreNeverCutInsideADoubleByteCharacter) {
  // Shift-JIS: 0x82 0xA0 is one character.
  constexpr UINT kShiftJis = 932;
  char field[4];
  CopyTrayText(field, "a\x82\xA0", kShiftJis);
  EXPECT_STREQ(field, "a\x82\xA0");
  CopyTrayText(field, "ab\x82\xA0", kShiftJis);
  EXPECT_STREQ(field, "ab") << "the character would not fit whole";
  // A field already cut after a lead byte loses that byte.
  CopyTrayText(field, "a\x82", kShiftJis);
  EXPECT_STREQ(field, "a");
  // In a single-byte code page every byte is a character.
  CopyTrayText(field, "ab\x82\xA0", 1252);
  EXPECT_STREQ(field, "ab\x82");
}

}  // namespace
}  // namespace tarvix
