// The skin builder: every control kind and attribute, the theme, and bad
// files (malformed, hostile, missing) that must give null, never a crash.
#include <fstream>
#include <string>

#include "support.h"

using namespace tk;
using tktest::TestWindow;
using tktest::ToolkitTest;

namespace {

const char* kGallery = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,600" caption="0,0,0,40" sizebox="4,4,4,4" mininfo="200,300" roundcorner="8,8">
  <Style name="local-red" bkcolor="#FFFF0000" textcolor="#FF00FF00"/>
  <VerticalLayout name="root" bkcolor="$window" inset="1,2,3,4" childpadding="5">
    <Label name="label" text="标签 &amp; &lt;b&gt;" tooltip="提示" font="2" textcolor="#339999" align="center" height="20"/>
    <Text name="text" text="多行&#x6587;字" height="40" showhtml="true"/>
    <Button name="button" text="按钮" style="btn-primary" userdata="42" width="100"/>
    <Button name="styled" style="local-red" height="10"/>
    <Option name="opt1" group="g" text="一" selected="true" selectedimage="sel.png" height="20"/>
    <Option name="opt2" group="g" text="二" height="20"/>
    <CheckBox name="check" text="记住" selected="true" height="20"/>
    <Edit name="edit" password="true" maxchar="5" tipvalue="密码" height="30"/>
    <RichEdit name="rich" readonly="true" height="60"/>
    <Combo name="combo" height="30" selectedid="1">
      <ListLabelElement text="全部记录"/>
      <ListLabelElement text="呼入记录"/>
    </Combo>
    <List name="list" header="hidden" itemshowhtml="true" vscrollbar="true" height="100">
      <ListContainerElement name="elem" height="30"><Label name="inner" text="x"/></ListContainerElement>
      <ListLabelElement name="lab" text="y"/>
    </List>
    <TabLayout name="tabs" selectedid="1" height="50">
      <Container name="page0"/>
      <HorizontalLayout name="page1"><Control name="deep" float="true" pos="1,2,11,22"/></HorizontalLayout>
    </TabLayout>
    <WebBrowser name="web" homepage="about:blank" autonavi="false" height="30"/>
    <Unknown name="skipped"><Label name="lost"/></Unknown>
    <Control name="hidden" visible="false" enabled="false" mouse="false" bkimage="file='a.png' corner='1,1,1,1'" bordersize="2" borderround="6,6" minwidth="3" maxwidth="300" minheight="4" maxheight="90" padding="1,2,3,4"/>
  </VerticalLayout>
</Window>)";

}  // namespace

