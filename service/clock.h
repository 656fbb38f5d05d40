// Local dates and times in the texts the service stores and sends.
#pragma once

#include <ctime>
#include <string>

namespace qv::service {

// "YYYY-MM-DD" and "YYYY-MM-DD HH:MM:SS" in local time.
std::string DateText(std::time_t when);
std::string DateTimeText(std::time_t when);

// The same local clock time `months` calendar months later (the day is
// kept where the month has it, else the month's last day).
std::time_t AddMonths(std::time_t when, int months);

// Today's date text.
std::string Today();

}  // namespace qv::service
