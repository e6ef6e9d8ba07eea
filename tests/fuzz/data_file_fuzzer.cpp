// libFuzzer target: the project data-file reader, and the readers of the project information
// ("General") and of a frame file's header. The first byte picks what reads the rest; typed
// reads take the kind of each read from the input itself. Every read must give a value or a
// run-time error, never crash, hang or take unbounded memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/data_file_reader.h"
#include "core/runtime_error.h"
#include "player/engine/frame_file.h"
#include "player/startup/project_information.h"
#include "support/typed_read.h"

namespace {

enum class Reading : std::uint8_t { Typed, ProjectInformation, FrameHeader, Count };

void TypedReads(sl::DataFileReader& r, const std::uint8_t* kinds, std::size_t count) {
  for (std::size_t k = 0; !r.Eof() && k < 4096; ++k) {
    try {
      sl::test::ReadOfKind(r, kinds[k % count]);
    } catch (const sl::RuntimeError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  auto reading = static_cast<Reading>(data[0] % static_cast<std::uint8_t>(Reading::Count));
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  sl::DataFileReader reader(bytes);
  try {
    switch (reading) {
      case Reading::Typed:
        TypedReads(reader, data, size);
        break;
      case Reading::ProjectInformation: {
        sl::ProjectInformation info;
        sl::SetProjectInformationDefaults(info);
        sl::ReadProjectInformation(reader, info);
        break;
      }
      case Reading::FrameHeader:
        sl::ReadFrameHeader(reader);
        break;
      case Reading::Count:
        break;
    }
  } catch (const sl::RuntimeError&) {
  }
  return 0;
}
