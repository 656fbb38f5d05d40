// Layout: vertical and horizontal flow with fixed, flexible, min/max sizes,
// padding, inset and child padding; floating controls by pos; tab pages;
// nested layouts; scrolling lists; the paint list follows the layout.
#include "storage/text.h"
#include "support.h"

using namespace tk;
using tktest::TestWindow;
using tktest::ToolkitTest;

namespace {
Rect PosOf(tktest::TestWindow* w, const char16_t* name) {
  w->Pm().UpdateLayout();
  CControlUI* c = w->Pm().FindControl(name);
  return c ? c->GetPos() : Rect{-1, -1, -1, -1};
}
}  // namespace

TEST_F(ToolkitTest, VerticalAndHorizontalFlow) {
  TestWindow* w = Open(R"(<Window>
    <VerticalLayout name="root" inset="10,10,10,10" childpadding="5">
      <Control name="fixed" height="40"/>
      <Control name="flexA"/>
      <Control name="flexB" maxheight="50"/>
      <HorizontalLayout name="row" height="30" childpadding="4">
        <Control name="w50" width="50"/>
        <Control name="fill"/>
        <Control name="pad" width="20" padding="3,2,1,0"/>
      </HorizontalLayout>
      <Control name="narrow" width="100" height="20"/>
    </VerticalLayout></Window>)",
                       300, 550);
  // Client 280x530; fixed 40+30+20, gaps 4x5=20, flexible 530-110=420 -> B capped at 50, A gets 370.
  EXPECT_EQ(PosOf(w, u"fixed"), (Rect{10, 10, 290, 50}));
  EXPECT_EQ(PosOf(w, u"flexA"), (Rect{10, 55, 290, 425}));
  EXPECT_EQ(PosOf(w, u"flexB"), (Rect{10, 430, 290, 480}));
  EXPECT_EQ(PosOf(w, u"row"), (Rect{10, 485, 290, 515}));
  EXPECT_EQ(PosOf(w, u"w50"), (Rect{10, 485, 60, 515}));
  // Row: 280 - 50 - 20 - pads(3+1) - gaps 8 = 198 for "fill".
  EXPECT_EQ(PosOf(w, u"fill"), (Rect{64, 485, 262, 515}));
  EXPECT_EQ(PosOf(w, u"pad"), (Rect{269, 487, 289, 515}));
  EXPECT_EQ(PosOf(w, u"narrow"), (Rect{10, 520, 110, 540}));
}

TEST_F(ToolkitTest, MinSizesAndAlignment) {
  TestWindow* w = Open(R"(<Window>
    <VerticalLayout childalign="center" childvalign="vcenter">
      <Control name="a" width="100" height="100"/>
      <Control name="b" width="50" height="50"/>
    </VerticalLayout></Window>)",
                       300, 400);
  // 150 of 400 used: centred vertically (offset 125), each centred across.
  EXPECT_EQ(PosOf(w, u"a"), (Rect{100, 125, 200, 225}));
  EXPECT_EQ(PosOf(w, u"b"), (Rect{125, 225, 175, 275}));

  TestWindow* w2 = Open(R"(<Window><HorizontalLayout>
      <Control name="min" minwidth="250"/><Control name="other"/></HorizontalLayout></Window>)",
                        300, 100);
  EXPECT_EQ(PosOf(w2, u"min").Width(), 250);
  EXPECT_EQ(PosOf(w2, u"other").Width(), 50);
}

TEST_F(ToolkitTest, FloatingControlsUseTheirPosition) {
  TestWindow* w = Open(R"(<Window><VerticalLayout>
      <Control height="100"/>
      <Container name="box" height="200" inset="5,5,5,5">
        <Label name="f" float="true" pos="30,4,260,22"/>
        <Label name="g" float="true" pos="3,11,12,20"/>
        <Control name="fill"/>
      </Container></VerticalLayout></Window>)");
  EXPECT_EQ(PosOf(w, u"box"), (Rect{0, 100, 300, 300}));
  EXPECT_EQ(PosOf(w, u"f"), (Rect{30, 104, 260, 122}));
  EXPECT_EQ(PosOf(w, u"g"), (Rect{3, 111, 12, 120}));
  EXPECT_EQ(PosOf(w, u"fill"), (Rect{5, 105, 295, 295}));
  // Changing pos at run time moves it.
  w->Pm().FindControl(u"g")->SetAttribute(u"pos", u"104, 275, 354, 300");
  EXPECT_EQ(PosOf(w, u"g"), (Rect{104, 375, 354, 400}));
}

