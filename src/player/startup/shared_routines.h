// Small routines on paths and texts used throughout the player.
//
// API:
//   MapMediaExtension("Music.MP3")   -> "Music.012" (numbered media extensions; others unchanged)
//   FileNameOfPath("Frames\\a.jpg")  -> "a.jpg" (after the last '\' or '/')
//   NonNegative(-5)                  -> 0
//   UnescapeScriptText("say |hi|")   -> "say \"hi\"" (stored script text writes '"' as '|')
//   IsNoneOrDefault("Default")       -> true (a file name that means "none": "" or "default")
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sl {

std::string MapMediaExtension(std::string_view path);
std::string FileNameOfPath(std::string_view path);
std::int32_t NonNegative(std::int32_t n);
std::string UnescapeScriptText(std::string_view text);
bool IsNoneOrDefault(std::string_view name);

}  // namespace sl
