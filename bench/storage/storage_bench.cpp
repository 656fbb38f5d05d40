// Call log and settings file on real files in a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "storage/call_log.h"
#include "storage/config.h"
#include "storage/files.h"
#include "storage/text.h"

namespace {

// Runs every benchmark inside a fresh temporary folder with a data folder.
class TempCwd {
 public:
  TempCwd() {
    old_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      dir_ = pattern;
      std::filesystem::current_path(dir_);
      qv::CreateDataFolder();
    }
  }
  ~TempCwd() {
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::filesystem::path old_, dir_;
};

std::u16string CallLogText(int records) {
  std::u16string text;
  for (int i = 1; i <= records; ++i) {
    text += qv::FormatCallRecord(i % 3 ? u"张三" : u"", u"1380000" + qv::IntText(1000 + i % 9000),
                                 u"2013-05-07 09:03:05", u"1分5秒", i % 2 ? u"callOut" : u"callIn",
                                 i % 2 ? u"" : u"answered", i);
  }
  return text;
}

void BM_ParseCallLog_10000(benchmark::State& state) {
  const std::u16string text = CallLogText(10000);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ParseCallLog(text));
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseCallLog_10000)->Unit(benchmark::kMillisecond);

void BM_ReadAndParseCallLog_10000(benchmark::State& state) {
  TempCwd cwd;
  const std::u16string path = qv::CallLogPath(u"13800000001");
  qv::WriteTextFile(path, CallLogText(10000), qv::WriteMode::Replace);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ParseCallLog(qv::ReadTextFile(path)));
}
BENCHMARK(BM_ReadAndParseCallLog_10000)->Unit(benchmark::kMillisecond);

void BM_RemoveCallRecords_10000(benchmark::State& state) {
  TempCwd cwd;
  const std::u16string path = qv::CallLogPath(u"13800000001");
  const std::u16string text = CallLogText(10000);
  for (auto _ : state) {
    state.PauseTiming();
    qv::WriteTextFile(path, text, qv::WriteMode::Replace);
    state.ResumeTiming();
    benchmark::DoNotOptimize(qv::RemoveCallRecords(path, 5000));
  }
}
BENCHMARK(BM_RemoveCallRecords_10000)->Unit(benchmark::kMillisecond);

void BM_AppendCallRecord(benchmark::State& state) {
  TempCwd cwd;
  const std::u16string path = qv::CallLogPath(u"13800000001");
  int index = 0;
  for (auto _ : state) qv::AppendCallRecord(u"张三", u"13900000002", u"1分5秒", u"callOut", u"", path, ++index);
}
BENCHMARK(BM_AppendCallRecord)->Unit(benchmark::kMicrosecond);

void BM_SetConfigValue(benchmark::State& state) {
  TempCwd cwd;
  qv::SetConfigValue(u"user", u"13800000001");
  qv::SetConfigValue(u"pwd", u"ZYXcba");
  qv::SetConfigValue(u"whetherShowPhoen", u"1");
  int index = 0;
  for (auto _ : state) qv::SetConfigValue(u"CalledListIndex", qv::IntText(++index));
}
BENCHMARK(BM_SetConfigValue)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
