// Notifications: clicks, option groups in creation order, check boxes,
// lists (select, itemclick, itemactivate), combos, focus, typing, and
// handlers that remove the control that notified them.
#include "storage/text.h"
#include "support.h"

using namespace tk;
using tktest::TestWindow;
using tktest::ToolkitTest;

namespace {

const char* kForm = R"(<Window caption="0,0,0,30">
  <VerticalLayout>
    <HorizontalLayout name="tabbar" height="30">
      <Label name="caption" text="标题"/>
      <Option name="tab_heade1" group="tabs" selected="true" width="40"/>
      <Option name="tab_heade2" group="tabs" width="40"/>
      <Option name="tab_heade3" group="tabs" width="40"/>
    </HorizontalLayout>
    <Button name="ok" text="确定" height="30"/>
    <Button name="off" text="停用" height="30" enabled="false"/>
    <Option name="whetherShowPhoen" height="20"/>
    <CheckBox name="check_pwd" height="20"/>
    <Edit name="user" height="30"/>
    <Edit name="password" height="30" password="true" maxchar="6"/>
    <Combo name="sortCombo" height="30">
      <ListLabelElement text="全部记录"/><ListLabelElement text="呼入记录"/>
      <ListLabelElement text="拨出记录"/><ListLabelElement text="未接记录"/>
    </Combo>
    <HorizontalLayout name="callingListLayoutForOption" height="30"/>
    <List name="Maillist" header="hidden" height="200"/>
  </VerticalLayout></Window>)";

CListContainerElementUI* ContactItem(const std::u16string& name, const std::u16string& phone) {
  auto* element = new CListContainerElementUI;
  element->SetAttribute(u"name", u"clistElmentCon");
  element->SetAttribute(u"pos", u"0,0,245,30");
  auto* box = new CHorizontalLayoutUI;
  box->SetName(u"MLacch_Container");
  auto* text = new CTextUI;
  text->SetName(u"user_text");
  text->SetText(name);
  auto* number = new CTextUI;
  number->SetName(u"phoneText_Number");
  number->SetText(phone);
  auto* call = new CButtonUI;
  call->SetName(u"quovabtn_list");
  call->SetFixedWidth(30);
  box->Add(text);
  box->Add(number);
  box->Add(call);
  element->Add(box);
  return element;
}

}  // namespace

TEST_F(ToolkitTest, ButtonsClickWhenEnabledAndShown) {
  TestWindow* w = Open(kForm);
  EXPECT_TRUE(D().Click(w, u"ok"));
  EXPECT_EQ(w->Events(kNotifyClick), std::vector<std::u16string>{u"click:ok"});
  EXPECT_FALSE(D().Click(w, u"off"));
  w->Pm().FindControl(u"ok")->SetVisible(false);
  EXPECT_FALSE(D().Click(w, u"ok"));
  EXPECT_EQ(w->Events(kNotifyClick).size(), 1u);
  // Press inside, release outside: no click.
  w->Pm().FindControl(u"ok")->SetVisible(true);
  w->Pm().UpdateLayout();
  Point in = w->Pm().FindControl(u"ok")->GetPos().Center();
  auto* hw = tktest::Platform().Window(w->GetHWND());
  hw->Events()->OnMouse(WM_LBUTTONDOWN, in, MK_LBUTTON, 0);
  hw->Events()->OnMouse(WM_MOUSEMOVE, {in.x, 500}, MK_LBUTTON, 0);
  hw->Events()->OnMouse(WM_LBUTTONUP, {in.x, 500}, 0, 0);
  EXPECT_EQ(w->Events(kNotifyClick).size(), 1u);
}

