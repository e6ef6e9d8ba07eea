// MediaPlayerControl: a sound player of the game window as scripts see it, an element of the
// invisible `MPlayer` control array. Element n (1 to 7) stands for sound player n: FileName,
// PlayCount, Volume, PlayState, Play and Stop act on that player, so a script that reaches the
// game window (WindowObject) starts, changes and stops the same sounds the channel table does.
// Other elements (the template 0, elements a script loads) stand for no player: they keep what
// a script sets and never sound.
//
// API:
//   auto& players = form.AddArray<MediaPlayerControl>("MPlayer", container);
//   static_cast<MediaPlayerControl&>(players.Load(3)).Bind(&game.MPlayer()(3));
#pragma once

#include <cstdint>
#include <string>

#include "core/dispatch_table.h"
#include "ui/control.h"

namespace sl {

class MediaPlayer;

class MediaPlayerControl final : public ui::ControlBase<MediaPlayerControl> {
 public:
  MediaPlayerControl(ui::Form* form, std::string name);

  // The sound player this element stands for; null for none.
  void Bind(MediaPlayer* player) { player_ = player; }
  MediaPlayer* Bound() const { return player_; }

  std::string FileName() const;
  void SetFileName(std::string file);
  std::int32_t PlayCount() const;
  void SetPlayCount(std::int32_t count);
  std::int32_t Volume() const;
  void SetVolume(std::int32_t volume);
  std::int32_t PlayState() const;
  void Play();
  void Stop();

  bool IsWindowed() const override { return false; }
  void Paint(draw::Surface&, draw::Point) override {}
  static const DispatchTable<MediaPlayerControl>& Members();

 protected:
  Ref<ui::Control> NewOfSameKind() const override;

 private:
  MediaPlayer* player_ = nullptr;
  // What an element without a player keeps.
  std::string fileName_;
  std::int32_t playCount_ = 1;
  std::int32_t volume_ = 0;
};

}  // namespace sl
