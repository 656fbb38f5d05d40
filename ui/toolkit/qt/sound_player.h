// Plays WAV files asynchronously through Qt Multimedia; a new sound cuts off
// the one playing. GUI thread only.
#pragma once

#include <map>
#include <memory>
#include <string>

class QSoundEffect;

namespace tk::qt {

class SoundPlayer {
 public:
  SoundPlayer();
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts the file and returns at once; an empty path only stops the
  // sound. A missing or unreadable file plays nothing.
  void Play(const std::u16string& path);
  void Stop();
  // The file of the sound now playing (or loading to play); empty when silent.
  std::u16string Playing() const;
  // Whether the sound of that file is audible now.
  bool IsPlaying(const std::u16string& path) const;

 private:
  // One effect per file, kept: loading the WAV again for every key press
  // would delay the sound.
  std::map<std::u16string, std::unique_ptr<QSoundEffect>> m_effects;
  QSoundEffect* m_current = nullptr;
  std::u16string m_currentPath;
};

}  // namespace tk::qt
