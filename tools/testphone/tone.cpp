#include "tone.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void PutLe(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

bool WriteToneWav(const std::string& path, int frequencyHz, int seconds) {
  const uint32_t rate = 16000;
  const uint32_t samples = rate * static_cast<uint32_t>(seconds);
  const uint32_t dataBytes = samples * 2;
  std::vector<unsigned char> wav;
  wav.reserve(44 + dataBytes);
  wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
  PutLe(wav, 36 + dataBytes, 4);
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);         // PCM
  PutLe(wav, 1, 2);         // mono
  PutLe(wav, rate, 4);
  PutLe(wav, rate * 2, 4);  // byte rate
  PutLe(wav, 2, 2);         // block align
  PutLe(wav, 16, 2);        // bits per sample
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  PutLe(wav, dataBytes, 4);
  for (uint32_t i = 0; i < samples; ++i) {
    double v = 8000.0 * std::sin(2.0 * M_PI * frequencyHz * i / rate);
    PutLe(wav, static_cast<uint16_t>(static_cast<int16_t>(v)), 2);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(wav.data(), 1, wav.size(), f) == wav.size();
  return std::fclose(f) == 0 && ok;
}
