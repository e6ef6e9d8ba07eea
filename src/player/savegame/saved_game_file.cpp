// Writing and reading the saved-game file.
#include "player/savegame/saved_game_file.h"

#include <algorithm>
#include <cstdio>

#include "core/data_file_reader.h"
#include "core/data_file_writer.h"
#include "core/variant_convert.h"

namespace sl {

namespace {

// The informational lines between the history and the variant variables: three empty strings,
// project name, game title, date, version.
constexpr int kInformationLines = 7;
constexpr int kEmptyInformationLines = 3;
// A count larger than any file could fill; the reading fails at the file's end long before.
constexpr double kCountCeiling = 1e15;

std::string DateOfSaving(const CivilTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.month, t.day, t.year);
  return text;
}

template <class List>
void WriteCount(DataFileWriter& w, const List& list) {
  w.Integer(static_cast<std::int32_t>(list.size())).EndLine();
}

void WriteNamedIntegers(DataFileWriter& w,
                        const std::vector<std::pair<std::string, std::int16_t>>& list) {
  WriteCount(w, list);
  for (const auto& [name, value] : list) {
    w.String(name).EndLine();
    w.Integer(value).EndLine();
  }
}

void WriteNames(DataFileWriter& w, const std::vector<std::string>& names) {
  WriteCount(w, names);
  for (const std::string& name : names)
    w.String(name).EndLine();
}

// A variant by its type; a Double with the digits it needs to come back exactly.
void WriteValue(DataFileWriter& w, const Variant& value) {
  if (value.Type() == VarType::Double) {
    w.ExactNumber(ToDouble(value));
  } else {
    w.Value(value);
  }
}

// A count written before a list and read back as a variant: the list runs from 1 to it.
std::int64_t ReadCount(DataFileReader& r) {
  double count = ToDouble(r.ReadVariant());
  if (!(count >= 1)) return 0;
  return static_cast<std::int64_t>(std::min(count, kCountCeiling));
}

void ReadNamedIntegers(DataFileReader& r, std::int64_t count,
                       std::vector<std::pair<std::string, std::int16_t>>& list) {
  for (std::int64_t i = 1; i <= count; ++i) {
    std::string name = r.ReadString();
    std::int16_t value = r.ReadInteger();
    list.emplace_back(std::move(name), value);
  }
}

void ReadNames(DataFileReader& r, std::vector<std::string>& names) {
  std::int64_t count = ReadCount(r);
  for (std::int64_t i = 1; i <= count; ++i)
    names.push_back(r.ReadString());
}

void ReadVariants(DataFileReader& r, std::vector<std::pair<std::string, Variant>>& list) {
  std::int64_t count = ReadCount(r);
  for (std::int64_t i = 1; i <= count; ++i) {
    std::string name = r.ReadString();
    Variant value = r.ReadVariant();
    list.emplace_back(std::move(name), std::move(value));
  }
}

}  // namespace

std::string WriteSavedGame(const SavedGame& game, const SavedGameInformation& information) {
  DataFileWriter w;
  w.String(game.frame).EndLine();
  WriteNamedIntegers(w, game.variables);
  WriteNamedIntegers(w, game.disappeared);
  WriteNames(w, game.inventory);
  WriteNames(w, game.history);
  for (int i = 0; i < kEmptyInformationLines; ++i)
    w.String("").EndLine();
  w.String(information.projectName).EndLine();
  w.String(information.gameTitle).EndLine();
  w.String(DateOfSaving(information.savedAt)).EndLine();
  w.String(kSavedGameVersion).EndLine();
  WriteCount(w, game.variants);
  for (const auto& [name, value] : game.variants) {
    w.String(name).EndLine();
    WriteValue(w, value);
    w.EndLine();
  }
  return w.Bytes();
}

SavedGame ReadSavedGame(std::string bytes) {
  DataFileReader r(std::move(bytes));
  SavedGame game;
  game.frame = r.ReadString();
  // The integer variables' count is a 16-bit integer; the other counts are read as variants.
  ReadNamedIntegers(r, r.ReadInteger(), game.variables);
  ReadNamedIntegers(r, ReadCount(r), game.disappeared);
  ReadNames(r, game.inventory);
  game.sections = SavedGameSections::UpToInventory;
  if (r.Eof()) return game;
  ReadNames(r, game.history);
  game.sections = SavedGameSections::UpToHistory;
  if (r.Eof()) return game;
  r.Skip(kInformationLines);
  game.sections = SavedGameSections::UpToInformation;
  if (r.Eof()) return game;
  ReadVariants(r, game.variants);
  game.sections = SavedGameSections::All;
  return game;
}

}  // namespace sl
