#include "bench_file_content.h"

#include <algorithm>
#include <cmath>

#include "seeded_random.h"

namespace {

constexpr size_t kBlockSize = 4096;

const char* const kWords[] = {
    "kestrel", "marlin", "approach", "tower", "ground", "departure", "center", "runway",
    "heading", "altitude", "squawk", "transponder", "frequency", "contact", "cleared", "taxi",
    "hold", "short", "line", "up", "wait", "climb", "descend", "maintain", "flight", "level",
    "direct", "via", "route", "airway", "vector", "speed", "knots", "reduce", "increase", "report",
    "established", "localizer", "glideslope", "visual", "ils", "vor", "ndb", "fix", "waypoint",
    "[fltsim.0]", "title=", "sim=", "model=", "panel=", "sound=", "texture=", "atc_id=",
    "atc_airline=", "atc_flight_number=", "ui_manufacturer=", "ui_type=", "ui_variation=",
    "description=", "0", "1", "250", "3000", "FL350"};
constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];

void appendNoise(SeededRandom& random, size_t length, std::string& out) {
  for (size_t i = 0; i < length; i += 8) {
    uint64_t value = random.next();
    for (size_t j = 0; j < 8 && i + j < length; ++j, value >>= 8) out += static_cast<char>(value);
  }
}

// Words and short lines, as configuration files and documents have.
void appendText(SeededRandom& random, size_t length, std::string& out) {
  const size_t end = out.size() + length;
  while (out.size() < end) {
    std::string line;
    for (uint32_t words = random.between(2, 9); words > 0; --words) {
      line += kWords[random.next() % kWordCount];
      line += words > 1 ? " " : "\r\n";
    }
    out.append(line, 0, std::min(line.size(), end - out.size()));
  }
}

// Long regular tables, as code and models have between their dense parts:
// level 9 squeezes them to a few per cent.
void appendStructure(size_t length, std::string& out) {
  const size_t start = out.size();
  out.append(length, '\0');
  for (size_t i = 0; i + 4 <= length; i += 256) {
    const size_t record = (start + i) / 256;
    out[start + i] = static_cast<char>(record);
    out[start + i + 1] = static_cast<char>(record >> 8);
    out[start + i + 2] = static_cast<char>(0x40 | (record & 7));
  }
}

}  // namespace

std::string benchFileContent(const BenchFile& file) {
  SeededRandom random(file.seed);
  std::string bytes;
  bytes.reserve(file.size);
  const size_t blocks = (file.size + kBlockSize - 1) / kBlockSize;
  const size_t noisy = static_cast<size_t>(std::llround(file.noise * blocks));
  for (size_t block = 0; block < blocks; ++block) {
    const size_t length = std::min(kBlockSize, file.size - bytes.size());
    // Noisy blocks spread evenly rather than drawn: the stream size then
    // depends on the plan, not on the luck of one seed.
    if (block * noisy % blocks < noisy)
      appendNoise(random, length, bytes);
    else if (file.text)
      appendText(random, length, bytes);
    else
      appendStructure(length, bytes);
  }
  return bytes;
}
