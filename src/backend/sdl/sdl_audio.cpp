// SDL audio device: opened paused, unpaused while a source is set.
#include "backend/sdl/sdl_audio.h"

#include <cstring>

namespace sl::sdl {

std::unique_ptr<SdlAudio> SdlAudio::Open(std::string& why) {
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    why = SDL_GetError();
    return nullptr;
  }
  std::unique_ptr<SdlAudio> audio(new SdlAudio());
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlAudio::Callback;
  want.userdata = audio.get();
  SDL_AudioSpec have{};
  audio->device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (audio->device_ == 0) {
    why = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  audio->rate_ = have.freq;
  audio->channels_ = have.channels;
  return audio;
}

SdlAudio::~SdlAudio() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void SdlAudio::Start(Source source, void* user) {
  SDL_LockAudioDevice(device_);
  source_ = source;
  user_ = user;
  SDL_UnlockAudioDevice(device_);
  SDL_PauseAudioDevice(device_, source ? 0 : 1);
}

void SdlAudio::Stop() {
  SDL_PauseAudioDevice(device_, 1);
  SDL_LockAudioDevice(device_);
  source_ = nullptr;
  user_ = nullptr;
  SDL_UnlockAudioDevice(device_);
}

void SdlAudio::Callback(void* self, Uint8* stream, int len) {
  auto* audio = static_cast<SdlAudio*>(self);
  int frameBytes = static_cast<int>(sizeof(float)) * audio->channels_;
  if (!audio->source_ || frameBytes <= 0) {
    std::memset(stream, 0, static_cast<std::size_t>(len));
    return;
  }
  audio->source_(audio->user_, reinterpret_cast<float*>(stream), len / frameBytes);
}

}  // namespace sl::sdl
