// The stored layouts: the parser and the fifteen embedded files.
#include <gtest/gtest.h>

#include <set>

#include "app/frame/layout.h"

namespace sq {
namespace {

TEST(Layout, ParsesFormsControlsAndQuotedText) {
  FormLayout l = ParseLayout(
      "# comment\n"
      "form qircom Tqircom\n"
      "  caption \"old--17up\"\n"
      "  bounds -2000 0 400 350\n"
      "  topmost true\n"
      "control Panel9 Panel\n"
      "  bounds 0 0 400 350\n"
      "control Panel17 Panel\n"
      "  parent Panel9\n"
      "  caption \"a \\\"b\\\" c\"\n"
      "  items \"1\" \"2 3\"\n"
      "  visible false\n"
      "  somekey kept verbatim\n");
  EXPECT_EQ(l.form.className, "Tqircom");
  EXPECT_EQ(l.form.geometry.bounds, (Rect{-2000, 0, 400, 350}));
  EXPECT_TRUE(l.form.look.topmost);
  ASSERT_EQ(l.controls.size(), 2u);
  EXPECT_EQ(l.controls[0].geometry.parent, "");
  EXPECT_EQ(l.controls[1].geometry.parent, "Panel9");
  EXPECT_EQ(l.controls[1].text.caption, "a \"b\" c");
  EXPECT_EQ(l.controls[1].text.items, (std::vector<std::string>{"1", "2 3"}));
  EXPECT_FALSE(l.controls[1].behaviour.visible);
  EXPECT_EQ(l.controls[1].extra.at("somekey"), "kept verbatim");
}

TEST(Layout, GbkTrailBytesThatLookLikeQuotesOrBackslashesStayInTheString) {
  // "\" (0x5C) is a valid GBK trail byte: 0x81 0x5C must not start an escape.
  std::string text = "form f Tf\n  caption \"\x81\x5C\x81\x22x\"\n";
  FormLayout l = ParseLayout(text);
  EXPECT_EQ(l.form.text.caption, std::string("\x81\x5C\x81\x22x"));
}

TEST(Layout, RejectsBrokenInputWithTheLine) {
  const char* bad[] = {
      "control A Panel\n",                                   // before the form
      "form f Tf\n  bounds 1 2 3\n",                          // short bounds
      "form f Tf\n  bounds 1 2 x 4\n",                        // not a number
      "form f Tf\n  caption \"open\n",                        // unclosed string
      "form f Tf\ncontrol A Panel\n  parent B\n",             // parent declared later
      "form f Tf\ncontrol A Panel\ncontrol A Panel\n",        // twice
      "form f Tf\ncontrol A Gizmo\n",                         // unknown kind
      "form f Tf\nform g Tg\n",                               // second form
      "",                                                     // empty
  };
  for (const char* b : bad) EXPECT_THROW(ParseLayout(b), LayoutError) << b;
}

TEST(Layout, TheFifteenStoredLayoutsAreEmbeddedAsGbk) {
  const std::set<std::string> expected = {
      "FormMain", "qirinputor", "qircom", "lifeform", "mousepp",
      "qirForm4", "qirForm3", "wrpyreadpanel", "caretinfo", "Form1",
      "Form2", "rightform", "leftform", "easyie", "wheeltipform"};
  auto names = StoredLayoutNames();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  for (const auto& n : names) {
    const FormLayout& l = StoredLayout(n);
    EXPECT_EQ(l.form.name, n);
    EXPECT_EQ(l.form.className, "T" + n);
  }
  // Chinese text arrives as GBK bytes: 设 is 0xC9 0xE8.
  EXPECT_EQ(StoredLayout("FormMain").form.text.caption.substr(0, 2), "\xC9\xE8");
  EXPECT_THROW(StoredLayout("nosuchform"), LayoutError);
}


const ControlLayout& ControlOf(const std::string& form, const std::string& name) {
  const FormLayout& l = StoredLayout(form);
  for (const auto& c : l.controls)
    if (c.name == name) return c;
  throw LayoutError(form + " has no control " + name);
}

struct CaptionCase {
  const char* form;
  const char* control;
  const char* caption;
};

TEST(Layout, CaptionsThatOtherWindowsCompareAreByteExact) {
  // Blanks inside and at the end of a caption belong to it.
  const CaptionCase cases[] = {
      {"wrpyreadpanel", "lmbutton", "鼠标滚轮新功能 "},
      {"wrpyreadpanel", "Panel2", "左键按下           毫秒后，开始轻松拖动"},
      {"wrpyreadpanel", "Panel1", "右键按下           毫秒后，进入轻松菜单"},
      {"qircom", "Panel12", "      剪"},
      {"wheeltipform", "Label3", "右右 右左 左键按下片刻"},
      {"wheeltipform", "Label5", "右右 右左 左键按下片刻"},
      {"mousepp", "Label2", "右  右/左"},
      {"easyie", "SpeedButton2", "屏蔽"},
      {"FormMain", "Edit1", "--Sipquill"},
      {"FormMain", "Edit2", "//Sipquill"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.form) + "." + c.control);
    EXPECT_EQ(ControlOf(c.form, c.control).text.caption, c.caption);
  }
  EXPECT_EQ(ControlOf("easyie", "SpeedButton2").text.hint, "开放\\屏蔽弹出窗口");
}

TEST(Layout, MainMenuItemsInOrderWithOnlyTheWindowInformationItemDisabled) {
  const std::vector<std::pair<std::string, std::string>> menu = {
      {"Properties1", "帮助"}, {"N7", "取消"}, {"N6", "进入/退出网络"}, {"N1", "设置"},
      {"N4", "作者主页"}, {"N3", "加入到桌面和开始菜单"}, {"N5", "关闭/打开顶部提示信息栏"},
      {"N8", "显示/关闭窗口信息"}, {"N9", "提示"}, {"Shutdown1", "关闭"}};
  std::vector<std::pair<std::string, std::string>> got;
  for (const auto& c : StoredLayout("FormMain").controls) {
    if (c.kind != Kind::MenuItem || c.geometry.parent != "PopupMenu1") continue;
    got.emplace_back(c.name, c.text.caption);
    EXPECT_EQ(c.behaviour.enabled, c.name != "N8") << c.name;
  }
  EXPECT_EQ(got, menu);
}

}  // namespace
}  // namespace sq
