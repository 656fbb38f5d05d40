#pragma once

#include <string>

// Writes a 16-bit mono WAV file holding `seconds` of a sine tone.
bool WriteToneWav(const std::string& path, int frequencyHz, int seconds);