TEST_F(ToolkitTest, BuildsEveryControlKindWithItsAttributes) {
  TestWindow* w = Open(kGallery);
  ASSERT_TRUE(w->GetSkinError().empty()) << tktest::Utf8(w->GetSkinError());
  CPaintManagerUI& pm = w->Pm();
  struct Kind {
    const char16_t* name;
    const char16_t* cls;
  } kinds[] = {{u"root", u"VerticalLayout"}, {u"label", u"Label"},     {u"text", u"Text"},
               {u"button", u"Button"},       {u"opt1", u"Option"},     {u"check", u"CheckBox"},
               {u"edit", u"Edit"},           {u"rich", u"RichEdit"},   {u"combo", u"Combo"},
               {u"list", u"List"},           {u"elem", u"ListContainerElement"},
               {u"lab", u"ListLabelElement"}, {u"tabs", u"TabLayout"}, {u"page1", u"HorizontalLayout"},
               {u"page0", u"Container"},     {u"web", u"WebBrowser"},  {u"hidden", u"Control"}};
  for (auto& k : kinds) {
    CControlUI* c = pm.FindControl(k.name);
    ASSERT_NE(c, nullptr) << tktest::Utf8(k.name);
    EXPECT_EQ(c->GetClass(), std::u16string_view(k.cls)) << tktest::Utf8(k.name);
  }
  EXPECT_EQ(pm.FindControl(u"skipped"), nullptr);
  EXPECT_EQ(pm.FindControl(u"lost"), nullptr);

  // Window attributes.
  EXPECT_EQ(pm.GetInitSize(), (Size{320, 600}));
  EXPECT_EQ(pm.GetCaptionRect(), (Rect{0, 0, 0, 40}));
  EXPECT_EQ(pm.GetMinInfo(), (Size{200, 300}));

  auto* label = pm.Find<CLabelUI>(u"label");
  EXPECT_EQ(label->GetText(), u"标签 & <b>");
  EXPECT_EQ(label->GetToolTip(), u"提示");
  EXPECT_EQ(label->GetTextColor(), 0xFF339999u);
  EXPECT_EQ(label->GetFont(), 2);
  EXPECT_TRUE(label->GetTextStyle() & DT_CENTER);
  EXPECT_EQ(pm.Find<CTextUI>(u"text")->GetText(), u"多行文字");

  auto* root = pm.Find<CVerticalLayoutUI>(u"root");
  EXPECT_EQ(root->GetInset(), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(root->GetChildPadding(), 5);
  EXPECT_EQ(root->GetBkColor(), 0xFFFFFFFFu);  // $window of the theme

  // A theme style and a local style.
  auto* button = pm.Find<CButtonUI>(u"button");
  EXPECT_EQ(button->GetBkColor(), 0xFF1F6FEBu);
  EXPECT_EQ(button->GetFixedHeight(), 40);
  EXPECT_EQ(button->GetFixedWidth(), 100);
  EXPECT_EQ(button->GetUserData(), u"42");
  EXPECT_EQ(button->GetStyleName(), u"btn-primary");
  EXPECT_EQ(pm.Find<CButtonUI>(u"styled")->GetBkColor(), 0xFFFF0000u);
  EXPECT_EQ(pm.Find<CButtonUI>(u"styled")->GetTextColor(), 0xFF00FF00u);

  auto* opt1 = pm.Find<COptionUI>(u"opt1");
  auto* opt2 = pm.Find<COptionUI>(u"opt2");
  EXPECT_TRUE(opt1->IsSelected());
  EXPECT_FALSE(opt2->IsSelected());
  EXPECT_EQ(opt1->GetGroup(), u"g");
  OptionGroup* group = pm.GetOptionGroup(u"g");
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->size(), 2u);
  EXPECT_EQ((*group)[0], opt1);
  EXPECT_EQ((*group)[1], opt2);
  EXPECT_TRUE(pm.Find<CCheckBoxUI>(u"check")->GetCheck());

  auto* edit = pm.Find<CEditUI>(u"edit");
  EXPECT_TRUE(edit->IsPasswordMode());
  EXPECT_EQ(edit->GetMaxChar(), 5);
  EXPECT_EQ(edit->GetPromptText(), u"密码");
  EXPECT_TRUE(pm.Find<CRichEditUI>(u"rich")->IsReadOnly());

  auto* combo = pm.Find<CComboUI>(u"combo");
  EXPECT_EQ(combo->GetCount(), 2);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetText(), u"呼入记录");

  auto* list = pm.Find<CListUI>(u"list");
  EXPECT_EQ(list->GetCount(), 2);
  EXPECT_FALSE(list->GetHeader()->IsVisible());
  EXPECT_TRUE(list->ItemShowHtml());
  EXPECT_TRUE(list->GetList()->IsVScrollEnabled());
  EXPECT_EQ(dynamic_cast<IListItemUI*>(list->GetItemAt(1))->GetIndex(), 1);

  auto* tabs = pm.Find<CTabLayoutUI>(u"tabs");
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_FALSE(pm.FindControl(u"page0")->IsVisible());
  EXPECT_TRUE(pm.FindControl(u"page1")->IsVisible());
  // Controls of hidden pages are found all the same.
  EXPECT_NE(pm.FindSubControlByName(tabs, u"deep"), nullptr);
  EXPECT_EQ(pm.FindSubControlByName(nullptr, u"deep"), nullptr);

  auto* web = pm.Find<CWebBrowserUI>(u"web");
  EXPECT_EQ(web->GetHomePage(), u"about:blank");
  EXPECT_FALSE(web->IsAutoNavigation());

  CControlUI* hidden = pm.FindControl(u"hidden");
  EXPECT_FALSE(hidden->IsVisible());
  EXPECT_FALSE(hidden->IsEnabled());
  EXPECT_FALSE(hidden->IsMouseEnabled());
  EXPECT_EQ(hidden->GetBorderSize(), 2);
  EXPECT_EQ(hidden->GetBorderRound(), (Size{6, 6}));
  EXPECT_EQ(hidden->GetMinWidth(), 3);
  EXPECT_EQ(hidden->GetMaxHeight(), 90);
  EXPECT_EQ(hidden->GetPadding(), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(hidden->GetBkImage(), u"file='a.png' corner='1,1,1,1'");
}

