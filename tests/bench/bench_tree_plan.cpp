#include "bench_tree_plan.h"

#include "seeded_random.h"

namespace {

// Sizes of the aircraft bitmaps: 24-bit pictures with their 54-byte header.
constexpr uint32_t kBitmap256 = 256 * 256 * 3 + 54;
constexpr uint32_t kBitmap512 = 512 * 512 * 3 + 54;
constexpr uint32_t kBitmap1024 = 1024 * 1024 * 3 + 54;
constexpr uint32_t kLightBitmap = 128 * 128 * 4 + 54;

class Planner {
 public:
  explicit Planner(uint64_t seed) : random_(seed) {}

  void text(const std::string& path, uint32_t low, uint32_t high) {
    add(path, random_.between(low, high), 0, true);
  }
  void binary(const std::string& path, uint32_t low, uint32_t high, double lowNoise,
              double highNoise) {
    add(path, random_.between(low, high), noise(lowNoise, highNoise), false);
  }
  void bitmap(const std::string& path, uint32_t size, double lowNoise, double highNoise) {
    add(path, size, noise(lowNoise, highNoise), false);
  }

  std::vector<BenchFile> files;

 private:
  double noise(double low, double high) { return low + (high - low) * random_.unit(); }

  void add(const std::string& path, uint32_t size, double noise, bool isText) {
    BenchFile file;
    file.path = path;
    file.size = size;
    file.noise = noise;
    file.text = isText;
    file.seed = random_.next();
    files.push_back(file);
  }

  SeededRandom random_;
};

// Most entries stay below one chunk; a few large ones (the program, two data
// files, the flagship livery) run across several, as in the real payload.
void programFiles(Planner& plan) {
  plan.binary("ks/kestrel.exe", 1500000, 1700000, 0.5, 0.5);
  plan.binary("ks/ksuninstall.exe", 150000, 200000, 0.2, 0.25);
  plan.binary("ks/ksimage.dll", 280000, 340000, 0.12, 0.18);
  for (const char* name : {"ksaudio", "ksvoice", "ksnet", "ksui", "ksmap", "kswx", "ksfp", "ksatc",
                           "kschat", "kslog"})
    plan.binary(std::string("ks/") + name + ".dll", 60000, 500000, 0.1, 0.12);
  plan.text("ks/readme.txt", 9000, 14000);
  plan.text("ks/license.txt", 8000, 10000);
  plan.text("ks/callsigns.txt", 0, 0);  // the payload's one empty file
  plan.text("ks/airlines.txt", 150000, 200000);
  plan.text("ks/airports.txt", 550000, 600000);
  plan.text("ks/navaids.txt", 120000, 160000);
  plan.text("ks/fixes.txt", 700000, 760000);
  plan.text("ks/docs/ksguide.html", 100000, 130000);
  for (int i = 1; i <= 20; ++i) plan.text("ks/docs/page" + std::to_string(i) + ".html", 4000, 40000);
  for (int i = 1; i <= 15; ++i)
    plan.binary("ks/docs/images/figure" + std::to_string(i) + ".gif", 5000, 60000, 0.9, 0.95);
  for (int i = 1; i <= 12; ++i)
    plan.binary("ks/sounds/tone" + std::to_string(i) + ".wav", 20000, 150000, 0.3, 0.4);
}

void simulatorModules(Planner& plan) {
  plan.binary("fs/modules/fsuipc.dll", 240000, 280000, 0.2, 0.22);
  plan.binary("fs/modules/ksmod8.dll", 400000, 440000, 0.1, 0.13);
  plan.binary("fs/modules/ksmod9.dll", 430000, 470000, 0.1, 0.12);
  plan.binary("fs/modules/ksmpjoin9.dll", 60000, 80000, 0.5, 0.6);
  plan.binary("fs/modules/kstrans8.dll", 80000, 100000, 0.4, 0.5);
  plan.binary("fs/modules/kstrans9.dll", 85000, 105000, 0.4, 0.5);
}

constexpr int kFilesPerAircraft = 8;

// One aircraft folder: its configuration, model, textures, panel and sound.
void aircraft(Planner& plan, const std::string& folder, const std::string& name, bool detailedModel,
              uint32_t textureSize, double lowNoise, double highNoise) {
  plan.text(folder + "/aircraft.cfg", 3000, 9000);
  plan.text(folder + "/model/model.cfg", 200, 600);
  if (detailedModel)
    plan.binary(folder + "/model/" + name + ".mdl", 200000, 260000, 0.33, 0.37);
  else
    plan.binary(folder + "/model/" + name + ".mdl", 60000, 170000, 0.3, 0.36);
  plan.text(folder + "/texture/texture.cfg", 100, 300);
  plan.bitmap(folder + "/texture/" + name + "_t.bmp", textureSize, lowNoise, highNoise);
  plan.bitmap(folder + "/texture/" + name + "_l.bmp", kLightBitmap, 0.125, 0.215);
  plan.text(folder + "/panel/panel.cfg", 400, 900);
  plan.text(folder + "/sound/sound.cfg", 200, 400);
}

void modelSets(Planner& plan, size_t fileCount) {
  plan.text("fs/aircraft/kestrel/aircraft.cfg", 1500, 2500);
  plan.text("fs/aircraft/marlin/readme.txt", 2000, 4000);

  const char* types[] = {"a319", "a320", "a321", "a332", "a343", "b712", "b738", "b744",
                         "b752", "b763", "b772", "crj7", "dh8d", "e145", "md83", "f100"};
  const char* liveries[] = {"nfa", "trn", "hbr", "pnb", "ald", "kva", "osr", "tel"};
  const size_t room = fileCount - plan.files.size();
  const size_t count = room / kFilesPerAircraft;
  const size_t kestrelCount = count * 3 / 5;

  for (size_t i = 0; i < count; ++i) {
    const bool kestrel = i < kestrelCount;
    const std::string name = std::string(kestrel ? "kestrel_" : "marlin_") + types[i % 16] + "_" +
                             std::to_string(i / 16);
    const std::string folder = std::string("fs/aircraft/") + (kestrel ? "kestrel/" : "marlin/") + name;
    const bool detailed = i % 3 == 1;
    if (i == 0)  // the flagship, whose livery alone runs over 18 chunks
      aircraft(plan, folder, name, detailed, kBitmap1024, 0.344, 0.344);
    else if (i % 50 == 25)
      aircraft(plan, folder, name, detailed, kBitmap512, 0.3, 0.34);
    else
      aircraft(plan, folder, name, detailed, kBitmap256, 0.252, 0.297);
  }
  // Second liveries for the first aircraft make up the count exactly.
  for (size_t i = 0; plan.files.size() < fileCount; ++i) {
    const std::string name = std::string("kestrel_") + types[i % 16] + "_" + std::to_string(i / 16);
    plan.bitmap("fs/aircraft/kestrel/" + name + "/texture." + liveries[i % 8] + "/" + name + "_t.bmp",
                kBitmap256, 0.252, 0.297);
  }
}

}  // namespace

std::vector<BenchFile> planBenchTree(uint64_t seed, size_t times) {
  Planner plan(seed);
  programFiles(plan);
  simulatorModules(plan);
  modelSets(plan, kBenchFileCount * times);
  return plan.files;
}
