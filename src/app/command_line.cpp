// Parsing of the command line.
#include "app/command_line.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace sl {

namespace {

bool ParseInt(std::string_view text, std::int64_t& out) {
  if (text.empty()) return false;
  auto r = std::from_chars(text.data(), text.data() + text.size(), out);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool ParseScreen(std::string_view text, ScreenSize& out) {
  std::size_t x = text.find_first_of("xX");
  std::int64_t w = 0, h = 0;
  if (x == std::string_view::npos || !ParseInt(text.substr(0, x), w) ||
      !ParseInt(text.substr(x + 1), h)) {
    return false;
  }
  if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  out = {static_cast<int>(w), static_cast<int>(h)};
  return true;
}

bool Field(std::string_view text, std::size_t at, std::size_t len, int lo, int hi, int& out) {
  std::int64_t v = 0;
  if (at + len > text.size() || !ParseInt(text.substr(at, len), v) || v < lo || v > hi) {
    return false;
  }
  out = static_cast<int>(v);
  return true;
}

// YYYY-MM-DDTHH:MM:SS
bool ParseClock(std::string_view text, CivilTime& t) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  t = CivilTime{};
  if (!Field(text, 0, 4, 100, 9999, t.year) || !Field(text, 5, 2, 1, 12, t.month) ||
      !Field(text, 11, 2, 0, 23, t.hour) || !Field(text, 14, 2, 0, 59, t.minute) ||
      !Field(text, 17, 2, 0, 59, t.second)) {
    return false;
  }
  return Field(text, 8, 2, 1, DaysInMonth(t.year, t.month), t.day);
}

struct Parser {
  const std::vector<std::string>& args;
  std::size_t i = 0;
  CommandLineResult result;

  bool Fail(std::string message) {
    if (result.error.empty()) result.error = std::move(message);
    return false;
  }

  // The value of an option: after '=' or the next argument.
  bool Value(std::string_view name, std::optional<std::string_view> inlineValue, std::string& out) {
    if (inlineValue) {
      out = std::string(*inlineValue);
    } else if (i + 1 < args.size()) {
      out = args[++i];
    } else {
      return Fail("option " + std::string(name) + " needs a value");
    }
    if (out.empty()) return Fail("option " + std::string(name) + " needs a value");
    return true;
  }

  bool Option(std::string_view arg) {
    std::optional<std::string_view> inlineValue;
    std::string_view name = arg;
    if (std::size_t eq = arg.find('='); eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    CommandLineOptions& o = result.options;
    auto flag = [&](bool& target) {
      if (inlineValue) return Fail("option " + std::string(name) + " takes no value");
      target = true;
      return true;
    };
    std::string value;
    if (name == "--headless") return flag(o.headless);
    if (name == "--help" || name == "-h") return flag(o.help);
    if (name == "--version") return flag(o.version);
    if (name == "--mute") return flag(o.mute);
    if (name == "--check") return flag(o.check);
    if (name == "--fullscreen" || name == "--windowed") {
      bool chosen = false;
      if (!flag(chosen)) return false;
      o.fullscreen = name == "--fullscreen";
      return true;
    }
    if (name == "--scale") {
      if (!Value(name, inlineValue, value)) return false;
      o.scale = ui::ParseScaleMode(value);
      if (!o.scale) return Fail("--scale wants auto, pixel-perfect or smooth");
      return true;
    }
    if (name == "--soundfont") {
      if (!Value(name, inlineValue, value)) return false;
      o.soundFont = value;
      return true;
    }
    if (name == "--cd") {
      DriveFolder drive;
      if (!Value(name, inlineValue, value)) return false;
      if (!ParseDriveOption(value, drive))
        return Fail("--cd wants DIR or LETTER=DIR, LETTER from A to V");
      o.cdDrives.push_back(std::move(drive));
      return true;
    }
    if (name == "--events" || name == "--trace" || name == "--settings") {
      if (!Value(name, inlineValue, value)) return false;
      (name == "--events"  ? o.eventsFile
       : name == "--trace" ? o.traceFile
                           : o.settingsFile) = value;
      return true;
    }
    if (name == "--screen") {
      ScreenSize size;
      if (!Value(name, inlineValue, value)) return false;
      if (!ParseScreen(value, size)) return Fail("--screen wants WIDTHxHEIGHT, e.g. 1024x768");
      o.screen = size;
      return true;
    }
    if (name == "--clock") {
      CivilTime t;
      if (!Value(name, inlineValue, value)) return false;
      if (!ParseClock(value, t)) return Fail("--clock wants YYYY-MM-DDTHH:MM:SS");
      o.clock = t;
      return true;
    }
    if (name == "--seed") {
      std::int64_t seed = 0;
      if (!Value(name, inlineValue, value)) return false;
      if (!ParseInt(value, seed) || seed < -2147483648LL || seed > 4294967295LL) {
        return Fail("--seed wants a whole number");
      }
      o.seed = seed;
      return true;
    }
    return Fail("unknown option " + std::string(name));
  }

  void Run() {
    bool optionsEnded = false;
    for (; i < args.size(); ++i) {
      std::string_view arg = args[i];
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
      } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
        if (!Option(arg)) return;
      } else if (result.options.projectDir.empty() && !arg.empty()) {
        result.options.projectDir = std::string(arg);
      } else {
        Fail("only one project folder may be given (extra: " + std::string(arg) + ")");
        return;
      }
    }
    if (result.options.clock && !result.options.headless) Fail("--clock needs --headless");
  }
};

}  // namespace

