// Broken sound files, as a downloaded game may hold: thousands of randomly damaged MIDI files
// are read (and those that still read are played for a moment), and damaged wave, MP3 and Ogg
// files are decoded to their end. Nothing may crash or hang. A failing case names its seed and
// keeps its bytes (support/random_input.h).
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <tuple>

#include "av/decoded_sound.h"
#include "av/midi_file.h"
#include "av/midi_sound.h"
#include "av/midi_synths.h"
#include "support/random_input.h"
#include "support/sound_encoder.h"
#include "support/sound_fixtures.h"
#include "support/temp_folder.h"

namespace sl::av {
namespace {

constexpr unsigned kUsualSeed = 20240611;

std::string Mutate(std::string bytes, std::mt19937& rng) {
  std::uniform_int_distribution<int> kind(0, 3);
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits && !bytes.empty(); ++e) {
    std::size_t at = rng() % bytes.size();
    switch (kind(rng)) {
      case 0:
        bytes[at] = static_cast<char>(rng());
        break;
      case 1:
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << (rng() % 8)));
        break;
      case 2:
        bytes.erase(at, 1 + rng() % 16);
        break;
      default:
        bytes.insert(at, std::string(1 + rng() % 8, static_cast<char>(rng())));
        break;
    }
  }
  return bytes;
}

TEST(MutatedFilesTest, DamagedMidiFilesAreRefusedOrPlayed) {
  test::MidiWriter m = test::Melody(6);
  m.Track();
  m.Event(0, {0xC1, 40});
  m.Note(0, 1, 50, 240);
  m.Event(0, {0xF0, 0x03, 0x7E, 0x09, 0xF7});  // a system-exclusive message
  m.Tempo(0, 300000);
  m.EndOfTrack();
  const std::string good = m.Bytes();
  std::string font = FindSoundFont("/usr/share/sounds/sf2/TimGM6mb.sf2");
  auto synths = font.empty() ? nullptr : std::make_shared<MidiSynths>(font, 11025);
  unsigned seed = test::RandomSeed(kUsualSeed);
  std::mt19937 rng(seed);
  int played = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string bytes = Mutate(good, rng);
    test::RandomCase kept("midi", seed, i, bytes, ".mid");
    std::optional<MidiFile> f =
        ParseMidiFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (f) {
      ASSERT_GE(f->seconds, 0);
      // A tempo of one microsecond a quarter and huge deltas stay finite.
      ASSERT_LT(f->seconds, 1e12);
      if (synths && i % 10 == 0) {
        auto sound = MidiSound::Open(*f, synths);
        ASSERT_TRUE(sound);
        std::vector<float> buf(2 * 2048);
        sound->Read(buf.data(), 2048);
        ++played;
      }
    }
  }
  if (synths) {
    EXPECT_GT(played, 10);
  }
}

TEST(MutatedFilesTest, DamagedSoundFilesDecodeToTheirEnd) {
  test::TempFolder dir;
  std::vector<float> tone = test::Tone(11025, 1, 0.3, 300);
  std::vector<std::string> originals;
  for (auto [name, container, codec] :
       {std::tuple{"a.wav", "wav", "pcm_s16le"}, std::tuple{"b.wav", "wav", "adpcm_ima_wav"},
        std::tuple{"c.mp3", "mp3", "libmp3lame"}, std::tuple{"d.ogg", "ogg", "libvorbis"}}) {
    if (!test::HasEncoder(codec)) continue;
    ASSERT_EQ(test::EncodeSoundFile(dir / name, container, codec, 11025, 1, tone, 32000), "");
    originals.push_back(dir.Read(name));
  }
  unsigned seed = test::RandomSeed(kUsualSeed);
  std::mt19937 rng(seed);
  std::vector<float> buf(2 * 4096);
  for (int i = 0; i < 400; ++i) {
    test::RandomCase kept("sound", seed, i, Mutate(originals[i % originals.size()], rng));
    auto s = DecodedSound::Open(kept.Path());
    if (!s) continue;
    double seconds = s->Duration();
    ASSERT_GE(seconds, 0);
    std::int64_t frames = 0;
    for (int n = 4096; n == 4096; frames += n) {
      n = s->Read(buf.data(), 4096);
      ASSERT_LT(frames, 11025 * 600) << "decoding does not end";
    }
    // Going back to the start of a damaged file works or fails, it does not crash.
    if (s->Rewind()) s->Read(buf.data(), 4096);
  }
}

}  // namespace
}  // namespace sl::av
