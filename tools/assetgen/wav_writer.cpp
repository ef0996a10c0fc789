#include "wav_writer.h"

#include "byte_writer.h"

namespace {

const uint32_t FORMAT_CHUNK_BYTES = 18;

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> EncodeWav8(const std::vector<uint8_t>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size());
  const uint32_t pad = data_bytes & 1;  // chunks are padded to an even length
  const uint32_t riff_bytes = 4 + (8 + FORMAT_CHUNK_BYTES) + (8 + data_bytes + pad);
  std::vector<uint8_t> out;
  out.reserve(8 + riff_bytes);
  PutTag(out, "RIFF");
  PutU32(out, riff_bytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, FORMAT_CHUNK_BYTES);
  PutU16(out, 1);            // PCM
  PutU16(out, 1);            // mono
  PutU32(out, SAMPLE_RATE);  // samples per second
  PutU32(out, SAMPLE_RATE);  // bytes per second: one byte a sample
  PutU16(out, 1);            // block alignment
  PutU16(out, 8);            // bits per sample
  PutU16(out, 0);            // no extra format bytes
  PutTag(out, "data");
  PutU32(out, data_bytes);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad != 0) out.push_back(128);
  return out;
}
