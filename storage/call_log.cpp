#include "storage/call_log.h"

#include <cstdio>

#include "storage/config.h"
#include "storage/files.h"
#include "storage/text.h"
#include "web/reply_field.h"

namespace qv {

namespace {

CallRecord ParseRecord(std::u16string_view text) {
  CallRecord r;
  if (text.empty()) return r;
  r.calledUser = ReplyField(text, u"calledUser", u',', u'=');
  r.phone = ReplyField(text, u"phone", u',', u'=');
  r.time = ReplyField(text, u"time", u',', u'=');
  r.timeLen = ReplyField(text, u"timeLen", u',', u'=');
  r.calledType = ReplyField(text, u"calledType", u',', u'=');
  r.state = ReplyField(text, u"state", u',', u'=');
  r.index = ReplyField(text, u"index", u',', u'=');
  return r;
}

}  // namespace

std::u16string CallLogPath(std::u16string_view phone) {
  std::u16string path = DataFolder();
  path += u"/calledLog";
  path += phone;
  path += u".called";
  return path;
}

std::u16string LocalTimeText(const std::tm& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return Widen(buf);
}

std::u16string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LocalTimeText(local);
}

std::u16string DurationText(int hours, int minutes, int seconds) {
  if (hours > 0) return IntText(hours) + u"时" + IntText(minutes) + u"分" + IntText(seconds) + u"秒";
  if (minutes > 0) return IntText(minutes) + u"分" + IntText(seconds) + u"秒";
  if (seconds > 0) return IntText(seconds) + u"秒";
  return {};
}

std::u16string DurationText(long long totalSeconds) {
  if (totalSeconds <= 0) return {};
  return DurationText(static_cast<int>(totalSeconds / 3600), static_cast<int>(totalSeconds / 60 % 60),
                      static_cast<int>(totalSeconds % 60));
}

std::u16string FormatCallRecord(std::u16string_view calledUser, std::u16string_view phone,
                                std::u16string_view time, std::u16string_view timeLen,
                                std::u16string_view calledType, std::u16string_view state, int index) {
  std::u16string r;
  r.reserve(128);
  r += u"calledUser=";
  r += calledUser;
  r += u",phone=";
  r += phone;
  r += u",time=";
  r += time;
  r += u",timeLen=";
  r += timeLen;
  r += u",calledType=";
  r += calledType;
  r += u",state=";
  r += state;
  r += u",index=";
  r += IntText(index);
  r += u';';
  return r;
}

bool AppendCallRecord(std::u16string_view calledUser, std::u16string_view phone, std::u16string_view timeLen,
                      std::u16string_view calledType, std::u16string_view state, std::u16string_view path,
                      int index) {
  const std::u16string record =
      FormatCallRecord(calledUser, phone, LocalTimeText(), timeLen, calledType, state, index);
  return WriteTextFile(path, record, WriteMode::Append);
}

std::vector<CallRecord> ParseCallLog(std::u16string_view text) {
  std::vector<CallRecord> records;
  std::u16string_view rest = text;
  for (;;) {
    const size_t semi = rest.find(u';');
    records.push_back(ParseRecord(rest.substr(0, semi)));
    if (semi == std::u16string_view::npos || semi == 0) break;
    rest = rest.substr(semi + 1);
  }
  return records;
}

bool RemoveCallRecords(std::u16string_view path, int index) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, true)) return false;
  // ';', ',' and '=' are below 0x40 and so never the second byte of a GBK
  // character: records are cut on the bytes, and what is kept is copied as
  // it was.
  std::string kept;
  kept.reserve(bytes.size());
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t semi = bytes.find(';', pos);
    const size_t end = semi == std::string::npos ? bytes.size() : semi + 1;
    const std::string_view record(bytes.data() + pos, (semi == std::string::npos ? bytes.size() : semi) - pos);
    const bool drop =
        !record.empty() && ToInt(ReplyField(FromAnsi(record), u"index", u',', u'=')) == index;
    if (!drop) kept.append(bytes, pos, end - pos);
    pos = end;
  }
  if (kept.size() == bytes.size()) return true;  // nothing to remove
  return ReplaceFileBytes(path, kept);
}

bool EmptyCallLog(std::u16string_view path) { return WriteTextFile(path, u"", WriteMode::Replace); }

}  // namespace qv
