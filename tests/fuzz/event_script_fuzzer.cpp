// libFuzzer target: the headless event script. The input is parsed as a script; a script that
// parses is played by the headless platform against an empty window runtime (no game), which
// must end it by itself: every command handled, the clock moved, no overflow, no hang.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "backend/headless/event_script.h"
#include "backend/headless/headless_platform.h"
#include "backend/headless/script_input.h"
#include "backend/headless/trace.h"
#include "ui/fake_platform.h"
#include "ui/window_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<sl::ScriptCommand> commands;
  try {
    commands = sl::ParseEventScript(text, "fuzz");
  } catch (const sl::EventScriptError&) {
    return 0;
  }
  // Screenshots would write files wherever the input says; the parse is all they need here.
  std::erase_if(commands, [](const sl::ScriptCommand& c) {
    return c.kind == sl::ScriptCommandKind::Screenshot;
  });
  for (const sl::ScriptCommand& command : commands)
    sl::InputEventsFor(command);
  sl::Trace trace;
  sl::ui::test::FakeSettings settings;
  sl::HeadlessPlatform platform(trace, settings);
  platform.SetWarningHandler([](const std::string&) {});
  platform.SetScript(std::move(commands), "fuzz");
  sl::ui::WindowManager windows(platform);
  sl::ui::EventLoop& loop = windows.Loop();
  windows.onQuit = [&loop] { loop.RequestQuit(); };
  windows.onInputError = [&](const std::string& message) {
    platform.ReportInputError(message);
    loop.RequestQuit();
  };
  platform.SetGiveUpHandler([&loop] { loop.RequestQuit(); });
  try {
    while (!loop.QuitRequested())
      loop.WaitEvents();
  } catch (const std::runtime_error&) {
    // "waits for nothing after its event script ended": the run's own way to end
  }
  return 0;
}