TEST_F(ToolkitTest, AttributeSetterAtRunTime) {
  // What windows set on controls they create in code.
  auto* list = new CListUI;
  EXPECT_TRUE(list->SetAttribute(u"name", u"Maillist"));
  EXPECT_TRUE(list->SetAttribute(u"inset", u"0,0,0,0"));
  EXPECT_TRUE(list->SetAttribute(u"itemshowhtml", u"true"));
  EXPECT_TRUE(list->SetAttribute(u"vscrollbar", u"true"));
  EXPECT_TRUE(list->SetAttribute(u"pos", u"0,0,278,360"));
  EXPECT_FALSE(list->SetAttribute(u"nonsense", u"1"));
  EXPECT_EQ(list->GetName(), u"Maillist");
  EXPECT_EQ(list->GetFixedWidth(), 278);
  EXPECT_EQ(list->GetFixedHeight(), 360);
  EXPECT_TRUE(list->ItemShowHtml());
  EXPECT_TRUE(list->GetList()->IsVScrollEnabled());
  delete list;

  COptionUI option;
  option.SetAttribute(u"name", u"3");
  option.SetAttribute(u"group", u"callingoption");
  option.SetAttribute(u"selectedimage", u"calling_op_bk.png");
  EXPECT_EQ(option.GetGroup(), u"callingoption");

  CLabelUI label;
  label.SetAttribute(u"float", u"true");
  label.SetAttribute(u"pos", u"3,11,12,20");
  label.SetAttribute(u"textcolor", u"#339999");
  label.SetAttribute(u"bkimage", u"Skins\\tree_close.png");
  label.SetAttribute(u"bkcolor", u"#ffa0c0ff");
  EXPECT_TRUE(label.IsFloat());
  EXPECT_EQ(label.GetFixedXY(), (Rect{3, 11, 12, 20}));
  EXPECT_EQ(label.GetFixedWidth(), 9);
  EXPECT_EQ(label.GetTextColor(), 0xFF339999u);
  EXPECT_EQ(label.GetBkColor(), 0xFFA0C0FFu);
  EXPECT_EQ(label.GetBkImage(), u"Skins\\tree_close.png");
  // Spaces inside a position are accepted.
  label.SetAttribute(u"pos", u"104, 275, 354, 300");
  EXPECT_EQ(label.GetFixedXY(), (Rect{104, 275, 354, 300}));
  // Bad values leave the property as it was.
  label.SetAttribute(u"pos", u"1,2,x,4");
  label.SetAttribute(u"textcolor", u"#12");
  EXPECT_EQ(label.GetFixedXY(), (Rect{104, 275, 354, 300}));
  EXPECT_EQ(label.GetTextColor(), 0xFF339999u);
}

TEST_F(ToolkitTest, BuildsPiecesAndAddsThemWhereAsked) {
  TestWindow* w = Open(R"(<Window><VerticalLayout name="host"/></Window>)");
  m_dir.Write("piece.xml", R"(<HorizontalLayout name="piece"><Button name="inPiece" style="btn-neutral"/></HorizontalLayout>)");
  CDialogBuilder builder;
  CControlUI* piece = builder.Create(u"piece.xml", &w->Pm());
  ASSERT_NE(piece, nullptr);
  EXPECT_EQ(piece->GetParent(), nullptr);
  EXPECT_EQ(w->Pm().FindControl(u"inPiece"), nullptr);  // not in the window yet
  // Theme styles were applied while building.
  auto* b = dynamic_cast<CButtonUI*>(dynamic_cast<CContainerUI*>(piece)->GetItemAt(0));
  EXPECT_EQ(b->GetBorderSize(), 1);
  auto* host = w->Pm().Find<CContainerUI>(u"host");
  ASSERT_TRUE(host->AddAt(piece, 0));
  EXPECT_NE(w->Pm().FindControl(u"inPiece"), nullptr);
  // With a parent, the builder adds it itself; names are looked up without case.
  CControlUI* second = builder.Create(u"PIECE.XML", &w->Pm(), nullptr, host);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetParent(), host);
  EXPECT_EQ(host->GetCount(), 2);
}

