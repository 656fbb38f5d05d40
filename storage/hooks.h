// Message boxes and sounds as hooks. The window toolkit installs the real
// implementations when the application starts; tests install recorders.
// Without a hook, ShowMessage writes the text to stderr and PlaySoundFile
// does nothing, so code that runs without windows (tools, the service)
// still links and behaves.
//
// Both functions may be called from any thread. The message hook is
// called on the calling thread and must return only when the user has
// closed the box (a worker thread waits for it, as with a modal box).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv {

// The owner of a message box: a toolkit window object, or nullptr for a
// box that belongs to no window.
using MessageOwner = void*;

// Caption of every message box of the program.
inline constexpr std::u16string_view kMessageCaption = u"提示";

// A message box with `text`, the caption "提示" and an OK button.
void ShowMessage(MessageOwner owner, std::u16string_view text);

// Starts playing a sound file and returns at once.
void PlaySoundFile(std::u16string_view path);

using MessageHook = std::function<void(MessageOwner owner, const std::u16string& text)>;
using SoundHook = std::function<void(const std::u16string& path)>;

// Installs a hook; an empty function restores the default. Returns the
// hook that was installed before.
MessageHook SetMessageHook(MessageHook hook);
SoundHook SetSoundHook(SoundHook hook);

}  // namespace qv
