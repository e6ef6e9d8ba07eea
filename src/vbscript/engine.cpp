#include "vbscript/engine.h"

#include "vbscript/interpreter.h"

namespace sl::vbs {

int EngineHost::MessageBox(const std::string&, int, const std::string&) {
  return 1;
}

std::optional<std::string> EngineHost::InputBox(const std::string&, const std::string&,
                                                const std::string&) {
  return std::nullopt;
}

Ref<Object> EngineHost::CreateObject(std::string_view) {
  return nullptr;
}

Engine::Engine() : interp_(std::make_unique<Interpreter>()) {}

Engine::~Engine() = default;

void Engine::SetHost(EngineHost* host) {
  host_ = host;
  interp_->SetHost(host);
}

void Engine::SetClock(const Clock* clock) {
  clock_ = clock;
  if (clock) interp_->SetClock(clock);
}

void Engine::SetTimeLimit(std::int64_t milliseconds, const Clock* watchdog) {
  timeLimit_ = milliseconds;
  watchdog_ = watchdog;
  interp_->SetTimeLimit(milliseconds, watchdog);
}

void Engine::AddBlockedTime(std::int64_t milliseconds) {
  interp_->AddBlockedTime(milliseconds);
}

void Engine::SetMaxCallDepth(int depth) {
  maxDepth_ = depth;
  interp_->SetMaxCallDepth(depth);
}

void Engine::SetMemoryLimit(std::size_t bytes) {
  memoryLimit_ = bytes;
  interp_->SetMemoryLimit(bytes);
}

void Engine::AddCode(std::string_view code, std::string blockName) {
  interp_->AddCode(code, blockName);
}

std::vector<UndeclaredName> Engine::CheckCode(std::string_view code, std::string blockName,
                                              CheckedBlock keep) {
  return interp_->CheckCode(code, blockName, keep);
}

void Engine::AddObject(std::string name, Ref<Object> object, bool globalMembers) {
  interp_->AddObject(name, std::move(object), globalMembers);
}

Variant Engine::Run(std::string_view procedure, std::span<Variant> args) {
  return interp_->Run(procedure, args);
}

Variant Engine::Eval(std::string_view expression) {
  return interp_->EvalText(expression);
}

bool Engine::HasProcedure(std::string_view name) const {
  return interp_->HasProcedure(name);
}

void Engine::MarkBase() {
  interp_->MarkBase();
  hasBase_ = true;
}

void Engine::RestartFromBase() {
  if (!hasBase_) {
    Reset();
    return;
  }
  interp_->RestartFromBase();
}

void Engine::Reset() {
  hasBase_ = false;
  RandomState random = interp_->Random();
  interp_->Shutdown();
  interp_ = std::make_unique<Interpreter>();
  interp_->SetHost(host_);
  if (clock_) interp_->SetClock(clock_);
  interp_->SetTimeLimit(timeLimit_, watchdog_);
  if (maxDepth_ > 0) interp_->SetMaxCallDepth(maxDepth_);
  interp_->SetMemoryLimit(memoryLimit_);
  interp_->Random() = random;
}

RandomState& Engine::Random() {
  return interp_->Random();
}

}  // namespace sl::vbs
