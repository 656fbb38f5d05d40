// Threads: message boxes asked for on worker threads are shown by the
// user-interface thread while the worker waits; posted work runs in order
// on the user-interface thread; nothing reaches a closed window. Run under
// TSan by scripts/test.d/tsan-toolkit.
#include <atomic>
#include <thread>
#include <vector>

#include "storage/hooks.h"
#include "support.h"

using namespace tk;
using tktest::TestWindow;
using tktest::ToolkitTest;

TEST_F(ToolkitTest, WorkerMessageBoxWaitsForTheUiThread) {
  tktest::Platform().QueueMessageBoxAnswer(IDYES);
  std::atomic<int> answer{0};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    EXPECT_FALSE(IsUiThread());
    answer = MessageBox(nullptr, u"有最新版本，是否升级!", u"提示", MB_YESNO);
    returned = true;
  });
  // Until the UI thread runs its posted work the worker waits.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());
  ASSERT_TRUE(D().PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_EQ(answer.load(), IDYES);
  auto& boxes = tktest::Platform().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].fromWorker);
  EXPECT_EQ(boxes[0].text, u"有最新版本，是否升级!");
  EXPECT_EQ(boxes[0].type, MB_YESNO);
}

TEST_F(ToolkitTest, ManyWorkersBoxesAndPostedCallsStayOrderedPerThread) {
  constexpr int kThreads = 6, kPosts = 200;
  std::vector<std::vector<int>> seen(kThreads);
  std::atomic<int> boxesDone{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < kPosts; ++i) PostToUiThread([&seen, t, i] { seen[t].push_back(i); });
      MessageBox(nullptr, u"网络连接失败", u"提示", MB_OK);
      ++boxesDone;
    });
  }
  ASSERT_TRUE(D().PumpUntil([&] { return boxesDone.load() == kThreads; }));
  for (auto& w : workers) w.join();
  D().RunPending();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) EXPECT_EQ(seen[t][i], i);
  }
  EXPECT_EQ(tktest::Platform().MessageBoxes().size(), static_cast<std::size_t>(kThreads));
}

TEST_F(ToolkitTest, WorkersReachWindowsOnlyWhileTheyExist) {
  TestWindow* w = Open(R"(<Window><VerticalLayout><Label name="RemainderMoney" height="20"/></VerticalLayout></Window>)");
  std::atomic<bool> posted{false};
  std::thread worker([&] {
    // A worker's result applied on the UI thread, to a control.
    w->PostCall([w] { w->Pm().FindControl(u"RemainderMoney")->SetText(u"12.50"); });
    PostMessage(w->GetHWND(), WM_USER + 7, 1, 2);
    posted = true;
  });
  worker.join();
  D().RunPending();
  EXPECT_EQ(w->Pm().FindControl(u"RemainderMoney")->GetText(), u"12.50");
  EXPECT_TRUE(w->Saw(WM_USER + 7));
  // Once closed, posted work for the window is dropped.
  HWND h = w->GetHWND();
  w->DestroyWindow();
  bool ran = false;
  std::thread late([&] {
    PostMessage(h, WM_USER + 8, 0, 0);
    PostToUiThread([&] { ran = true; });
  });
  late.join();
  D().RunPending();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(w->Saw(WM_USER + 8));
}

TEST_F(ToolkitTest, StorageHooksReachTheToolkitFromAnyThread) {
  InstallStorageHooks();
  TestWindow* w = Open(R"(<Window><VerticalLayout/></Window>)");
  std::atomic<bool> done{false};
  std::thread worker([&] {
    qv::ShowMessage(nullptr, u"网络连接失败");
    qv::PlaySoundFile(u"/tmp/sound.wav");
    done = true;
  });
  ASSERT_TRUE(D().PumpUntil([&] { return done.load(); }));
  worker.join();
  D().RunPending();
  qv::ShowMessage(w->GetHWND(), u"输入的号码不能大于22位数");
  auto& boxes = tktest::Platform().MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, u"提示");
  EXPECT_TRUE(boxes[0].fromWorker);
  EXPECT_EQ(boxes[1].owner, w->GetHWND());
  ASSERT_EQ(tktest::Platform().PlayedSounds().size(), 1u);
  qv::SetMessageHook(nullptr);
  qv::SetSoundHook(nullptr);
}

TEST_F(ToolkitTest, MessageLoopRunsPostedWorkUntilQuit) {
  std::atomic<int> ran{0};
  std::thread worker([&] {
    for (int i = 0; i < 10; ++i) PostToUiThread([&] { ++ran; });
    PostToUiThread([] { PostQuitMessage(3); });
  });
  int code = CPaintManagerUI::MessageLoop();
  worker.join();
  EXPECT_EQ(code, 3);
  EXPECT_EQ(ran.load(), 10);
  // After the quit a worker's box returns at once with the refusing answer.
  std::atomic<int> answer{0};
  std::thread late([&] { answer = MessageBox(nullptr, u"x", u"提示", MB_YESNO); });
  late.join();
  EXPECT_EQ(answer.load(), IDNO);
  tktest::Platform().ResetQuit();
}
