// The program's files survive a crash in the middle of a save, come back
// byte for byte when the program did not change them, and are left alone
// when they could not be read whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "browser/easyie.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

std::string Read(SimDesktop& sim, const std::string& name) {
  std::string s;
  EXPECT_TRUE(sim.readFile(name, s)) << name;
  return s;
}

// Odd bytes a window cannot hold: a NUL, 0xFF, a lead byte without its
// trail byte, a bare LF ending, trailing blanks, and a last line without
// an ending.
const std::string kOddIni = std::string("Read\0PIN", 8) + "\r\n" +
                            "\xFF\xFE" "bad\r\n" +
                            "abc\x81\r\n" +
                            "800  \n" +
                            "400\r\n" +
                            "oldmouse\r\n" +
                            "中文 extra\r\n" +
                            "last";

TEST(DurableFiles, SettingsPanelWritesOddLinesBackByteForByte) {
  SimDesktop sim;
  sim.writeFile("wr.ini", kOddIni);
  {
    App app(sim);
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit2.Caption(), "400");
    EXPECT_TRUE(app.shell.wrpyreadpanel->lmbutton.Checked());
    // The window holds what it can: the caption ends at the NUL.
    EXPECT_EQ(app.shell.wrpyreadpanel->Caption(), "Read");
    EXPECT_EQ(app.Finish(), 0);
    EXPECT_TRUE(sim.messageBoxes().empty());
  }
  EXPECT_EQ(Read(sim, "wr.ini"), kOddIni);

  // A change touches its own line only.
  {
    App app(sim);
    ASSERT_TRUE(app.Start());
    app.shell.wrpyreadpanel->Edit2.SetCaption("300");
    app.shell.wrpyreadpanel->Show();
    ASSERT_TRUE(sim.runClickHandler(app.shell.wrpyreadpanel->Panel4.Handle()));
    std::string expect = kOddIni;
    expect.replace(expect.find("400\r\n"), 5, "300\r\n");
    EXPECT_EQ(Read(sim, "wr.ini"), expect);
  }
}

TEST(DurableFiles, SharedListAndFavouritesComeBackByteForByte) {
  SimDesktop sim;
  std::string list;
  for (int i = 0; i < 9; ++i) list += "软件名称--" + std::to_string(i) + "\xFF\r\n";
  list += std::string("尾行--\0x", 9);  // no ending
  const std::string urls = std::string("a\0b", 3) + "\r\nhttp://x/\x81\r\n中文     --http://y/\r\n";
  sim.writeFile(SharedSettings::kFileName, list);
  sim.writeFile("url.txt", urls);
  App app(sim);
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.settings.Line(3), "软件名称--3\xFF");
  EXPECT_EQ(app.browser.easyie->ListBox10.Count(), 3);
  // The browser writes its start-up options into lines 7 and 8 and saves.
  app.browser.easyie->Close();
  std::string expect = list;
  const std::string help = std::string("显示帮助--") + (app.settings.ShowHelp() ? "1" : "0");
  const std::string web = std::string("显示浏览--") + (app.settings.ShowWeb() ? "1" : "0");
  expect.replace(expect.find("软件名称--7\xFF\r\n"), 14, help + "\r\n");
  expect.replace(expect.find("软件名称--8\xFF\r\n"), 14, web + "\r\n");
  EXPECT_EQ(Read(sim, SharedSettings::kFileName), expect);
  app.Finish();
  EXPECT_EQ(Read(sim, "url.txt"), urls);
}

// A crash at any byte of a save leaves the old file whole; the next save
// replaces it whole.
TEST(DurableFiles, AKilledSaveLeavesTheOldFileWhole) {
  const std::string old = "ReadPINTLGNT\r\nReadPINTLGNT\r\nfdfdffd\r\n800\r\n400\r\noldmouse\r\n";
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, old.size() / 2, old.size() - 1}) {
    SCOPED_TRACE(cut);
    SimDesktop sim;
    sim.writeFile("wr.ini", old);
    App app(sim);
    ASSERT_TRUE(app.Start());
    Twrpyreadpanel& w = *app.shell.wrpyreadpanel;
    w.Edit2.SetCaption("250");
    sim.killNextWriteAfter(cut);
    w.Show();
    sim.runClickHandler(w.Panel4.Handle());
    EXPECT_EQ(Read(sim, "wr.ini"), old);
    // What the dead process left beside it is only its temporary file.
    EXPECT_TRUE(std::filesystem::exists(sim.hostPath("wr.ini") + SimDesktop::kTempSuffix));
    // The next save goes through and replaces the leftover too.
    ASSERT_TRUE(sim.runClickHandler(w.Panel4.Handle()));
    std::string expect = old;
    expect.replace(expect.find("400"), 3, "250");
    EXPECT_EQ(Read(sim, "wr.ini"), expect);
    EXPECT_FALSE(std::filesystem::exists(sim.hostPath("wr.ini") + SimDesktop::kTempSuffix));
  }
}

// Files that could not be read whole: used as far as their first complete
// lines go, never written back.
TEST(DurableFiles, FilesNotReadWholeAreNeverWritten) {
  const std::string lines6 = "MSPY Component\r\nReadPINTLGNT\r\nfdfdffd\r\n800\r\n300\r\n600\r\n";
  struct Row {
    const char* name;
    std::string ini;
    bool readsFail;
    std::string edit2;  // what the settings panel shows
    std::string edit4;
    bool rewritten;
  };
  const std::vector<Row> rows = {
      {"past the size limit", lines6 + std::string(budget::kSettingsFileRead, 'x'), false, "300",
       "600", false},
      {"size limit cutting line 5", "a\r\nb\r\nc\r\nd\r\n300\r\n" +
                                        std::string(budget::kSettingsFileRead, '6'),
       false, "300", "500", false},
      {"exactly at the limit", [&] {
         std::string s = lines6;
         s += std::string(budget::kSettingsFileRead - s.size() - 2, 'y') + "\r\n";
         return s;
       }(), false, "300", "600", true},
      {"a read error", lines6, true, "400", "500", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SimDesktop sim;
    sim.writeFile("wr.ini", row.ini);
    sim.writeFile(SharedSettings::kFileName, row.ini);
    sim.setFileReadsFail(row.readsFail);
    App app(sim);
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit2.Caption(), row.edit2);
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit4.Caption(), row.edit4);
    app.shell.wrpyreadpanel->Edit2.SetCaption("250");
    app.settings.SetLine(1, "changed");
    const int writesBefore = sim.fileWrites();
    EXPECT_EQ(app.settings.Save(sim), row.rewritten);
    app.Finish();
    sim.setFileReadsFail(false);
    if (row.rewritten) {
      EXPECT_NE(Read(sim, "wr.ini"), row.ini);
    } else {
      EXPECT_EQ(Read(sim, "wr.ini"), row.ini);
      EXPECT_EQ(Read(sim, SharedSettings::kFileName), row.ini);
      // Neither was even attempted.
      EXPECT_EQ(sim.fileWrites(), writesBefore + 2) << "his.txt and url.txt only";
    }
    EXPECT_TRUE(sim.messageBoxes().empty());
  }
}

}  // namespace
}  // namespace sq
