#include "storage/hooks.h"

#include <cstdio>
#include <mutex>

#include "storage/text.h"

namespace qv {

namespace {

std::mutex& HookMutex() {
  static std::mutex m;
  return m;
}

MessageHook& MessageHookSlot() {
  static MessageHook hook;
  return hook;
}

SoundHook& SoundHookSlot() {
  static SoundHook hook;
  return hook;
}

}  // namespace

void ShowMessage(MessageOwner owner, std::u16string_view text) {
  MessageHook hook;
  {
    std::lock_guard lock(HookMutex());
    hook = MessageHookSlot();
  }
  if (hook) {
    hook(owner, std::u16string(text));
    return;
  }
  const std::string line = ToUtf8(kMessageCaption) + ": " + ToUtf8(text) + "\n";
  std::fputs(line.c_str(), stderr);
}

void PlaySoundFile(std::u16string_view path) {
  SoundHook hook;
  {
    std::lock_guard lock(HookMutex());
    hook = SoundHookSlot();
  }
  if (hook) hook(std::u16string(path));
}

MessageHook SetMessageHook(MessageHook hook) {
  std::lock_guard lock(HookMutex());
  MessageHook old = std::move(MessageHookSlot());
  MessageHookSlot() = std::move(hook);
  return old;
}

SoundHook SetSoundHook(SoundHook hook) {
  std::lock_guard lock(HookMutex());
  SoundHook old = std::move(SoundHookSlot());
  SoundHookSlot() = std::move(hook);
  return old;
}

}  // namespace qv
