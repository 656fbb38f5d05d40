#include "sound_player.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace tk::qt {

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Stop() {
  if (m_current) m_current->stop();
  m_current = nullptr;
  m_currentPath.clear();
}

void SoundPlayer::Play(const std::u16string& path) {
  Stop();
  if (path.empty()) return;
  const QFileInfo file(QString::fromStdU16String(path));
  if (!file.isFile() || !file.isReadable()) return;
  auto& effect = m_effects[path];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
  }
  // Asked to play while still loading, the effect starts once loaded.
  effect->play();
  m_current = effect.get();
  m_currentPath = path;
}

std::u16string SoundPlayer::Playing() const {
  if (!m_current) return {};
  if (m_current->isPlaying() || m_current->status() == QSoundEffect::Loading) return m_currentPath;
  return {};
}

bool SoundPlayer::IsPlaying(const std::u16string& path) const {
  auto it = m_effects.find(path);
  return it != m_effects.end() && it->second->isPlaying();
}

}  // namespace tk::qt
