// The data folder "QVPhone" (relative to the current directory) and the
// settings file "config.conf" in it: one line of key=value items joined by
// commas, in the order the keys were first written. Read a value with
// ReplyField(ReadConfig(), key, u',', u'=').
//
// Keys: "user", "pwd" (scrambled), "CalledListIndex", "whetherShowPhoen".
#pragma once

#include <string>
#include <string_view>

namespace qv {

// "QVPhone".
std::u16string DataFolder();

// Creates the data folder (0700) when missing; an existing one is left alone.
bool CreateDataFolder();

// DataFolder() + "/config.conf".
std::u16string ConfigPath();

// The whole settings text, or empty when the file is missing (it is not
// created) or unreadable.
std::u16string ReadConfig();

// Replaces the value of the first item named `key` in place, or appends
// key=value at the end. Other items are kept byte for byte. The file is
// rewritten atomically; when it exists but cannot be read, nothing is
// written (so its items are never lost). Values are stored unescaped: a
// comma in a value reads back cut at the comma. Calls are serialised within
// the process.
bool SetConfigValue(std::u16string_view key, std::u16string_view value);

}  // namespace qv