TEST_F(ToolkitTest, OptionGroupsAreExclusiveAndNotifyEveryChange) {
  TestWindow* w = Open(kForm);
  EXPECT_TRUE(D().Click(w, u"tab_heade2"));
  // The click, then the option unselected by the group, then the new one.
  std::vector<std::u16string> expected{u"setfocus:tab_heade2", u"click:tab_heade2", u"selectchanged:tab_heade1",
                                       u"selectchanged:tab_heade2"};
  EXPECT_EQ(w->events, expected);
  auto* t1 = w->Pm().Find<COptionUI>(u"tab_heade1");
  auto* t2 = w->Pm().Find<COptionUI>(u"tab_heade2");
  EXPECT_FALSE(t1->IsSelected());
  EXPECT_TRUE(t2->IsSelected());
  // Clicking the selected option of a group changes nothing.
  w->events.clear();
  EXPECT_TRUE(D().Click(w, u"tab_heade2"));
  EXPECT_EQ(w->events, std::vector<std::u16string>{u"click:tab_heade2"});
  // Selected() in code notifies the same way; the same state again is silent.
  w->events.clear();
  t1->Selected(true);
  t1->Selected(true);
  EXPECT_EQ(w->Events(kNotifySelectChanged),
            (std::vector<std::u16string>{u"selectchanged:tab_heade2", u"selectchanged:tab_heade1"}));
  // A lone option toggles.
  w->events.clear();
  auto* lone = w->Pm().Find<COptionUI>(u"whetherShowPhoen");
  D().Click(w, u"whetherShowPhoen");
  EXPECT_TRUE(lone->IsSelected());
  D().Click(w, u"whetherShowPhoen");
  EXPECT_FALSE(lone->IsSelected());
  EXPECT_EQ(w->Events(kNotifySelectChanged).size(), 2u);
  EXPECT_EQ(w->Pm().GetOptionGroup(u"nosuchgroup"), nullptr);
}

TEST_F(ToolkitTest, CallLineOptionsJoinTheirGroupInOrderAndLeaveOnRemoval) {
  TestWindow* w = Open(kForm);
  auto* layout = w->Pm().Find<CContainerUI>(u"callingListLayoutForOption");
  EXPECT_EQ(w->Pm().GetOptionGroup(u"callingoption"), nullptr);
  std::vector<COptionUI*> made;
  for (int line : {2, 0, 5}) {
    auto* option = new COptionUI;
    option->SetAttribute(u"name", qv::IntText(line));
    option->SetAttribute(u"group", u"callingoption");
    option->SetAttribute(u"selectedimage", u"calling_op_bk.png");
    option->SetFixedWidth(40);
    option->SetFixedHeight(25);
    option->SetUserData(qv::IntText(line));
    ASSERT_TRUE(layout->Add(option));
    made.push_back(option);
    OptionGroup* group = w->Pm().GetOptionGroup(u"callingoption");
    ASSERT_NE(group, nullptr);
    group->back()->Selected(true);
  }
  OptionGroup* group = w->Pm().GetOptionGroup(u"callingoption");
  ASSERT_EQ(group->size(), 3u);
  EXPECT_EQ((*group)[0]->GetUserData(), u"2");
  EXPECT_EQ((*group)[2]->GetUserData(), u"5");
  EXPECT_TRUE((*group)[2]->IsSelected());
  EXPECT_FALSE((*group)[0]->IsSelected());
  // The sender's parent tells a call-line option apart.
  w->events.clear();
  std::u16string parentName;
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifySelectChanged && msg.pSender->GetParent()) parentName = msg.pSender->GetParent()->GetName();
  };
  EXPECT_TRUE(D().Click(w, made[0]));
  EXPECT_EQ(parentName, u"callingListLayoutForOption");
  // Removing: out of the group explicitly, then destroyed with the layout entry.
  EXPECT_TRUE(w->Pm().RemoveOptionGroup(u"callingoption", made[1]));
  EXPECT_FALSE(w->Pm().RemoveOptionGroup(u"callingoption", made[1]));
  EXPECT_TRUE(layout->Remove(made[1]));
  EXPECT_EQ(group->size(), 2u);
  // Removing without the explicit step leaves the group too.
  EXPECT_TRUE(layout->Remove(made[2]));
  EXPECT_EQ(group->size(), 1u);
  layout->RemoveAll();
  // The group stays, empty.
  ASSERT_NE(w->Pm().GetOptionGroup(u"callingoption"), nullptr);
  EXPECT_TRUE(w->Pm().GetOptionGroup(u"callingoption")->empty());
}