CommandLineResult ParseCommandLine(const std::vector<std::string>& args) {
  Parser parser{args, 0, {}};
  parser.Run();
  return std::move(parser.result);
}

std::string Usage() {
  return "Usage: storyloom [OPTIONS] [PROJECT_DIR]\n"
         "Plays the Storyloom game in PROJECT_DIR. Without it: the game in the program's own\n"
         "folder, else the last game played.\n"
         "\n"
         "Options:\n"
         "  --check               check the game without playing it: one line per problem\n"
         "                        (missing frames, pictures, sounds, videos and cursors,\n"
         "                        records that do not read, script errors, undeclared names),\n"
         "                        then a summary; status 0 when clean, 1 with problems\n"
         "  --headless            no window and no sound; time passes only as the run needs\n"
         "  --events FILE         run the event script FILE\n"
         "  --trace FILE          write the trace to FILE ('-' = standard output)\n"
         "  --settings FILE       the per-user settings file\n"
         "                        (default: $XDG_CONFIG_HOME/storyloom/settings.ini)\n"
         "  --screen WxH          size of the display, e.g. 1024x768\n"
         "  --clock YYYY-MM-DDTHH:MM:SS\n"
         "                        headless only: date and time at the start of the run\n"
         "                        (default 2004-03-07T12:00:00)\n"
         "  --seed N              seed of the script engine's random numbers\n"
         "  --mute                no sound in this run (Ctrl+M mutes and unmutes while playing)\n"
         "  --soundfont FILE      the General MIDI sound font (.sf2) for MIDI music\n"
         "  --fullscreen          play the game window full screen (remembered for the game)\n"
         "  --windowed            play the game window in a window (remembered for the game)\n"
         "  --scale MODE          how pictures are scaled to the screen (remembered for the "
         "game):\n"
         "                        auto (whole factors where they fit well, sharp pixels),\n"
         "                        pixel-perfect (whole factors only, black borders) or\n"
         "                        smooth (exact fit, filtered)\n"
         "  --cd DIR, --cd L=DIR  a CD of a game on several CDs: a copied or mounted CD that\n"
         "                        drive letter L stands for (default: the next from D)\n"
         "  --help                show this text\n"
         "  --version             show the version\n"
         "\n"
         "Keys while playing:\n"
         "  Esc                   show or hide the menu bar; skip a video or transition;\n"
         "                        on the title screen, end the program\n"
         "  Ctrl+S, Ctrl+L        save the game, load a game\n"
         "  Ctrl+Q                end the game\n"
         "  Ctrl+M                mute and unmute all sound\n"
         "  F11, Alt+Enter        switch between full screen and a window (remembered)\n"
         "  F12                   save a screenshot (PNG) in $XDG_PICTURES_DIR/storyloom\n"
         "                        (or ~/Pictures/storyloom); the game says where it went\n"
         "  Y, N, Alt+letter      the buttons of message boxes and dialogs (underlined letter)\n"
         "\n"
         "Exit status:\n"
         "  0  the program ended normally (also right after a message that ends it);\n"
         "     with --check, no problems were found\n"
         "  1  a fatal error, or PROJECT_DIR is not a game; with --check, problems were found\n"
         "  2  a bad command line or event script, or no game to play\n";
}

CivilTime DefaultHeadlessClock() {
  return CivilTime{2004, 3, 7, 12, 0, 0, 0};
}

}  // namespace sl
