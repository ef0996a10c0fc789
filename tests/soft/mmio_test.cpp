// The RIFF reader: chunks found by id, lists by form type, reads and seeks that keep their
// place, and files that end early or are opened for writing.
#include "mmsystem.h"
#include "../sound/sound_fixture.h"

namespace {

// Opens a file of `bytes` for reading and descends into its RIFF WAVE chunk.
HMMIO OpenWave(const std::string& bytes, MMCKINFO* riff) {
  WriteTextFile("test.wav", bytes);
  HMMIO file = mmioOpenA(const_cast<LPSTR>("test.wav"), nullptr, MMIO_READ);
  *riff = MMCKINFO{};
  riff->fccType = mmioFOURCC('W', 'A', 'V', 'E');
  EXPECT_EQ(mmioDescend(file, riff, nullptr, MMIO_FINDRIFF), 0u);
  return file;
}

TEST(Mmio, ListsAreFoundByFormTypeAndReadsKeepTheirPlace) {
  StartFreshMachine();
  const std::string list_info = Chunk("LIST", "INFO" + Chunk("ISFT", "abc"));
  MMCKINFO riff;
  HMMIO file = OpenWave(Wave(list_info + Chunk("LIST", "adtl" + Chunk("labl", "1234"))), &riff);
  MMCKINFO list{};
  list.fccType = mmioFOURCC('a', 'd', 't', 'l');
  ASSERT_EQ(mmioDescend(file, &list, &riff, MMIO_FINDLIST), 0u);
  EXPECT_EQ(list.dwDataOffset, 12u + list_info.size() + 8u);
  MMCKINFO label{};
  ASSERT_EQ(mmioDescend(file, &label, &list, 0), 0u);
  EXPECT_EQ(label.ckid, mmioFOURCC('l', 'a', 'b', 'l'));
  char text[8] = {};
  ASSERT_EQ(mmioRead(file, text, 1), 1);
  ASSERT_EQ(mmioRead(file, text, 2), 2);
  EXPECT_EQ(std::string(text, 2), "23");
  EXPECT_EQ(mmioSeek(file, -1, SEEK_CUR), static_cast<LONG>(label.dwDataOffset + 2));
  EXPECT_EQ(mmioRead(file, text, 8), 2);  // the file ends after the label
  EXPECT_EQ(std::string(text, 2), "34");
  EXPECT_NE(mmioAscend(file, nullptr, 0), 0u);
  EXPECT_EQ(mmioClose(file, 0), 0u);
}

TEST(Mmio, NoFileIsNeverTouchedAndWritingIsRefused) {
  StartFreshMachine();
  MMCKINFO chunk{};
  char text[4] = {};
  EXPECT_NE(mmioAscend(nullptr, &chunk, 0), 0u);
  EXPECT_NE(mmioDescend(nullptr, &chunk, nullptr, 0), 0u);
  EXPECT_EQ(mmioRead(nullptr, text, 1), -1);
  EXPECT_EQ(mmioSeek(nullptr, 0, SEEK_SET), -1);
  EXPECT_NE(mmioClose(nullptr, 0), 0u);
  WriteTextFile("empty.wav", Wave(""));
  MMIOINFO info{};
  EXPECT_EQ(mmioOpenA(const_cast<LPSTR>("empty.wav"), &info, MMIO_WRITE), nullptr);
  EXPECT_EQ(info.wErrorRet, UINT{MMIOERR_CANNOTOPEN});
}

// A list whose form type lies past the end of its parent is found neither as a list nor as a
// chunk, though the file goes on; an empty chunk ending where the file does is found.
TEST(Mmio, ChunksEndWithTheirParentAndTheFile) {
  StartFreshMachine();
  const std::string cut = "RIFF" + Le32(4 + 8) + "WAVE" + "LIST" + Le32(4) + "INFO";
  for (UINT flags : {UINT{MMIO_FINDLIST}, UINT{0}}) {
    MMCKINFO riff;
    HMMIO file = OpenWave(cut, &riff);
    MMCKINFO list{};
    list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    EXPECT_EQ(mmioDescend(file, &list, &riff, flags), UINT{MMIOERR_CHUNKNOTFOUND}) << flags;
    mmioClose(file, 0);
  }
  MMCKINFO riff;
  HMMIO file = OpenWave(Wave(Chunk("data", "")), &riff);
  MMCKINFO data{};
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  EXPECT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), 0u);
  EXPECT_EQ(data.cksize, 0u);
  mmioClose(file, 0);
}

}  // namespace