TEST_F(ToolkitTest, CheckBoxToggles) {
  TestWindow* w = Open(kForm);
  auto* check = w->Pm().Find<CCheckBoxUI>(u"check_pwd");
  EXPECT_FALSE(check->GetCheck());
  EXPECT_TRUE(D().Click(w, u"check_pwd"));
  EXPECT_TRUE(check->GetCheck());
  check->SetCheck(false);
  EXPECT_FALSE(check->GetCheck());
  EXPECT_EQ(w->Events(kNotifySelectChanged).size(), 2u);
}

TEST_F(ToolkitTest, ListSelectionClickAndActivation) {
  TestWindow* w = Open(kForm);
  auto* list = w->Pm().Find<CListUI>(u"Maillist");
  // Inserted at the front, like the contacts list.
  list->AddAt(ContactItem(u"Ann", u"555"), 0);
  list->AddAt(ContactItem(u"Bob", u"777"), 0);
  for (int i = 0; i < list->GetCount(); ++i) list->GetItemAt(i)->SetFixedHeight(30);
  ASSERT_EQ(list->GetCount(), 2);
  EXPECT_EQ(dynamic_cast<IListItemUI*>(list->GetItemAt(1))->GetIndex(), 1);
  int clickedIndex = -1;
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyItemClick) clickedIndex = dynamic_cast<IListItemUI*>(msg.pSender)->GetIndex();
  };
  // A click on a text inside the item reaches the item.
  auto* bobText = w->Pm().FindSubControlByName(list->GetItemAt(0), u"user_text");
  ASSERT_TRUE(D().Click(w, bobText));
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(clickedIndex, 0);
  EXPECT_EQ(w->Events(kNotifyItemSelect), std::vector<std::u16string>{u"itemselect:Maillist"});
  EXPECT_EQ(w->Events(kNotifyItemClick), std::vector<std::u16string>{u"itemclick:clistElmentCon"});
  // Double click activates.
  ASSERT_TRUE(D().DoubleClick(w, list->GetItemAt(1)));
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(w->Events(kNotifyItemActivate).size(), 1u);
  // The call button in an item clicks, and its grandparent is the item.
  w->events.clear();
  CControlUI* callBtn = w->Pm().FindSubControlByName(list->GetItemAt(0), u"quovabtn_list");
  CControlUI* grand = nullptr;
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyClick) grand = msg.pSender->GetParent()->GetParent();
  };
  ASSERT_TRUE(D().Click(w, callBtn));
  EXPECT_EQ(grand, list->GetItemAt(0));
  EXPECT_EQ(w->Events(kNotifyItemClick).size(), 0u);
  // Keys move the selection of the focused list; Return activates.
  w->events.clear();
  list->SelectItem(0, true);
  D().Key(w, VK_DOWN);
  EXPECT_EQ(list->GetCurSel(), 1);
  D().Key(w, VK_RETURN);
  EXPECT_EQ(w->Events(kNotifyItemActivate).size(), 1u);
  // Removing the selected item clears the selection; hidden items are not selectable.
  list->RemoveAt(1);
  EXPECT_EQ(list->GetCurSel(), -1);
  list->GetItemAt(0)->SetVisible(false);
  EXPECT_FALSE(list->SelectItem(0));
  EXPECT_FALSE(list->SelectItem(5));
}

TEST_F(ToolkitTest, ComboSelectsThroughItsPopup) {
  TestWindow* w = Open(kForm);
  auto* combo = w->Pm().Find<CComboUI>(u"sortCombo");
  EXPECT_EQ(combo->GetText(), u"");
  ASSERT_TRUE(D().SelectItem(w, u"sortCombo", 1));
  EXPECT_EQ(combo->GetText(), u"呼入记录");
  EXPECT_EQ(w->Events(kNotifyItemSelect), std::vector<std::u16string>{u"itemselect:sortCombo"});
  auto& menus = tktest::Platform().Menus();
  ASSERT_FALSE(menus.empty());
  ASSERT_EQ(menus.back().items.size(), 4u);
  EXPECT_EQ(menus.back().items[3].text, u"未接记录");
  // Dismissing the popup changes nothing.
  EXPECT_TRUE(D().Click(w, u"sortCombo"));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(w->Events(kNotifyItemSelect).size(), 1u);
  // Selecting the same item again sends nothing.
  combo->SelectItem(1);
  EXPECT_EQ(w->Events(kNotifyItemSelect).size(), 1u);
}

