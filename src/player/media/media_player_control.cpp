// The script face of the sound players.
#include "player/media/media_player_control.h"

#include "player/media/media_player.h"
#include "ui/control_members.h"

namespace sl {

MediaPlayerControl::MediaPlayerControl(ui::Form* form, std::string name)
    : ui::ControlBase<MediaPlayerControl>(form, ui::ControlKind::MediaPlayer, std::move(name)) {}

Ref<ui::Control> MediaPlayerControl::NewOfSameKind() const {
  return Ref<ui::Control>(new MediaPlayerControl(GetForm(), Name()));
}

std::string MediaPlayerControl::FileName() const {
  return player_ ? player_->FileName() : fileName_;
}

void MediaPlayerControl::SetFileName(std::string file) {
  if (player_) {
    player_->SetFileName(std::move(file));
  } else {
    fileName_ = std::move(file);
  }
}

std::int32_t MediaPlayerControl::PlayCount() const {
  return player_ ? player_->PlayCount() : playCount_;
}

void MediaPlayerControl::SetPlayCount(std::int32_t count) {
  if (player_) {
    player_->SetPlayCount(count);
  } else {
    playCount_ = count;
  }
}

std::int32_t MediaPlayerControl::Volume() const {
  return player_ ? player_->Volume() : volume_;
}

void MediaPlayerControl::SetVolume(std::int32_t volume) {
  if (player_) {
    player_->SetVolume(volume);
  } else {
    volume_ = volume;
  }
}

std::int32_t MediaPlayerControl::PlayState() const {
  return player_ ? player_->PlayState() : kPlayStateStopped;
}

void MediaPlayerControl::Play() {
  if (player_) player_->Play();
}

void MediaPlayerControl::Stop() {
  if (player_) player_->Stop();
}

const DispatchTable<MediaPlayerControl>& MediaPlayerControl::Members() {
  static const DispatchTable<MediaPlayerControl> table = [] {
    using C = MediaPlayerControl;
    DispatchTable<C> t;
    ui::AddCommonMembers(t);
    t.Property(
        "FileName", [](C& c) { return ui::Str(c.FileName()); },
        [](C& c, const Variant& v) { c.SetFileName(ToUtf8(v)); });
    t.Property(
        "PlayCount", [](C& c) { return ui::Long(c.PlayCount()); },
        [](C& c, const Variant& v) { c.SetPlayCount(ToLong(v)); });
    t.Property(
        "Volume", [](C& c) { return ui::Long(c.Volume()); },
        [](C& c, const Variant& v) { c.SetVolume(ToLong(v)); });
    t.Property("PlayState", [](C& c) { return ui::Long(c.PlayState()); });
    t.Function("Play", 0, 0, [](C& c, std::span<Variant>) {
      c.Play();
      return Variant();
    });
    t.Function("Stop", 0, 0, [](C& c, std::span<Variant>) {
      c.Stop();
      return Variant();
    });
    return t;
  }();
  return table;
}

}  // namespace sl
