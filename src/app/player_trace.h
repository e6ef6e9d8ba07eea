// What the player does, written to the run's trace: frame openings, transitions, the sound
// players' plays, stops and volume changes, media command strings, video starts and ends, and
// the `state` record of `dump`.
#pragma once

#include "backend/headless/trace.h"
#include "player/player.h"

namespace sl {

class PlayerTrace final : public SoundObserver, public GameObserver, public MediaObserver {
 public:
  // Registers itself with `player` and as the trace's state provider.
  PlayerTrace(Trace& trace, Player& player);
  ~PlayerTrace() override;
  PlayerTrace(const PlayerTrace&) = delete;
  PlayerTrace& operator=(const PlayerTrace&) = delete;

  void SoundPlayed(int player, const std::string& file, int count, int volume) override;
  void SoundStopped(int player) override;
  void SoundVolumeChanged(int player, int volume) override;
  void SoundEnded(int player) override;
  void FrameHeaderLoaded(const std::string& name) override;
  void MciCommandSent(const std::string& command) override;
  void VideoStarted(const VideoRecord& video) override;
  void VideoEnded(const VideoRecord& video) override;
  void TransitionStarted(int number, double durationSeconds) override;
  void TransitionEnded(int number, double durationSeconds, std::int64_t startMs, std::int64_t endMs,
                       bool interrupted) override;

 private:
  JsonObject StateRecord();
  std::string RealPath(const std::string& projectPath);
  void Video(VideoOp op, const VideoRecord& video);

  Trace& trace_;
  Player& player_;
};

}  // namespace sl
