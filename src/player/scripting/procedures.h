// The project's procedures: the text of VBScript subs and functions that every script of the
// game can call, read once per game reset from "Config\Procedures" (three header lines, then the
// procedure lines). The editor may store the lines scrambled ("ProcEncr=1" in section General of
// "Config\More"): each line then carries a key offset in its first character and the rest of it
// reversed and shifted over the printable ASCII range by a key table and the project's offset
// (the sum of the character codes of the project name).
//
// API:
//   std::string text = LoadProcedures(project);     // lines joined by CR LF; "" without a file
//   UnscrambleLine(line, ProjectOffset("MyGame"));  // one stored line, Windows-1252 bytes
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sl {

class Project;

// The procedures text as UTF-8; a failure to read shows "Error loading projet procedures." and
// gives the empty text.
std::string LoadProcedures(Project& project);

// The sum of the Windows-1252 codes of the project name; RuntimeError 6 beyond 32 bits.
std::int32_t ProjectOffset(std::string_view projectName);

// The plain line of a scrambled one (both Windows-1252 bytes).
std::string UnscrambleLine(std::string_view line, std::int32_t offset);

}  // namespace sl