TEST_F(ToolkitTest, EditsTakeFocusAndTypedText) {
  TestWindow* w = Open(kForm);
  ASSERT_TRUE(D().Type(w, u"user", u"13800000000"));
  auto* user = w->Pm().Find<CEditUI>(u"user");
  EXPECT_EQ(user->GetText(), u"13800000000");
  EXPECT_EQ(w->Events(kNotifySetFocus), std::vector<std::u16string>{u"setfocus:user"});
  EXPECT_FALSE(w->Saw(WM_CHAR));  // typed text went to the edit, not to HandleMessage
  D().Key(w, VK_BACK);
  EXPECT_EQ(user->GetText(), u"1380000000");
  D().Key(w, VK_HOME);
  D().Char(w, u'9');
  EXPECT_EQ(user->GetText(), u"91380000000");
  // Password mode hides the text in the paint list; the limit stops typing.
  ASSERT_TRUE(D().Type(w, u"password", u"密码abcdefgh"));
  auto* pwd = w->Pm().Find<CEditUI>(u"password");
  EXPECT_EQ(pwd->GetText(), u"密码abcd");
  EXPECT_EQ(w->Events(kNotifyKillFocus), std::vector<std::u16string>{u"killfocus:user"});
  PaintList list = D().Paint(w);
  for (auto& op : list.ops) {
    if (op.kind == DrawKind::kText) {
      EXPECT_EQ(op.text.find(u"密码"), std::u16string::npos);
    }
  }
  // A click on a control that takes no focus clears the focus.
  D().ClickAt(w, {150, 10});
  EXPECT_EQ(w->Pm().GetFocus(), nullptr);
  // Keys without a focused edit reach HandleMessage.
  D().Key(w, '5');
  EXPECT_TRUE(w->Saw(WM_KEYDOWN));
}

TEST_F(ToolkitTest, HandlersMayRemoveTheControlThatNotified) {
  TestWindow* w = Open(kForm);
  auto* list = w->Pm().Find<CListUI>(u"Maillist");
  for (int i = 0; i < 3; ++i) list->Add(ContactItem(u"N" + qv::IntText(i), u"1" + qv::IntText(i)));
  int rebuilds = 0;
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyItemClick || msg.sType == kNotifyClick) {
      // Rebuild the whole list from inside the handler, as the record view does.
      list->RemoveAll();
      for (int i = 0; i < 3; ++i) list->Add(ContactItem(u"M" + qv::IntText(i), u"2" + qv::IntText(i)));
      ++rebuilds;
    }
  };
  ASSERT_TRUE(D().Click(w, list->GetItemAt(1)));
  ASSERT_TRUE(D().Click(w, w->Pm().FindSubControlByName(list->GetItemAt(2), u"quovabtn_list")));
  ASSERT_TRUE(D().DoubleClick(w, list->GetItemAt(0)));
  EXPECT_GE(rebuilds, 3);
  EXPECT_EQ(list->GetCount(), 3);
  // A button that removes itself.
  auto* host = w->Pm().Find<CContainerUI>(u"callingListLayoutForOption");
  auto* self = new CButtonUI;
  self->SetName(u"selfRemover");
  host->Add(self);
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyClick && msg.pSender->GetName() == u"selfRemover") host->Remove(msg.pSender);
  };
  ASSERT_TRUE(D().Click(w, u"selfRemover"));
  EXPECT_EQ(w->Pm().FindControl(u"selfRemover"), nullptr);
}

