// Animated pictures of the frame: for an animated hotspot (or a script) a pair of controls of
// the game window with one index, the holder box (`AniGifBox`, which takes the clicks and the
// pointer) and the animated-GIF player inside it (`AniGif`), created, loaded, restarted and
// removed here.
//
// API:
//   AnimatedPictures gifs(project, pictures);
//   gifs.Attach(game);
//   int k = gifs.AniGifNewWithIndex(3, "Areas\\Gull.gif", 1500, 900, 0);   // twips; 0 = speed 50
//   gifs.AniGifStop(k); gifs.AniGifPlay(k);                               // from the first image
//   gifs.AniGifUpdate(k, "", 0);                                            // removes the pair
#pragma once

#include <string>

namespace sl {

class Game;
class Project;
namespace draw {
class PictureCache;
class Surface;
}  // namespace draw
namespace ui {
class AnimatedPicture;
class ControlArray;
}  // namespace ui

class AnimatedPictures {
 public:
  static constexpr int kDefaultSpeed = 50;

  AnimatedPictures(Project& project, draw::PictureCache& pictures);

  void Attach(Game& game);

  // Creates pair `NewIndex` at (left, top) and shows `FileName`; returns `NewIndex`, or 0 when
  // the name is empty or the index is not positive.
  int AniGifNewWithIndex(int NewIndex, const std::string& FileName, double left, double top,
                         int Speed);
  // Loads `FileName` into pair `NewIndex` and starts it, or removes the pair for an empty name;
  // a file that does not exist changes nothing.
  void AniGifUpdate(int NewIndex, const std::string& FileName, int Speed);
  void AniGifPlay(int index);
  void AniGifStop(int index);
  // The player of pair `index`, or null.
  ui::AnimatedPicture* Player(int index);
  // Its first image, or null when it has no picture.
  const draw::Surface* FirstImage(int index);

 private:
  ui::ControlArray& Array(const char* name);

  Project& project_;
  draw::PictureCache& pictures_;
  Game* game_ = nullptr;
};

}  // namespace sl
