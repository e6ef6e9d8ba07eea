// Creating, loading and removing the animated pictures of a frame.
#include "player/effects/animated_pictures.h"

#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/animated_picture.h"
#include "ui/controls/picture_box.h"
#include "ui/draw/picture_cache.h"
#include "ui/form.h"

namespace sl {

AnimatedPictures::AnimatedPictures(Project& project, draw::PictureCache& pictures)
    : project_(project), pictures_(pictures) {}

void AnimatedPictures::Attach(Game& game) {
  game_ = &game;
  // Holder boxes show the frame through the transparent parts of their pictures.
  if (auto* box = dynamic_cast<ui::PictureBox*>(Array("AniGifBox").Find(0))) {
    box->SetBorderStyle(0);
    box->SetOpaqueBackground(false);
  }
  // A player found by a script's FileName reads only files of the game's folders.
  if (auto* gif = dynamic_cast<ui::AnimatedPicture*>(Array("AniGif").Find(0))) {
    gif->SetLoader([this](const std::string& file) {
      std::optional<std::string> real = project_.Paths().Find(file);
      if (!real) throw RuntimeError(kErrFileNotFound);
      return pictures_.Load(*real);
    });
    // The holder box takes the clicks: a disabled control passes the mouse to its container.
    gif->SetEnabled(false);
  }
}

ui::ControlArray& AnimatedPictures::Array(const char* name) {
  ui::ControlArray* a = game_->Form().FindArray(name);
  if (!a) throw RuntimeError(kErrNoArrayElement);
  return *a;
}

ui::AnimatedPicture* AnimatedPictures::Player(int index) {
  if (!game_) return nullptr;
  ui::ControlArray* a = game_->Form().FindArray("AniGif");
  return a ? dynamic_cast<ui::AnimatedPicture*>(a->Find(index)) : nullptr;
}

const draw::Surface* AnimatedPictures::FirstImage(int index) {
  ui::AnimatedPicture* gif = Player(index);
  if (!gif || gif->Picture().IsNone()) return nullptr;
  return &gif->FirstImage();
}

int AnimatedPictures::AniGifNewWithIndex(int NewIndex, const std::string& FileName, double left,
                                         double top, int Speed) {
  if (!game_ || FileName.empty() || NewIndex <= 0) return 0;
  ui::Control& box = Array("AniGifBox").Load(NewIndex);
  ui::Control& gif = Array("AniGif").Load(NewIndex);
  gif.SetContainer(&box);
  box.Move(left, top, box.Width(), box.Height());
  box.ZOrder(0);
  AniGifUpdate(NewIndex, FileName, Speed);
  return NewIndex;
}

void AnimatedPictures::AniGifUpdate(int NewIndex, const std::string& FileName, int Speed) {
  if (!game_ || game_->GameStopping()) return;
  if (FileName.empty()) {
    ui::ControlArray& gifs = Array("AniGif");
    if (gifs.Exists(NewIndex)) gifs.Unload(NewIndex);
    ui::ControlArray& boxes = Array("AniGifBox");
    if (boxes.Exists(NewIndex)) boxes.Unload(NewIndex);
    return;
  }
  if (!project_.Paths().FileExists(FileName)) return;
  try {
    auto& gif = static_cast<ui::AnimatedPicture&>(Array("AniGif").Item(NewIndex));
    ui::Control& box = Array("AniGifBox").Item(NewIndex);
    std::optional<std::string> real = project_.Paths().Find(FileName);
    if (!real) return;
    gif.SetPicture(pictures_.Load(*real), FileName);
    gif.Move(0, 0, gif.Width(), gif.Height());
    gif.SetSpeed(Speed < 1 ? kDefaultSpeed : Speed);
    gif.Play();
    gif.SetVisible(true);
    box.Move(box.Left(), box.Top(), gif.Width(), gif.Height());
    // The keyboard stays with the game window: neither control of the pair takes the focus.
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to load '" + FileName + "'.");
  }
}

void AnimatedPictures::AniGifPlay(int index) {
  if (ui::AnimatedPicture* gif = Player(index)) gif->Play();
}

void AnimatedPictures::AniGifStop(int index) {
  if (ui::AnimatedPicture* gif = Player(index)) gif->Stop();
}

}  // namespace sl
