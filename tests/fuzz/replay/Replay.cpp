// A plain main for a fuzz target, so that its seeds run in the ordinary
// sanitizer build without libFuzzer: every file named on the command line,
// and every file inside a directory named there, goes once through the
// target's entry point, in name order so that runs repeat. A target reports
// a fault by aborting; the input's name is printed first, so the log says
// which input it was.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" [[gnu::weak]] int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (fs::is_directory(argv[i], ec)) {
      for (const auto& entry : fs::directory_iterator(argv[i]))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  // No inputs would pass without having tested anything.
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 2;
  }
  // Read before the target sets itself up: it may confine what the process can see.
  std::vector<std::vector<char>> bytes;
  for (const fs::path& p : inputs) {
    std::ifstream f(p, std::ios::binary);
    if (!f) {
      std::fprintf(stderr, "cannot read %s\n", p.c_str());
      return 2;
    }
    bytes.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (size_t i = 0; i < inputs.size(); ++i) {
    std::fprintf(stderr, "%s\n", inputs[i].c_str());
    // A buffer of exactly the input's size, as the fuzzer gives it, so that
    // a read past the end is a heap overflow and not a neighbour's byte.
    const size_t n = bytes[i].size();
    std::unique_ptr<uint8_t[]> data(new uint8_t[n]);
    std::copy(bytes[i].begin(), bytes[i].end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), n);
  }
  std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
  return 0;
}
