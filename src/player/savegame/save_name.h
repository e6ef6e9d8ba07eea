// The names of saved games. A name is the file name of its saved game without ".sav", so it may
// not hold the ten characters " \ / : * ? < > | , (as the classic player refused them), nor
// control characters, nor be longer than a file name can be: such a name never reaches the
// file system and can never point outside the folder of saved games.
//
// API:
//   CheckSaveName("Before the door")  -> SaveNameCheck::Accepted
//   CheckSaveName("a/b")              -> SaveNameCheck::RefusedCharacter
//   IsListableSaveName(fileStem)      -> whether a file found in a folder may be listed
//   SafeFolderName(ProjectName)       -> the project name made fit to name a folder
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sl {

enum class SaveNameCheck { Accepted, RefusedCharacter, Empty };

// The refused characters as messages list them.
inline constexpr const char* kRefusedCharacterList = "\" \\ / : * ? < > | ,";
// The longest name in bytes (UTF-8): a file name holds 255, less ".sav" and the room the
// temporary file of an all-or-nothing write needs beside it.
inline constexpr std::size_t kMaxSaveNameBytes = 240;

SaveNameCheck CheckSaveName(std::string_view name);
bool IsListableSaveName(std::string_view name);
std::string SafeFolderName(std::string_view projectName);

}  // namespace sl
