#include "platform/system/Date_Time.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>

namespace sys {

namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

std::mutex Random_Lock;
// The test clock's reading; below 0 the real clock is read.
std::atomic<long long> Test_Clock_Ms{-1};
std::mt19937& Generator() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

}  // namespace

std::string Format_Date_Time(const std::string& pattern, std::time_t when) {
  std::tm t {};
  localtime_r(&when, &t);
  std::string out;
  bool after_hour = false;  // the last field was an hour: a following "m" is the minute
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'' || c == '"') {
      const size_t end = pattern.find(c, i + 1);
      const size_t stop = end == std::string::npos ? pattern.size() : end;
      out.append(pattern, i + 1, stop - i - 1);
      i = stop == pattern.size() ? stop : stop + 1;
      continue;
    }
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t run = 1;
    while (i + run < pattern.size() &&
           std::tolower(static_cast<unsigned char>(pattern[i + run])) == letter)
      ++run;
    switch (letter) {
      case 'y':
        out += run >= 3 ? Digits(t.tm_year + 1900, 4) : Digits((t.tm_year + 1900) % 100, 2);
        after_hour = false;
        break;
      case 'm':
        if (after_hour) out += run >= 2 ? Digits(t.tm_min, 2) : std::to_string(t.tm_min);
        else out += run >= 2 ? Digits(t.tm_mon + 1, 2) : std::to_string(t.tm_mon + 1);
        after_hour = false;
        break;
      case 'd':
        out += run >= 2 ? Digits(t.tm_mday, 2) : std::to_string(t.tm_mday);
        after_hour = false;
        break;
      case 'h':
        out += run >= 2 ? Digits(t.tm_hour, 2) : std::to_string(t.tm_hour);
        after_hour = true;
        break;
      case 'n':
        out += run >= 2 ? Digits(t.tm_min, 2) : std::to_string(t.tm_min);
        after_hour = false;
        break;
      case 's':
        out += run >= 2 ? Digits(t.tm_sec, 2) : std::to_string(t.tm_sec);
        after_hour = false;
        break;
      default:
        out.append(run, c);  // separators keep an hour's claim on the next "m"
        break;
    }
    i += run;
  }
  return out;
}

static std::time_t Set_Time = 0;   // 0: the system's clock

std::time_t Now() { return Set_Time != 0 ? Set_Time : std::time(nullptr); }

void Set_Now(std::time_t when) { Set_Time = when; }

std::string Short_Date_Text(std::time_t when) { return Format_Date_Time("dd.mm.yyyy", when); }

int Random_Below(int range) {
  if (range < 1) return 0;
  std::lock_guard<std::mutex> guard(Random_Lock);
  return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

void Seed_Random(unsigned seed) {
  std::lock_guard<std::mutex> guard(Random_Lock);
  Generator().seed(seed);
}

long long Monotonic_Ms() {
  const long long set = Test_Clock_Ms.load();
  if (set >= 0) return set;
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Monotonic_Clock_Set(long long ms) { Test_Clock_Ms.store(ms < 0 ? 0 : ms); }

void Monotonic_Clock_Release() { Test_Clock_Ms.store(-1); }

}  // namespace sys