TEST_F(ToolkitTest, TimersRunOnTheVirtualClock) {
  TestWindow* w = Open(kForm);
  CControlUI* owner = w->Pm().FindControl(u"user");
  ASSERT_TRUE(w->Pm().SetTimer(owner, 1124, 1000));
  ASSERT_TRUE(w->Pm().SetTimer(owner, 1125, 1000));
  D().AdvanceTime(999);
  EXPECT_TRUE(w->Events(kNotifyTimer).empty());
  D().AdvanceTime(1);
  EXPECT_EQ(w->Events(kNotifyTimer), (std::vector<std::u16string>{u"timer:user", u"timer:user"}));
  EXPECT_EQ(w->wparams[0], 1124u);
  EXPECT_EQ(w->wparams[1], 1125u);
  D().AdvanceTime(3000);
  EXPECT_EQ(w->Events(kNotifyTimer).size(), 8u);
  // KillTimer(control) stops all of the control's timers.
  w->Pm().KillTimer(owner);
  D().AdvanceTime(5000);
  EXPECT_EQ(w->Events(kNotifyTimer).size(), 8u);
  // One timer killed by id; a timer of a removed control stops.
  CControlUI* other = w->Pm().FindControl(u"ok");
  w->Pm().SetTimer(other, 1, 100);
  w->Pm().SetTimer(other, 2, 100);
  EXPECT_TRUE(w->Pm().KillTimer(other, 1));
  D().AdvanceTime(100);
  EXPECT_EQ(w->Events(kNotifyTimer).size(), 9u);
  dynamic_cast<CContainerUI*>(other->GetParent())->Remove(other);
  D().AdvanceTime(1000);
  EXPECT_EQ(w->Events(kNotifyTimer).size(), 9u);
  // A timer on a control outside the window is refused.
  CButtonUI loose;
  EXPECT_FALSE(w->Pm().SetTimer(&loose, 1, 10));
  // A tick whose handler kills the timer stops it.
  w->Pm().SetTimer(owner, 1030, 1000);
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyTimer) w->Pm().KillTimer(msg.pSender);
  };
  D().AdvanceTime(5000);
  EXPECT_EQ(w->Events(kNotifyTimer).size(), 10u);
}

TEST_F(ToolkitTest, RichEditAppendsCountsLinesAndScrolls) {
  TestWindow* w = Open(R"(<Window><VerticalLayout>
      <RichEdit name="chatContent" height="100" style="rich-edit"/>
      <Edit name="wordEdit" height="30"/></VerticalLayout></Window>)");
  auto* chat = w->Pm().Find<CRichEditUI>(u"chatContent");
  EXPECT_EQ(chat->GetLineCount(), 1);
  for (int i = 0; i < 20; ++i) chat->AppendText(u"13800000000   2026-01-02 03:04:05\n你好\n");
  EXPECT_EQ(chat->GetLineCount(), 41);
  EXPECT_EQ(chat->GetText().size(), 20u * 37u);
  w->Pm().UpdateLayout();
  Size range = chat->GetScrollRange();
  EXPECT_GT(range.cy, 0);
  // Scrolling past the end stops at the end; negative stops at the top.
  chat->SetScrollPos({0, 22 * chat->GetLineCount()});
  EXPECT_EQ(chat->GetScrollPos().cy, std::min(range.cy, 22 * 41));
  chat->SetScrollPos({0, -5});
  EXPECT_EQ(chat->GetScrollPos().cy, 0);
  // "\r\n" and a lone "\r" end lines too.
  CRichEditUI other;
  other.AppendText(u"a\r\nb\rc");
  EXPECT_EQ(other.GetLineCount(), 3);
  // A read-only box takes no typing; its keys reach the window.
  ASSERT_TRUE(D().Click(w, u"chatContent"));
  D().Char(w, u'x');
  EXPECT_EQ(chat->GetText().find(u'x'), std::u16string::npos);
}

TEST_F(ToolkitTest, TabMovesTheFocusAndItemsExpand) {
  TestWindow* w = Open(kForm);
  ASSERT_TRUE(D().Click(w, u"user"));
  D().Key(w, VK_TAB);
  EXPECT_EQ(w->Pm().GetFocus()->GetName(), u"password");
  D().Key(w, VK_TAB, kModShift);
  EXPECT_EQ(w->Pm().GetFocus()->GetName(), u"user");
  auto* list = w->Pm().Find<CListUI>(u"Maillist");
  auto* item = new CListContainerElementUI;
  item->SetName(u"calledList_node");
  list->Add(item);
  item->Expand(true);
  item->Expand(true);
  item->Expand(false);
  EXPECT_EQ(w->Events(kNotifyItemExpand).size(), 2u);
}