TEST_F(ToolkitTest, BadSkinsGiveNullNeverACrash) {
  TestWindow* w = Open(R"(<Window><VerticalLayout/></Window>)");
  struct Case {
    const char* what;
    std::string xml;
  };
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<Container>";
  std::string manyAttrs = "<Control ";
  for (int i = 0; i < 500; ++i) manyAttrs += "a" + std::to_string(i) + "=\"1\" ";
  manyAttrs += "/>";
  std::string manyControls = "<VerticalLayout>";
  for (int i = 0; i < 25000; ++i) manyControls += "<Control/>";
  manyControls += "</VerticalLayout>";
  std::string longName = "<" + std::string(1000, 'A') + "/>";
  Case cases[] = {
      {"empty", ""},
      {"only spaces", "   \n  "},
      {"text only", "hello"},
      {"unclosed", "<VerticalLayout><Label name=\"a\">"},
      {"mismatched", "<VerticalLayout></HorizontalLayout>"},
      {"bad attribute", "<Label name=a/>"},
      {"unterminated value", "<Label name=\"a/>"},
      {"duplicate attribute", "<Label name=\"a\" name=\"b\"/>"},
      {"two roots", "<Label/><Label/>"},
      {"unknown entity", "<Label text=\"&nbsp;\"/>"},
      {"bad reference", "<Label text=\"&#xD800;\"/>"},
      {"entity bomb", "<!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]><Label text=\"&b;\"/>"},
      {"external entity", "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><Label text=\"&e;\"/>"},
      {"too deep", deep},
      {"too many attributes", manyAttrs},
      {"too many controls", manyControls},
      {"long name", longName},
      {"unknown root", "<Frobnicator/>"},
      {"window without control", "<Window size=\"1,1\"><Font id=\"1\"/></Window>"},
      {"nul bytes", std::string("<Label\0 name=\"x\"/>", 18)},
      {"lt in value", "<Label text=\"a<b\"/>"},
      {"truncated", std::string(kGallery).substr(0, 700)},
  };
  for (auto& c : cases) {
    m_dir.Write("bad.xml", c.xml);
    CDialogBuilder builder;
    CControlUI* built = builder.Create(u"bad.xml", &w->Pm());
    EXPECT_EQ(built, nullptr) << c.what;
    EXPECT_FALSE(builder.GetLastError().empty()) << c.what;
    delete built;
  }
  // Invalid UTF-8 inside values is replaced, not fatal.
  m_dir.Write("utf.xml", "<Label name=\"x\" text=\"a\xff\xfe" "b\"/>");
  CDialogBuilder builder;
  std::unique_ptr<CControlUI> label(builder.Create(u"utf.xml", &w->Pm()));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetText().size(), 4u);
  // Files that are not there, or too large.
  EXPECT_EQ(builder.Create(u"missing.xml", &w->Pm()), nullptr);
  EXPECT_EQ(builder.Create(u"", &w->Pm()), nullptr);
  EXPECT_EQ(builder.Create(u"../../../../etc", &w->Pm()), nullptr);
  std::string big = "<Label text=\"" + std::string(5 << 20, 'x') + "\"/>";
  m_dir.Write("big.xml", big);
  EXPECT_EQ(builder.Create(u"big.xml", &w->Pm()), nullptr);
}

