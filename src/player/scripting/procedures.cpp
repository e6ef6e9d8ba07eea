// Reading and unscrambling the project's procedures.
#include "player/scripting/procedures.h"

#include <array>
#include <limits>

#include "core/ini_file.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/text_encoding.h"
#include "core/variant_convert.h"
#include "player/startup/project.h"

namespace sl {

namespace {

constexpr std::string_view kKeyText = "kapuzimorbelfawintoqs";
constexpr int kHeaderLines = 3;
constexpr int kFirstPrintable = 32;
constexpr int kLastPrintable = 126;
constexpr int kPrintableCount = 94;

// K[j]: the key text's letter codes less 32.
const std::array<int, kKeyText.size()>& KeyTable() {
  static const std::array<int, kKeyText.size()> table = [] {
    std::array<int, kKeyText.size()> t{};
    for (std::size_t j = 0; j < kKeyText.size(); ++j)
      t[j] = static_cast<unsigned char>(kKeyText[j]) - kFirstPrintable;
    return t;
  }();
  return table;
}

// The file's lines as `Line Input` reads them: a line ends at CR LF, a lone CR or a lone LF; a
// line end at the very end of the file does not start another line.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
  bool Eof() const { return pos_ >= bytes_.size(); }
  std::string_view ReadLine() {
    if (Eof()) throw RuntimeError(kErrInputPastEnd);
    std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n')
      ++pos_;
    std::string_view line = bytes_.substr(start, pos_ - start);
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') {
      ++pos_;
      if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    } else if (pos_ < bytes_.size()) {
      ++pos_;  // a lone LF
    }
    return line;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

bool Scrambled(Project& project) {
  std::string flag = ReadProfileString(project.Paths(), project.Folders().ConfigFolder + "More",
                                       "General", "ProcEncr");
  return Val(flag) == 1;
}

}  // namespace

std::int32_t ProjectOffset(std::string_view projectName) {
  std::int64_t sum = 0;
  for (char c : Utf8ToWindows1252(projectName)) {
    sum += static_cast<unsigned char>(c);
    if (sum > std::numeric_limits<std::int32_t>::max()) throw RuntimeError(kErrOverflow);
  }
  return static_cast<std::int32_t>(sum);
}

std::string UnscrambleLine(std::string_view line, std::int32_t offset) {
  if (line.empty()) return {};
  const auto& key = KeyTable();
  const std::int64_t s = static_cast<unsigned char>(line[0]) - kFirstPrintable;
  const std::size_t n = line.size();
  std::string out;
  out.reserve(n - 1);
  // Read from the last character back to the second; the first only carries the offset.
  for (std::size_t i = 0; i + 1 < n; ++i) {
    int c = static_cast<unsigned char>(line[n - 1 - i]);
    if (c >= kFirstPrintable && c <= kLastPrintable) {
      std::int64_t shift = offset + (static_cast<std::int64_t>(i) + s) * key[i % key.size()];
      std::int64_t r = (c - shift - kFirstPrintable) % kPrintableCount;
      if (r < 0) r += kPrintableCount;
      c = static_cast<int>(r) + kFirstPrintable;
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string LoadProcedures(Project& project) {
  std::string text;
  try {
    std::int32_t offset = ProjectOffset(project.Info().ProjectName);
    bool scrambled = Scrambled(project);
    std::string path = project.Folders().ConfigFolder + "Procedures";
    if (!project.Paths().FileExists(path)) return {};
    std::string bytes = project.Paths().ReadFile(path);
    LineReader reader(bytes);
    for (int i = 0; i < kHeaderLines && !reader.Eof(); ++i)
      reader.ReadLine();
    // A file of the three header lines alone holds no procedures (rather than a failure).
    while (!reader.Eof()) {
      std::string_view line = reader.ReadLine();
      text += scrambled ? UnscrambleLine(line, offset) : std::string(line);
      if (reader.Eof()) break;
      text += "\r\n";
    }
  } catch (const RuntimeError&) {
    MessageBoxRequest box;
    box.title = "Error";
    box.text = "Error loading projet procedures.";
    box.icon = MsgIcon::Critical;
    project.Messages().Show(box);
    return {};
  }
  return Windows1252ToUtf8(text);
}

}  // namespace sl
