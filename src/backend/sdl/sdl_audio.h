// The sound device over SDL audio: 32-bit float samples, stereo, opened when first asked for.
// The mixer's source is called from SDL's audio thread; Start and Stop lock the device so that
// the source is never called after Stop returns.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "ui/platform.h"

namespace sl::sdl {

class SdlAudio final : public ui::AudioOutput {
 public:
  // Opens the default output device, or returns nullptr when there is none (`why` says why).
  static std::unique_ptr<SdlAudio> Open(std::string& why);
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  int SampleRate() const override { return rate_; }
  int Channels() const override { return channels_; }
  void Start(Source source, void* user) override;
  void Stop() override;

 private:
  SdlAudio() = default;
  static void Callback(void* self, Uint8* stream, int len);

  SDL_AudioDeviceID device_ = 0;
  int rate_ = 0;
  int channels_ = 0;
  Source source_ = nullptr;
  void* user_ = nullptr;
};

}  // namespace sl::sdl
