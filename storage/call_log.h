// The call log: one file per subscriber in the data folder, records
// written one after the other in GBK, without line ends:
//   calledUser=%s,phone=%s,time=%s,timeLen=%s,calledType=%s,state=%s,index=%d;
// Values are not escaped: a value with ',' or ';' (or braces, brackets,
// double quotes) does not read back unchanged.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct CallRecord {
  std::u16string calledUser;  // contact name; may be empty
  std::u16string phone;
  std::u16string time;        // LocalTimeText at the end of the call
  std::u16string timeLen;     // DurationText
  std::u16string calledType;  // "callOut" or "callIn"
  std::u16string state;       // "answered", "missed", "Call failed", "Call terminated" or ""
  std::u16string index;       // record number as text
};

// DataFolder() + "/calledLog" + phone + ".called".
std::u16string CallLogPath(std::u16string_view phone);

// "%4d-%02d-%02d %02d:%02d:%02d" of the local time (now, or the given time).
std::u16string LocalTimeText();
std::u16string LocalTimeText(const std::tm& local);

// "%d时%d分%d秒" for an hour or more, "%d分%d秒" for a minute or more,
// "%d秒" for a second or more, else empty.
std::u16string DurationText(int hours, int minutes, int seconds);
std::u16string DurationText(long long totalSeconds);

// The text of one record, ';' included.
std::u16string FormatCallRecord(std::u16string_view calledUser, std::u16string_view phone,
                                std::u16string_view time, std::u16string_view timeLen,
                                std::u16string_view calledType, std::u16string_view state, int index);

// Appends a record stamped with the current local time. False when the
// file could not be written (the record is then lost; nothing is shown).
bool AppendCallRecord(std::u16string_view calledUser, std::u16string_view phone, std::u16string_view timeLen,
                      std::u16string_view calledType, std::u16string_view state, std::u16string_view path,
                      int index);

// The records of a call log text in file order. Reading stops after a
// record without ';' and after an empty record (";" at the start of what
// is left); the end of the text delivers one empty record. Callers skip
// records whose phone is empty.
std::vector<CallRecord> ParseCallLog(std::u16string_view text);

// Rewrites the file without the records whose index (as ToInt reads it)
// equals `index`. Everything else in the file, including text the reader
// does not reach, stays byte for byte. False when the file could not be
// read or written; it is then left as it was.
bool RemoveCallRecords(std::u16string_view path, int index);

// Leaves the file empty.
bool EmptyCallLog(std::u16string_view path);

}  // namespace qv
