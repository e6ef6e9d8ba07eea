// The settings of one action record (a hotspot's action or an item's use on a hotspot), with
// the defaults that hold when an older, shorter record ends early.
#pragma once

#include <cstdint>
#include <string>

namespace sl {

struct ActionRecord {
  // A: variables, message, disappearance, end game, frame change.
  bool showMessage = false;
  std::string message;
  bool endGame = false;
  std::int16_t goToFrame = 0;
  std::string targetFrame;
  // B: sounds stopped at once, video.
  std::int16_t restartHotspotSound = 0;
  std::int16_t stopAllSounds = 0;
  std::int16_t playVideo = 0;
  std::string videoFile;
  bool videoOwnSize = false;
  bool videoInCutSceneArea = false;
  std::int16_t videoLeft = 0;
  std::int16_t videoTop = 0;
  std::int16_t videoWidth = 0;
  std::int16_t videoHeight = 0;
  // C: hotspot sound (channel 6) and one-shot sound (channel 7).
  bool stopOneShot = false;
  bool hotspotSoundOn = false;
  std::string hotspotSound;
  bool oneShotOn = false;
  std::string oneShotSound;
  // D, E: previous frame, message option.
  bool previousFrame = false;
  bool messageInGame = false;
  // G to J: sound loop, transition, procedure.
  bool loopHotspotSound = true;
  double transitionOn = 0;
  double transitionDurationMs = 0;
  bool runProcedure = false;
  std::string procedure;
  std::int16_t transitionNumber = 0;
};

}  // namespace sl
