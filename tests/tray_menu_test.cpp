// The tray icon and the main menu, and closing windows from outside.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/formmain.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Start());
    sim.moveMouse(900, 700);
  }
  SimDesktop sim;
  App app{sim};
};

TEST_F(Tray, LeftClickShowsTheParkedBarAndTheMenuAtThePointer) {
  sim.queueMenuChoice(-1);
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 514));
  EXPECT_EQ(app.input.qirinputor->Caption(), "old--mod");
  EXPECT_EQ(app.bar.qircom->Left(), -2000);
  EXPECT_EQ(app.bar.qircom->Top(), 10);
  EXPECT_TRUE(app.bar.qircom->Visible());
  ASSERT_EQ(sim.popupMenus().size(), 1u);
  const auto& menu = sim.popupMenus()[0];
  EXPECT_EQ(menu.at, (Point{900, 700}));
  const std::vector<std::string> captions = {
      "帮助", "取消", "进入/退出网络", "设置", "作者主页", "加入到桌面和开始菜单",
      "关闭/打开顶部提示信息栏", "显示/关闭窗口信息", "提示", "关闭"};
  EXPECT_TRUE(SameEvents(captions, menu.captions));
}

TEST_F(Tray, RightClickLeavesTheBarAloneAndOtherMessagesDoNothing) {
  int top = app.bar.qircom->Top();
  sim.queueMenuChoice(-1);
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 517));
  EXPECT_EQ(app.bar.qircom->Top(), top);
  EXPECT_EQ(sim.popupMenus().size(), 1u);
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 513));  // left button down
  EXPECT_EQ(sim.popupMenus().size(), 1u);
}

TEST_F(Tray, MenuCloseEndsTheRunInOrder) {
  sim.queueMenuChoice("关闭");
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 517));
  EXPECT_TRUE(sim.quitPosted());
  EXPECT_EQ(sim.quitCode(), 0);
  EXPECT_FALSE(sim.regKeyExists(TFormMain::kVerbKey));
  EXPECT_EQ(app.Finish(), 0);
  EXPECT_TRUE(sim.trayIcons().empty());
  EXPECT_TRUE(sim.appBars().empty());
}

TEST_F(Tray, MenuItemsActOnTheirWindows) {
  // Settings: shown, the bar parked, the pointer on its centre.
  sim.queueMenuChoice("设置");
  sim.trayMessage(TFormMain::kTrayId, 517);
  EXPECT_TRUE(app.shell.wrpyreadpanel->Visible());
  EXPECT_EQ(sim.getCursorPos(), (Point{379 + 293 / 2, 159 + 260 / 2}));
  // Cancel: the pointer to the screen centre.
  sim.queueMenuChoice("取消");
  sim.trayMessage(TFormMain::kTrayId, 517);
  EXPECT_EQ(sim.getCursorPos(), (Point{512, 384}));
  // Network on and off.
  ASSERT_LT(app.browser.easyie->Left(), 0);
  sim.queueMenuChoice("进入/退出网络");
  sim.trayMessage(TFormMain::kTrayId, 517);
  EXPECT_EQ(app.browser.easyie->Left(), 0);
  sim.queueMenuChoice("进入/退出网络");
  sim.trayMessage(TFormMain::kTrayId, 517);
  EXPECT_EQ(app.browser.easyie->Left(), -2000);
  // The disabled item does nothing.
  sim.queueMenuChoice("显示/关闭窗口信息");
  sim.trayMessage(TFormMain::kTrayId, 517);
  EXPECT_FALSE(sim.quitPosted());
}

TEST_F(Tray, TopBarToggleTwiceRestoresItWithTheHeightChosenByTheBrowser) {
  ASSERT_TRUE(app.browser.lifeform->Visible());
  app.shell.FormMain->N5Click();
  EXPECT_FALSE(app.browser.lifeform->Visible());
  EXPECT_TRUE(sim.appBars().empty());
  app.shell.FormMain->N5Click();
  EXPECT_TRUE(app.browser.lifeform->Visible());
  EXPECT_EQ(app.browser.lifeform->Height(), 114);  // the browser is parked
  EXPECT_EQ(sim.appBars().size(), 1u);
  EXPECT_EQ(app.browser.easyie->Top(), 30);
}

TEST_F(Tray, ClosingTheMainFormFromOutsideIsAnOrderlyEnd) {
  sim.closeWindow(app.shell.FormMain->Handle());
  EXPECT_TRUE(sim.quitPosted());
  EXPECT_FALSE(sim.regKeyExists(TFormMain::kVerbKey));
  // Closing another form only hides it.
  SimDesktop sim2;
  App app2(sim2);
  ASSERT_TRUE(app2.Start());
  app2.shell.wrpyreadpanel->Show();
  sim2.closeWindow(app2.shell.wrpyreadpanel->Handle());
  EXPECT_FALSE(app2.shell.wrpyreadpanel->Visible());
  EXPECT_FALSE(sim2.quitPosted());
}

TEST_F(Tray, ClickingAControlRunsItsHandler) {
  // "返回" on the settings panel hides it.
  app.shell.wrpyreadpanel->Show();
  EXPECT_TRUE(sim.runClickHandler(app.shell.wrpyreadpanel->Panel5.Handle()));
  EXPECT_FALSE(app.shell.wrpyreadpanel->Visible());
  // Clearing the tray check box removes the icon and disables "隐藏".
  app.shell.FormMain->CheckBox1.SetChecked(false);
  EXPECT_TRUE(sim.runClickHandler(app.shell.FormMain->CheckBox1.Handle()));
  EXPECT_TRUE(sim.trayIcons().empty());
  EXPECT_FALSE(app.shell.FormMain->Button1.Enabled());
}

}  // namespace
}  // namespace sq
