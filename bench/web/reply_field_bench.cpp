// ReplyField on a short account reply and on a long contacts reply.
#include <benchmark/benchmark.h>

#include <string>

#include "storage/text.h"
#include "web/md5.h"
#include "web/reply_field.h"
#include "web/sign.h"

namespace {

std::u16string ContactsReply(size_t bytes) {
  std::string reply = "{\"result\":\"0\",\"list\":[";
  for (int i = 0; reply.size() < bytes; ++i) {
    reply += "{\"id\":\"" + std::to_string(i) + "\",\"name\":\"联系人" + std::to_string(i) + "\",\"phone\":\"138" +
             std::to_string(10000000 + i) + "\"},";
  }
  reply += "{\"id\":\"last\",\"name\":\"最后\",\"phone\":\"13912345678\"}]}";
  return qv::FromUtf8(reply);
}

std::u16string AccountReply(size_t bytes) {
  std::string reply = "{\"result\":\"0\",\"uid\":\"1001\",\"balance\":\"12.50\",\"package\":\"月租套餐\"";
  for (int i = 0; reply.size() < bytes; ++i) reply += ",\"extra" + std::to_string(i) + "\":\"value\"";
  reply += ",\"expire\":\"2013-01-01 12:00:00\"}";
  return qv::FromUtf8(reply);
}

void BM_ReplyField_1KB_LastField(benchmark::State& state) {
  const std::u16string reply = AccountReply(1000);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ReplyField(reply, u"expire"));
  state.SetBytesProcessed(state.iterations() * reply.size() * 2);
}
BENCHMARK(BM_ReplyField_1KB_LastField);

void BM_ReplyField_1KB_Result(benchmark::State& state) {
  const std::u16string reply = AccountReply(1000);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ReplyField(reply, u"result"));
}
BENCHMARK(BM_ReplyField_1KB_Result);

void BM_ReplyField_64KB_Contacts_Missing(benchmark::State& state) {
  const std::u16string reply = ContactsReply(64 * 1024);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ReplyField(reply, u"nosuchfield"));
  state.SetBytesProcessed(state.iterations() * reply.size() * 2);
}
BENCHMARK(BM_ReplyField_64KB_Contacts_Missing)->Unit(benchmark::kMicrosecond);

void BM_FromUtf8_64KB(benchmark::State& state) {
  const std::string bytes = qv::ToUtf8(ContactsReply(64 * 1024));
  for (auto _ : state) benchmark::DoNotOptimize(qv::FromUtf8(bytes));
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_FromUtf8_64KB)->Unit(benchmark::kMicrosecond);

void BM_RequestSign(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qv::RequestSign(u"13800000001"));
}
BENCHMARK(BM_RequestSign);

}  // namespace

BENCHMARK_MAIN();
