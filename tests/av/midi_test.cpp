// MIDI files: their playing time through tempo changes and running status, the RIFF wrapper,
// malformed files refused; and FluidSynth rendering that makes sound, ends on time and rings on.
#include <gtest/gtest.h>

#include "av/midi_file.h"
#include "av/midi_sound.h"
#include "av/midi_synths.h"
#include "av/sound_file.h"
#include "support/sound_fixtures.h"
#include "support/temp_folder.h"

namespace sl::av {
namespace {

std::optional<MidiFile> Parse(const std::string& bytes, std::string* why = nullptr) {
  return ParseMidiFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                       why);
}

TEST(MidiFileTest, PlayingTimeFollowsTheTempoMapOfAllTracks) {
  test::MidiWriter m(480);
  m.Track();  // the conductor: 120 bpm, after 2 beats 60 bpm
  m.Tempo(0, 500000);
  m.Tempo(960, 1000000);
  m.EndOfTrack();
  m.Track();  // four beats of notes, with running status between the two note-ons
  m.Event(0, {0x90, 60, 100});
  m.Event(0, {64, 100});
  m.Event(1920, {0x80, 60, 0});
  m.EndOfTrack();
  std::optional<MidiFile> f = Parse(m.Bytes());
  ASSERT_TRUE(f);
  EXPECT_DOUBLE_EQ(f->seconds, 2 * 0.5 + 2 * 1.0);
  EXPECT_EQ(f->bytes.size(), m.Bytes().size());
}

TEST(MidiFileTest, TicksOfAMomentFollowTheTempoMap) {
  test::MidiWriter m(480);
  m.Track();
  m.Tempo(0, 500000);  // 120 bpm, after 2 beats (1 s) 60 bpm
  m.Tempo(960, 1000000);
  m.EndOfTrack(1920);
  std::optional<MidiFile> f = Parse(m.Bytes());
  ASSERT_TRUE(f);
  EXPECT_EQ(MidiTickAt(*f, 0), 0u);
  EXPECT_EQ(MidiTickAt(*f, 0.5), 480u);
  EXPECT_EQ(MidiTickAt(*f, 1.0), 960u);
  EXPECT_EQ(MidiTickAt(*f, 2.5), 960u + 720u);
  test::MidiWriter smpte(0xE728);  // 1000 ticks a second
  smpte.Track();
  smpte.EndOfTrack(3000);
  f = Parse(smpte.Bytes());
  ASSERT_TRUE(f);
  EXPECT_EQ(MidiTickAt(*f, 2.5), 2500u);
}

TEST(MidiFileTest, SmpteTimeAndTheRiffWrapper) {
  test::MidiWriter m(0xE728);  // 25 frames a second, 40 ticks a frame: 1000 ticks a second
  m.Track();
  m.Note(0, 0, 60, 2500);
  m.EndOfTrack();
  std::string smf = m.Bytes(0);
  std::optional<MidiFile> f = Parse(smf);
  ASSERT_TRUE(f);
  EXPECT_DOUBLE_EQ(f->seconds, 2.5);
  std::string riff = "RIFF";
  test::PutLe(riff, static_cast<std::uint32_t>(12 + smf.size()), 4);
  riff += "RMIDdata";
  test::PutLe(riff, static_cast<std::uint32_t>(smf.size()), 4);
  riff += smf;
  f = Parse(riff);
  ASSERT_TRUE(f);
  EXPECT_EQ(std::string(f->bytes.begin(), f->bytes.end()), smf);
  std::vector<std::uint8_t> head(riff.begin(), riff.begin() + 12);
  EXPECT_TRUE(LooksLikeMidi(head));
}

TEST(MidiFileTest, MalformedFilesAreRefused) {
  std::string good = test::Melody(2).Bytes();
  struct Bad {
    std::string bytes;
    const char* why;
  };
  std::string noRunning = good;
  noRunning[good.find("MTrk") + 8 + 1] = 0x05;  // the first status byte made a data byte
  std::vector<Bad> bad = {
      {"MThd", "not a standard MIDI file"},
      {good.substr(0, good.size() - 3), "a MIDI track runs past the end of the file"},
      {std::string(good).replace(good.find("MTrk"), 4, "XXXX"), "a MIDI file without tracks"},
      {noRunning, "a MIDI track does not read"},
      {std::string(good).replace(12, 2, std::string(2, '\0')), "bad MIDI time division"},
  };
  for (const Bad& b : bad) {
    std::string why;
    EXPECT_FALSE(Parse(b.bytes, &why)) << b.why;
    EXPECT_EQ(why, b.why);
  }
  // A variable-length number of five bytes is not one.
  test::MidiWriter m;
  m.Track();
  m.Event(0, {0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
  m.EndOfTrack();
  EXPECT_FALSE(Parse(m.Bytes()));
}

class MidiSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The small General MIDI font renders quickest; any installed one will do.
    std::string font = FindSoundFont("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (font.empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    synths = std::make_shared<MidiSynths>(font, 22050);
  }
  // Reads a sound to its end, or ten seconds of it when it does not end.
  static std::vector<float> ReadToEnd(AudioSource& source) {
    std::vector<float> played;
    std::vector<float> buf(2 * 512);
    for (int n = 512; n == 512 && played.size() < 2u * 22050 * 10;) {
      n = source.Read(buf.data(), 512);
      played.insert(played.end(), buf.begin(), buf.begin() + 2 * n);
    }
    return played;
  }
  std::shared_ptr<MidiSynths> synths;
  test::TempFolder dir;
};

TEST_F(MidiSoundTest, ATuneSoundsEndsAfterItsLengthAndRingsOn) {
  std::string path = dir / "tune.mid";
  test::Melody(3).Save(path);  // 1.5 s
  OpenedSound opened = OpenSoundFile(path, synths);
  ASSERT_TRUE(opened.source) << opened.error;
  EXPECT_TRUE(opened.midi);
  EXPECT_DOUBLE_EQ(opened.seconds, 1.5);
  EXPECT_EQ(opened.source->Format(), (AudioFormat{22050, 2}));
  std::vector<float> played = ReadToEnd(*opened.source);
  EXPECT_NEAR(static_cast<double>(played.size()) / 2 / 22050, 1.5, 0.05);
  EXPECT_GT(test::Rms(played, 2, 0), 0.01);
  EXPECT_GT(test::Rms(played, 2, 1), 0.01);
  // The last note's release comes after the end, and stops in time.
  std::vector<float> tail;
  std::vector<float> buf(2 * 512);
  for (int n = 512; n == 512;) {
    n = opened.source->ReadTail(buf.data(), 512);
    tail.insert(tail.end(), buf.begin(), buf.begin() + 2 * n);
  }
  EXPECT_LE(tail.size(), 2u * 22050 * 2 + 1024);
}

TEST_F(MidiSoundTest, RewindPlaysTheTuneAgainAndSynthesisersAreReused) {
  std::string path = dir / "tune.mid";
  test::Melody(1).Save(path);
  auto first = OpenSoundFile(path, synths);
  ASSERT_TRUE(first.source);
  std::vector<float> buf(2 * 22050);
  int n = first.source->Read(buf.data(), 22050);
  EXPECT_LT(n, 22050);  // half a second
  EXPECT_EQ(first.source->Read(buf.data(), 100), 0);
  ASSERT_TRUE(first.source->Rewind());
  EXPECT_GT(first.source->Read(buf.data(), 5000), 0);
  EXPECT_GT(test::Rms(std::vector<float>(buf.begin(), buf.begin() + 10000), 2), 0.005);
  first.source.reset();
  // The synthesiser went back to the pool and comes out again at once.
  std::string why;
  fluid_synth_t* again = synths->Acquire(&why);
  EXPECT_NE(again, nullptr) << why;
  synths->Release(again);
}

TEST_F(MidiSoundTest, SeekSkipsWhatComesBefore) {
  // A note in the first half second, a rest, and a note from 2.5 s to 3 s.
  test::MidiWriter m;
  m.Track();
  m.Tempo(0, 500000);
  m.Event(0, {0xC0, 0});
  m.Note(0, 0, 60, 480);
  m.Note(4 * 480, 0, 67, 480);
  m.EndOfTrack();
  std::string path = dir / "two.mid";
  m.Save(path);
  OpenedSound opened = OpenSoundFile(path, synths);
  ASSERT_TRUE(opened.source) << opened.error;
  ASSERT_TRUE(opened.source->Seek(1.0));
  std::vector<float> played = ReadToEnd(*opened.source);
  EXPECT_NEAR(static_cast<double>(played.size()) / 2 / 22050, 2.0, 0.05);
  // The first note was skipped; the second sounds at its time.
  EXPECT_LT(test::Rms(played, 2, 0, 0, 22050 * 14 / 10), 1e-4);
  EXPECT_GT(test::Rms(played, 2, 0, 22050 * 3 / 2), 0.01);
}

TEST(MidiSynthsTest, WithoutASoundFontMidiDoesNotPlayButKeepsItsLength) {
  test::TempFolder dir;
  std::string path = dir / "tune.mid";
  test::Melody(4).Save(path);
  auto synths = std::make_shared<MidiSynths>(dir / "missing.sf2", 44100);
  OpenedSound opened = OpenSoundFile(path, synths);
  EXPECT_FALSE(opened.source);
  EXPECT_EQ(opened.error, "the sound font " + (dir / "missing.sf2") + " cannot be loaded");
  EXPECT_DOUBLE_EQ(opened.seconds, 2.0);
  EXPECT_EQ(SoundFileLength(path), 2.0);
  EXPECT_EQ(FindSoundFont(dir / "missing.sf2"), FindSoundFont());
}

}  // namespace
}  // namespace sl::av
