// Trace records of the player.
#include "app/player_trace.h"

namespace sl {

namespace {

JsonArray Strings(const std::vector<std::string>& values) {
  JsonArray a;
  for (const std::string& v : values)
    a.emplace_back(v);
  return a;
}

}  // namespace

PlayerTrace::PlayerTrace(Trace& trace, Player& player) : trace_(trace), player_(player) {
  player_.SetSoundObserver(this);
  player_.SetGameObserver(this);
  trace_.SetStateProvider([this] { return StateRecord(); });
}

PlayerTrace::~PlayerTrace() {
  trace_.SetStateProvider(nullptr);
  player_.SetSoundObserver(nullptr);
  player_.SetGameObserver(nullptr);
}

std::string PlayerTrace::RealPath(const std::string& projectPath) {
  std::optional<std::string> real = player_.GetProject().Paths().Find(projectPath);
  return real ? *real : projectPath;
}

void PlayerTrace::SoundPlayed(int player, const std::string& file, int count, int volume) {
  trace_.SoundPlay(player, RealPath(file), count, volume);
}

void PlayerTrace::SoundStopped(int player) {
  trace_.SoundStop(player);
}

void PlayerTrace::SoundVolumeChanged(int player, int volume) {
  trace_.SoundVolume(player, volume);
}

void PlayerTrace::FrameHeaderLoaded(const std::string& name) {
  trace_.Frame(name);
}

JsonObject PlayerTrace::StateRecord() {
  PlayerState s = player_.State();
  JsonObject o;
  o.emplace_back("frame", s.frame);
  o.emplace_back("history", Strings(s.history));
  o.emplace_back("variables", JsonArray{});
  o.emplace_back("variants", JsonArray{});
  o.emplace_back("inventory", Strings(s.inventory));
  o.emplace_back("disappeared", JsonArray{});
  o.emplace_back("hotspots", JsonArray{});
  o.emplace_back("texts", JsonArray{});
  o.emplace_back("message", s.message ? JsonValue(*s.message) : JsonValue());
  o.emplace_back("menus", s.menus);
  o.emplace_back("frame_timer", JsonObject{{"enabled", s.frameTimerEnabled},
                                           {"interval", s.frameTimerInterval},
                                           {"target", s.frameTimerTarget}});
  o.emplace_back("timed_events", JsonArray{});
  return o;
}

}  // namespace sl
