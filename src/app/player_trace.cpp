// Trace records of the player.
#include "app/player_trace.h"

#include "core/runtime_error.h"
#include "core/variant_convert.h"

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
  player_.Video().SetObserver(this);
  trace_.SetStateProvider([this] { return StateRecord(); });
}

PlayerTrace::~PlayerTrace() {
  trace_.SetStateProvider(nullptr);
  player_.Video().SetObserver(nullptr);
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

void PlayerTrace::SoundEnded(int player) {
  trace_.SoundEnd(player);
}

void PlayerTrace::FrameHeaderLoaded(const std::string& name) {
  trace_.Frame(name);
}

void PlayerTrace::MciCommandSent(const std::string& command) {
  trace_.Mci(command);
}

void PlayerTrace::VideoStarted(const VideoRecord& video) {
  Video(VideoOp::Start, video);
}

void PlayerTrace::VideoEnded(const VideoRecord& video) {
  Video(VideoOp::End, video);
}

void PlayerTrace::Video(VideoOp op, const VideoRecord& video) {
  VideoTarget target =
      video.target == "CutSceneArea" ? VideoTarget::CutSceneArea : VideoTarget::PictureBox;
  trace_.Video(op, video.file, target, video.stretched,
               {video.rect.x, video.rect.y, video.rect.width, video.rect.height},
               static_cast<double>(video.durationMs) / 1000.0);
}

void PlayerTrace::TransitionStarted(int number, double durationSeconds) {
  trace_.Transition(number, durationSeconds, player_.Windows().Loop().NowMs());
}

void PlayerTrace::TransitionEnded(int number, double durationSeconds, std::int64_t startMs,
                                  std::int64_t endMs, bool interrupted) {
  trace_.TransitionEnd(number, durationSeconds, startMs, endMs, interrupted);
}

namespace {

// A variant variable's value as the trace shows it: numbers as numbers, Empty and Null as null.
JsonValue VariantJson(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null:
      return JsonValue();
    case VarType::Boolean:
      return JsonValue(ToBoolean(v));
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
      return JsonValue(static_cast<std::int64_t>(ToLong(v)));
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return JsonValue(ToDouble(v));
    default:
      try {
        return JsonValue(ToUtf8(v));
      } catch (const RuntimeError&) {
        return JsonValue();
      }
  }
}

}  // namespace

JsonObject PlayerTrace::StateRecord() {
  PlayerState s = player_.State();
  JsonObject o;
  o.emplace_back("frame", s.frame);
  o.emplace_back("history", Strings(s.history));
  JsonArray variables;
  for (const auto& [name, value] : s.variables)
    variables.push_back(JsonArray{JsonValue(name), JsonValue(value)});
  o.emplace_back("variables", std::move(variables));
  JsonArray variants;
  for (const auto& [name, value] : s.variants)
    variants.push_back(JsonArray{JsonValue(name), VariantJson(value)});
  o.emplace_back("variants", std::move(variants));
  o.emplace_back("inventory", Strings(s.inventory));
  JsonArray disappeared;
  for (const auto& [frame, number] : s.disappeared)
    disappeared.push_back(JsonArray{JsonValue(frame), JsonValue(number)});
  o.emplace_back("disappeared", std::move(disappeared));
  JsonArray hotspots;
  for (const HotspotState& h : s.hotspots) {
    hotspots.push_back(JsonObject{{"n", h.n},
                                  {"visible", h.visible},
                                  {"rect", JsonArray{JsonValue(h.rect[0]), JsonValue(h.rect[1]),
                                                     JsonValue(h.rect[2]), JsonValue(h.rect[3])}}});
  }
  o.emplace_back("hotspots", std::move(hotspots));
  JsonArray texts;
  for (const TextBoxState& t : s.texts)
    texts.push_back(JsonObject{{"n", t.n}, {"text", t.text}, {"visible", t.visible}});
  o.emplace_back("texts", std::move(texts));
  o.emplace_back("message", s.message ? JsonValue(*s.message) : JsonValue());
  o.emplace_back("menus", s.menus);
  o.emplace_back("frame_timer", JsonObject{{"enabled", s.frameTimerEnabled},
                                           {"interval", s.frameTimerInterval},
                                           {"target", s.frameTimerTarget}});
  o.emplace_back("timed_events", JsonArray{});
  return o;
}

}  // namespace sl
