// libFuzzer target for the script engine (built with -DSTORYLOOM_FUZZ=ON and clang).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/fuzz/run_untrusted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sl::vbs::RunUntrustedScript(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
