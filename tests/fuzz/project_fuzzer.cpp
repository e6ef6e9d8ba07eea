// libFuzzer target: the project loader as a whole. The input is a project bundle (see
// project_bundle.h: General, Texts, Variables, More, frame files, hotspot, action and text-box
// files, items, combinations, channel files); the player plays it headless with a fixed walk
// (Start, clicks over the frame, a drag, the keys and menus), answering every message with its
// default. Whatever the project holds, the player must report errors, never crash or hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "backend/headless/answering_message_boxes.h"
#include "backend/headless/event_script.h"
#include "backend/headless/headless_platform.h"
#include "backend/headless/trace.h"
#include "fuzz/project_bundle.h"
#include "player/player.h"
#include "ui/fake_platform.h"
#include "ui/standard_dialogs.h"

namespace {

// The walk every project is played with.
constexpr std::string_view kWalk =
    "control lblButton(0)\n"
    "wait 50\n"
    "click 20 20\nwait 30\nclick 100 60\nwait 30\nclick 160 120\nwait 30\nclick 300 200\n"
    "wait 30\nclick 60 200\nwait 30\nclick 250 50\nwait 30\nclick 20 20 right\nwait 30\n"
    "drag 20 460 160 120\nwait 500\n"
    "key Esc\nwait 10\nkey Esc\nmenu mnuFrameName(1)\nwait 2500\n"
    "dump\nkey q ctrl\nanswer yes\nwait 100\n";

// This process's project folder, on a memory file system when there is one.
const std::string& ProjectFolder() {
  static const std::string folder = [] {
    std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    return (base / ("storyloom-project-fuzz-" + std::to_string(getpid()))).string();
  }();
  return folder;
}

// Message boxes before the window runtime exists are answered by the platform; after, the
// runtime's own dialogs ask it too (as a headless run does).
class Messages final : public sl::MessageBoxService {
 public:
  explicit Messages(sl::ui::Platform& platform) : early_(platform) {}
  void UseDialogs(sl::ui::WindowManager& windows) { dialogs_.emplace(windows); }
  sl::MsgAnswer Show(const sl::MessageBoxRequest& request) override {
    return dialogs_ ? dialogs_->Show(request) : early_.Show(request);
  }

 private:
  sl::AnsweringMessageBoxService early_;
  std::optional<sl::ui::StandardDialogs> dialogs_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bundle(reinterpret_cast<const char*>(data), size);
  if (!sl::fuzz::WriteBundle(bundle, ProjectFolder())) return 0;
  sl::Trace trace;
  sl::ui::test::FakeSettings settings;
  sl::HeadlessPlatform platform(trace, settings);
  platform.SetWarningHandler([](const std::string&) {});
  platform.SetScript(sl::ParseEventScript(kWalk, "walk"), "walk");
  Messages messages(platform);
  sl::Player player(platform, messages, ProjectFolder());
  messages.UseDialogs(player.Windows());
  sl::ui::EventLoop& loop = player.Windows().Loop();
  platform.SetGiveUpHandler([&loop] { loop.RequestQuit(); });
  player.Windows().onInputError = [](const std::string&) {};  // the walk misses now and then
  try {
    player.Run();
  } catch (const std::runtime_error&) {
    // "waits for nothing after its event script ended": the headless run's own way to end
  }
  return 0;
}
