// Figures of the toolkit core: building a 500-item list as the contacts
// view does, building a 50-control skin, a layout pass, the paint list of
// a window, and hit-testing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "storage/text.h"
#include "ui/toolkit/headless/driver.h"
#include "ui/toolkit/toolkit.h"

namespace {

using namespace tk;

class BenchWindow : public WindowImplBase {
 public:
  explicit BenchWindow(std::u16string skin) : m_skin(std::move(skin)) {}
  std::u16string GetWindowClassName() const override { return u"BenchWindow"; }
  std::u16string GetSkinFolder() override { return u"Skins/"; }
  std::u16string GetSkinFile() override { return m_skin; }
  CPaintManagerUI& Pm() { return m_PaintManager; }

 private:
  std::u16string m_skin;
};

std::string g_root;

void WriteSkin(const std::string& name, const std::string& text) {
  std::ofstream(g_root + "/Skins/" + name) << text;
}

std::string FiftyControlSkin() {
  std::string s = R"(<Window size="300,550" caption="0,0,0,40"><VerticalLayout style="card">)";
  s += R"(<HorizontalLayout style="titlebar"><Label name="mainTitle" style="title"/>)"
       R"(<Button name="minbtn" style="title-btn"/><Button name="closebtn" style="title-btn-close"/></HorizontalLayout>)";
  for (int i = 0; i < 15; ++i)
    s += R"(<HorizontalLayout height="30" childpadding="4"><Label text="名称" width="60"/>)"
         R"(<Button style="btn-neutral" text="按钮" name="b)" + std::to_string(i) + R"("/></HorizontalLayout>)";
  s += R"(<Edit name="e" style="edit"/><Option name="o1" group="g" style="chip"/><Option name="o2" group="g" style="chip"/>)";
  s += R"(<Combo name="c"><ListLabelElement text="一"/><ListLabelElement text="二"/></Combo></VerticalLayout></Window>)";
  return s;
}

struct Setup {
  Setup() {
    InstallHeadless();
    char tmpl[] = "/tmp/qv-toolkit-bench.XXXXXX";
    g_root = ::mkdtemp(tmpl);
    std::filesystem::create_directories(g_root + "/Skins");
    std::filesystem::copy_file(std::string(QV_SKINS_DIR) + "/theme.xml", g_root + "/Skins/theme.xml");
    WriteSkin("fifty.xml", FiftyControlSkin());
    WriteSkin("host.xml", R"(<Window size="300,550"><VerticalLayout><VerticalLayout name="LayoutMaillist"/></VerticalLayout></Window>)");
    WriteSkin("ailist.xml", R"(<HorizontalLayout><Control/><Button name="quovabtn_list" width="30" height="30" style="btn-icon"/></HorizontalLayout>)");
    CPaintManagerUI::SetInstancePath(qv::FromUtf8(g_root + "/"));
  }
  ~Setup() {
    std::error_code ec;
    std::filesystem::remove_all(g_root, ec);
  }
  static void InstallHeadless() { tk::headless::InstallHeadless(); }
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

std::unique_ptr<BenchWindow> OpenWindow(const char16_t* skin) {
  TheSetup();
  auto w = std::make_unique<BenchWindow>(skin);
  w->Create(nullptr, u"bench", WS_VISIBLE, 0, 0, 0, 300, 550);
  return w;
}

// One contact item as the contacts view builds it.
void AddContact(CPaintManagerUI& pm, CListUI* list, int i) {
  auto* element = new CListContainerElementUI;
  element->SetAttribute(u"name", u"clistElmentCon");
  element->SetAttribute(u"pos", u"0,0,245,30");
  list->AddAt(element, 0);
  element->SetFixedHeight(30);
  CDialogBuilder builder;
  CControlUI* box = builder.Create(u"ailist.xml", &pm);
  box->SetName(u"MLacch_Container");
  auto* container = box->AsContainer();
  const char16_t* names[] = {u"user_text", u"phoneText_Number", u"cornetID", u"isOpen_chat"};
  for (int k = 0; k < 4; ++k) {
    CControlUI* c = k == 3 ? static_cast<CControlUI*>(new CLabelUI) : new CTextUI;
    c->SetAttribute(u"name", names[k]);
    c->SetAttribute(u"textcolor", u"#339999");
    c->SetAttribute(u"float", u"true");
    c->SetAttribute(u"pos", k == 0 ? u"10,6,70,25" : u"70,10,170,25");
    c->SetText(qv::IntText(13800000000LL + i));
    if (k >= 2) c->SetVisible(false);
    container->AddAt(c, 0);
  }
  element->AddAt(box, 0);
}

CListUI* MakeList(BenchWindow& w) {
  auto* list = new CListUI;
  list->SetAttribute(u"name", u"Maillist");
  list->SetAttribute(u"vscrollbar", u"true");
  list->SetAttribute(u"pos", u"0,0,278,360");
  list->SetHeaderVisible(false);
  w.Pm().Find<CContainerUI>(u"LayoutMaillist")->Add(list);
  return list;
}

void BM_Build500ItemList(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  CListUI* list = MakeList(*w);
  for (auto _ : state) {
    for (int i = 0; i < 500; ++i) AddContact(w->Pm(), list, i);
    w->Pm().UpdateLayout();
    state.PauseTiming();
    list->RemoveAll();
    state.ResumeTiming();
  }
  state.SetLabel("500 contact items: builder + 4 controls each, then one layout");
}
BENCHMARK(BM_Build500ItemList)->Unit(benchmark::kMillisecond);

void BM_Build50ControlSkin(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  for (auto _ : state) {
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(u"fifty.xml", &w->Pm()));
    benchmark::DoNotOptimize(root.get());
  }
  state.SetLabel("parse + build, theme already merged");
}
BENCHMARK(BM_Build50ControlSkin)->Unit(benchmark::kMicrosecond);

void BM_Open50ControlWindow(benchmark::State& state) {
  TheSetup();
  for (auto _ : state) {
    BenchWindow w(u"fifty.xml");
    w.Create(nullptr, u"bench", WS_VISIBLE, 0, 0, 0, 300, 550);
    w.Pm().UpdateLayout();
    w.DestroyWindow();
  }
  state.SetLabel("theme + skin + attach + layout + destroy");
}
BENCHMARK(BM_Open50ControlWindow)->Unit(benchmark::kMicrosecond);

void BM_LayoutPass500(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  CListUI* list = MakeList(*w);
  for (int i = 0; i < 500; ++i) AddContact(w->Pm(), list, i);
  for (auto _ : state) {
    w->Pm().NeedUpdate();
    w->Pm().UpdateLayout();
  }
  state.SetLabel("window with a 500-item list");
}
BENCHMARK(BM_LayoutPass500)->Unit(benchmark::kMicrosecond);

void BM_PaintList500(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  CListUI* list = MakeList(*w);
  for (int i = 0; i < 500; ++i) AddContact(w->Pm(), list, i);
  PaintList paint;
  for (auto _ : state) {
    w->Pm().Render(paint);
    benchmark::DoNotOptimize(paint.ops.data());
  }
  state.counters["ops"] = static_cast<double>(paint.ops.size());
  state.SetLabel("paint list of a 300x550 window over a 500-item list");
}
BENCHMARK(BM_PaintList500)->Unit(benchmark::kMicrosecond);

void BM_HitTest500(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  CListUI* list = MakeList(*w);
  for (int i = 0; i < 500; ++i) AddContact(w->Pm(), list, i);
  w->Pm().UpdateLayout();
  int y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w->Pm().FindControl(Point{100, y}));
    y = (y + 7) % 360;
  }
}
BENCHMARK(BM_HitTest500)->Unit(benchmark::kMicrosecond);

void BM_FindControlByName500(benchmark::State& state) {
  auto w = OpenWindow(u"host.xml");
  CListUI* list = MakeList(*w);
  for (int i = 0; i < 500; ++i) AddContact(w->Pm(), list, i);
  for (auto _ : state) benchmark::DoNotOptimize(w->Pm().FindControl(u"no-such-control"));
  state.SetLabel("a miss: walks the whole tree");
}
BENCHMARK(BM_FindControlByName500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
