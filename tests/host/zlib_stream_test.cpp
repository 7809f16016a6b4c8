#include <gtest/gtest.h>

#include "test_data.h"
#include "zlib_deflate.h"
#include "zlib_inflate.h"

using namespace PayloadTool;

namespace {

// Feeds `stream` in pieces of `pieceSize` bytes and gathers the output.
StreamInflater::State inflateInPieces(const std::string& stream, size_t pieceSize,
                                      std::string& output) {
  StreamInflater inflater;
  for (size_t at = 0; at < stream.size(); at += pieceSize)
    inflater.feed(stream.substr(at, pieceSize),
                  [&](const char* data, size_t size) { output.append(data, size); });
  EXPECT_EQ(inflater.bytesOut(), output.size());
  return inflater.state();
}

}  // namespace

TEST(ZlibStream, CompressStream_IsLevelNineZlib) {
  std::string stream = compressStream("kestrel");
  ASSERT_GE(stream.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(stream[0]), 0x78);
  EXPECT_EQ(static_cast<unsigned char>(stream[1]), 0xDA);
}

TEST(ZlibStream, RoundTrip_LargeInputInOddPieces) {
  // Larger than the deflater's buffers, so its refill and drain loops both turn.
  std::string content = randomBytes(300000, 1) + std::string(300000, 'k');
  std::string output;
  EXPECT_EQ(inflateInPieces(compressStream(content), 7777, output), StreamInflater::State::Ended);
  EXPECT_EQ(output, content);
}

TEST(ZlibStream, EmptyInput_IsAShortCompleteStream) {
  std::string stream = compressStream("");
  EXPECT_EQ(stream.size(), 8u);
  std::string output;
  EXPECT_EQ(inflateInPieces(stream, 1, output), StreamInflater::State::Ended);
  EXPECT_TRUE(output.empty());
}

TEST(ZlibStream, Inflater_CutShortStreamNeedsMore) {
  std::string stream = compressStream("some text to inflate");
  std::string output;
  EXPECT_EQ(inflateInPieces(stream.substr(0, stream.size() - 1), 3, output),
            StreamInflater::State::NeedsMore);
}

TEST(ZlibStream, Inflater_BytesAfterTheTrailerAreCaught) {
  std::string stream = compressStream("some text to inflate");
  std::string output;
  EXPECT_EQ(inflateInPieces(stream + "x", 1000, output), StreamInflater::State::DataAfterEnd);
  output.clear();
  // Also when the extra byte comes in a piece of its own, after the end.
  EXPECT_EQ(inflateInPieces(stream + "x", stream.size(), output),
            StreamInflater::State::DataAfterEnd);
}

TEST(ZlibStream, Inflater_GarbageIsDamaged) {
  std::string output;
  EXPECT_EQ(inflateInPieces("this is no zlib stream", 5, output), StreamInflater::State::Damaged);
}