TEST_F(ToolkitTest, TabLayoutShowsOnePage) {
  TestWindow* w = Open(R"(<Window><TabLayout name="tabs">
      <VerticalLayout name="p0"><Button name="b0" height="30"/></VerticalLayout>
      <VerticalLayout name="p1"><Button name="b1" height="30"/></VerticalLayout>
      <VerticalLayout name="p2"/>
    </TabLayout></Window>)");
  auto* tabs = w->Pm().Find<CTabLayoutUI>(u"tabs");
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(D().Click(w, u"b0"));
  EXPECT_FALSE(D().Click(w, u"b1"));  // on a hidden page
  EXPECT_TRUE(tabs->SelectItem(1));
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_EQ(PosOf(w, u"p1"), (Rect{0, 0, 300, 550}));
  EXPECT_FALSE(D().Click(w, u"b0"));
  EXPECT_TRUE(D().Click(w, u"b1"));
  EXPECT_FALSE(tabs->SelectItem(3));
  EXPECT_FALSE(tabs->SelectItem(-1));
  EXPECT_EQ(tabs->GetCurSel(), 1);
  // Removing the page before the current one keeps the current page.
  tabs->RemoveAt(0);
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_EQ(tabs->GetItemAt(0)->GetName(), u"p1");
}

TEST_F(ToolkitTest, FixedSizesSetInCodeAndMaxHeight) {
  TestWindow* w = Open(R"(<Window><VerticalLayout>
      <VerticalLayout name="LayoutMaillist"/><Control name="rest" height="20"/></VerticalLayout></Window>)");
  CControlUI* layout = w->Pm().FindControl(u"LayoutMaillist");
  layout->SetFixedWidth(280);
  layout->SetMaxHeight(390);
  EXPECT_EQ(PosOf(w, u"LayoutMaillist"), (Rect{0, 0, 280, 390}));
  layout->SetVisible(false);
  EXPECT_EQ(PosOf(w, u"rest"), (Rect{0, 0, 300, 20}));
}

TEST_F(ToolkitTest, ListScrollsAndKeepsSelectionInView) {
  TestWindow* w = Open(R"(<Window><VerticalLayout name="host"/></Window>)", 300, 400);
  auto* list = new CListUI;
  list->SetAttribute(u"name", u"calledListUI");
  list->SetAttribute(u"pos", u"0,30,278,360");
  list->SetAttribute(u"vscrollbar", u"true");
  list->SetFloat(true);
  list->SetHeaderVisible(false);
  ASSERT_TRUE(w->Pm().Find<CContainerUI>(u"host")->AddAt(list, 0));
  for (int i = 0; i < 40; ++i) {
    auto* item = new CListContainerElementUI;
    item->SetName(u"row" + qv::IntText(i));
    item->SetFixedHeight(30);
    ASSERT_TRUE(list->Add(item));
  }
  w->Pm().UpdateLayout();
  EXPECT_EQ(list->GetPos(), (Rect{0, 30, 278, 360}));
  EXPECT_EQ(list->GetScrollRange().cy, 40 * 30 - 330);
  EXPECT_EQ(list->GetItemAt(0)->GetPos(), (Rect{0, 30, 278, 60}));
  EXPECT_TRUE(list->SelectItem(39));
  w->Pm().UpdateLayout();
  EXPECT_EQ(list->GetScrollPos().cy, 40 * 30 - 330);
  EXPECT_EQ(list->GetItemAt(39)->GetPos().bottom, 360);
  // The wheel scrolls back up; clicks reach the items now in view.
  EXPECT_TRUE(D().Wheel(w, u"calledListUI", 100));
  EXPECT_EQ(list->GetScrollPos().cy, 0);
  EXPECT_TRUE(D().Click(w, u"row3"));
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_FALSE(D().Click(w, u"row20"));  // out of view: cannot be pressed
  // Hidden rows take no room.
  for (int i = 1; i < 40; ++i) list->GetItemAt(i)->SetVisible(false);
  w->Pm().UpdateLayout();
  EXPECT_EQ(list->GetScrollRange().cy, 0);
}

TEST_F(ToolkitTest, PaintListFollowsTheTree) {
  TestWindow* w = Open(R"(<Window><VerticalLayout bkcolor="#FF102030">
      <Label name="shown" text="看得见" height="20"/>
      <Label name="gone" text="看不见" height="20" visible="false"/>
      <Button name="btn" text="按钮" style="btn-primary"/>
    </VerticalLayout></Window>)");
  PaintList list = D().Paint(w);
  ASSERT_FALSE(list.ops.empty());
  EXPECT_EQ(list.ops[0].kind, DrawKind::kFill);
  EXPECT_EQ(list.ops[0].color, 0xFF102030u);
  bool shown = false, gone = false, button = false;
  int depth = 0;
  for (auto& op : list.ops) {
    if (op.kind == DrawKind::kText && op.text == u"看得见") shown = true;
    if (op.kind == DrawKind::kText && op.text == u"看不见") gone = true;
    if (op.kind == DrawKind::kFill && op.color == 0xFF1F6FEBu && op.round.cx == 10) button = true;
    if (op.kind == DrawKind::kPushClip) ++depth;
    if (op.kind == DrawKind::kPopClip) --depth;
    EXPECT_GE(depth, 0);
  }
  EXPECT_EQ(depth, 0);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(gone);
  EXPECT_TRUE(button);
  ASSERT_GE(list.fonts.size(), 3u);
  EXPECT_EQ(list.fonts[0].family, u"WenQuanYi Micro Hei");
}