TEST_F(ToolkitTest, IncludesAreBoundedAndLoopsEnd) {
  m_dir.Write("inc_a.xml", R"(<Theme><Include source="inc_b.xml"/><Color name="fromA" value="#FF010203"/></Theme>)");
  m_dir.Write("inc_b.xml", R"(<Theme><Include source="inc_a.xml"/><Color name="fromB" value="#FF040506"/></Theme>)");
  TestWindow* w = Open(R"(<Window><Include source="inc_a.xml"/><Control name="c" bkcolor="$fromB"/></Window>)");
  EXPECT_EQ(w->Pm().FindControl(u"c")->GetBkColor(), 0xFF040506u);
  EXPECT_EQ(w->Pm().Resources().FindColor(u"fromA").value_or(0), 0xFF010203u);
}

TEST_F(ToolkitTest, WindowWithMissingSkinStillOpensEmpty) {
  auto w = std::make_unique<tktest::TestWindow>(u"does-not-exist.xml");
  ASSERT_NE(w->Create(nullptr, u"x", WS_VISIBLE, 0, 0, 0, 300, 200), nullptr);
  EXPECT_TRUE(w->initRan);
  EXPECT_FALSE(w->GetSkinError().empty());
  EXPECT_NE(w->Pm().GetRoot(), nullptr);
  EXPECT_EQ(w->Pm().FindControl(u"anything"), nullptr);
  w->DestroyWindow();
}

TEST_F(ToolkitTest, ImagesResolveAgainstSkinFolderAndInstancePath) {
  m_dir.Write("calledIn.png", "png");
  TestWindow* w = Open(R"(<Window><Control name="c" bkimage="calledIn.png"/></Window>)");
  std::u16string skins = m_dir.SkinsPath();
  EXPECT_EQ(w->Pm().ResolveImage(u"calledIn.png"), skins + u"calledIn.png");
  EXPECT_EQ(w->Pm().ResolveImage(u"Skins\\calledIn.png"), skins + u"calledIn.png");
  EXPECT_EQ(w->Pm().ResolveImage(u"CALLEDIN.PNG"), skins + u"calledIn.png");
  EXPECT_EQ(w->Pm().ResolveImage(u"nothere.png"), u"");
  // The paint list carries the resolved path; a missing image draws nothing.
  PaintList list = D().Paint(w);
  bool found = false;
  for (auto& op : list.ops)
    if (op.kind == DrawKind::kImage && op.image == skins + u"calledIn.png") found = true;
  EXPECT_TRUE(found);
}

TEST_F(ToolkitTest, IncludedPiecesInsideContainers) {
  m_dir.Write("row.xml", R"(<HorizontalLayout name="row" height="20"><Label name="cell"/></HorizontalLayout>)");
  m_dir.Write("self.xml", R"(<VerticalLayout name="self"><Include source="self.xml"/></VerticalLayout>)");
  TestWindow* w = Open(R"(<Window><VerticalLayout name="host">
      <Include source="row.xml" count="3"/>
      <Include source="self.xml"/>
      <Include source="missing.xml"/>
    </VerticalLayout></Window>)");
  auto* host = w->Pm().Find<CContainerUI>(u"host");
  ASSERT_EQ(host->GetCount(), 4);
  EXPECT_EQ(host->FindSubControls(u"cell").size(), 3u);
  // The self-including file stops after a few levels.
  EXPECT_LE(host->FindSubControls(u"self").size(), static_cast<std::size_t>(CDialogBuilder::kMaxIncludeDepth + 1));
}

TEST_F(ToolkitTest, MangledSkinsNeverCrash) {
  // Random damage to a real skin (fixed seed): truncation, byte flips,
  // inserted markup. Each build either works or gives null.
  TestWindow* w = Open(R"(<Window><VerticalLayout/></Window>)");
  std::string base = kGallery;
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFFFF;
  };
  const char* inserts[] = {"<", ">", "\"", "&", "&#x0;", "<Label", "</VerticalLayout>", "<!DOCTYPE", "=", "'"};
  int built = 0;
  for (int round = 0; round < 400; ++round) {
    std::string s = base;
    int edits = 1 + static_cast<int>(next() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
      std::size_t at = next() % s.size();
      switch (next() % 3) {
        case 0: s.resize(at); break;
        case 1: s[at] = static_cast<char>(next() & 0xFF); break;
        default: s.insert(at, inserts[next() % 10]); break;
      }
    }
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(s, &w->Pm()));
    if (root) {
      ++built;
      // Whatever was built can be attached, laid out and painted.
      auto* host = w->Pm().GetRoot()->AsContainer();
      host->Add(root.release());
      D().Paint(w);
      host->RemoveAll();
    }
  }
  EXPECT_GT(built, 0);
}
