// The settings of one action record (a hotspot's action or an item's use on a hotspot), with
// the defaults that hold when an older, shorter record ends early, and the reader of the record.
//
// API:
//   ActionRecord a;
//   bool endsGame = ReadActionRecord(reader, a, effects);   // reader after the record's header;
//                                                           // RuntimeError on a bad field
// Some settings take effect while the record is read (the procedure sees them): the reader
// tells `effects` of each in the order of the record.
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class DataFileReader;

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

// One line of an action record's sound-channel table.
struct ChannelLine {
  std::int16_t mode = 0;
  bool fade = false;
  bool loop = false;
  double volume = 0;
  std::string file;
};

// What reading an action record does as it goes; each does nothing unless overridden.
class ActionRecordEffects {
 public:
  virtual ~ActionRecordEffects() = default;
  // Sets (0 or 1) or inverts (-1) a variable.
  virtual void ChangeVariable(const std::string& /*name*/, std::int16_t /*value*/) {}
  // The hotspot disappears, or the item used on it is given up.
  virtual void Disappear() {}
  virtual void StopHotspotSound() {}
  virtual void StopAllSounds() {}
  virtual void SetFadeDuration(double /*seconds*/) {}
  // Channel `channel` (1 to 7) takes the line's settings.
  virtual void SetChannel(int /*channel*/, const ChannelLine& /*line*/) {}
  virtual void PickUp(const std::string& /*item*/) {}
};

// Reads the record after its header; returns true when the record ends the game (and stops
// there).
bool ReadActionRecord(DataFileReader& r, ActionRecord& a, ActionRecordEffects& effects);

}  // namespace sl
