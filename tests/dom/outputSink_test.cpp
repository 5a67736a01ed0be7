#include "dom/codecs/outputSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dom/codecs/codecErrors.h"
#include "dom/codecs/codecRegistry.h"
#include "dom/codecs/stream.h"

using namespace brimlow::codecs;

namespace {

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

// A destination that keeps every block it is handed.
class RecordingStream final : public TStream {
 public:
  int64_t position() const override { return FPosition; }
  void setPosition(int64_t position) override { FPosition = position; }
  int64_t write(const void* bytes, int64_t count) override {
    blocks.emplace_back(static_cast<const char*>(bytes), static_cast<size_t>(count));
    FPosition += count;
    return count;
  }
  std::string all() const {
    std::string joined;
    for (const std::string& block : blocks)
      joined += block;
    return joined;
  }
  std::vector<std::string> blocks;

 private:
  int64_t FPosition = 0;
};

std::string Utf8Of(char32_t codePoint) {
  TStringStream stream;
  {
    TOutputSink sink(&stream, 1024);
    sink.writeCharacter(codePoint);
  }
  return stream.data();
}

TEST(Utf8Codec, EncodesEachScalarValueInTheStandardForm) {
  const struct {
    char32_t codePoint;
    const char* bytes;
    const char* what;
  } cases[] = {
      {0x7F, "7F", "last one-byte"},
      {0x80, "C2 80", "first two-byte"},
      {0x7FF, "DF BF", "last two-byte"},
      {0x800, "E0 A0 80", "first three-byte"},
      {0xFFFF, "EF BF BF", "last three-byte"},
      {0x10000, "F0 90 80 80", "first four-byte"},
      {0x10FFFF, "F4 8F BF BF", "last code point"},
      {0x410, "D0 90", "Cyrillic capital A"},
      {0x1FFFFF, "F7 BF BF BF", "the encoder's own limit"},
  };
  for (const auto& each : cases)
    EXPECT_EQ(Hex(Utf8Of(each.codePoint)), each.bytes) << each.what;
}

TEST(Utf8Codec, FailsAboveItsRange) {
  try {
    Utf8Of(0x200000);
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "$200000 is not a valid Unicode code point");
  }
}

TEST(Codecs, ALineFeedLeavesAsTheOptionSays) {
  const struct {
    TCodecClass codec;
    TLineFeedOption option;
    const char* bytes;
    int count;
  } cases[] = {
      {&TUtf8Codec::classInfo, lwCRLF, "0D 0A", 2},
      {&TUtf8Codec::classInfo, lwLF, "0A", 1},
      {&TUtf8Codec::classInfo, lwCR, "0D", 1},
      {&TUtf16LECodec::classInfo, lwCRLF, "0D 00 0A 00", 4},
      {&TUtf16BECodec::classInfo, lwCR, "00 0D", 2},
      {&TUsAsciiCodec::classInfo, lwLF, "0A", 1},
  };
  for (const auto& each : cases) {
    TStringStream stream;
    int count = 0;
    {
      TOutputSink sink(&stream, 1024);
      sink.setCodecClass(each.codec);
      sink.setLineFeedOption(each.option);
      count = sink.writeCharacter(U'\n');
      sink.writeCharacter(U'\r');  // a carriage return is a character like any other
    }
    EXPECT_EQ(count, each.count) << each.codec->className << ' ' << each.option;
    EXPECT_EQ(Hex(stream.data().substr(0, static_cast<size_t>(count))), each.bytes)
        << each.codec->className << ' ' << each.option;
  }
}

TEST(Codecs, AFreshCodecWritesLineFeedsAsIsAndAFreshSinkAsCrLf) {
  auto codec = TUtf8Codec::classInfo.create();
  EXPECT_EQ(codec->lineFeedOption(), lwLF);
  RecordingStream stream;
  TOutputSink sink(&stream, 1024);
  EXPECT_EQ(sink.lineFeedOption(), lwCRLF);
  EXPECT_EQ(sink.codecClass(), &TUtf8Codec::classInfo);
}

TEST(Codecs, SwitchingTheCodecKeepsTheLineFeedOption) {
  RecordingStream stream;
  TOutputSink sink(&stream, 1024);
  sink.setLineFeedOption(lwCR);
  sink.setCodecClass(&TUtf16LECodec::classInfo);
  EXPECT_EQ(sink.lineFeedOption(), lwCR);
  sink.setCodecClass(&TUtf8Codec::classInfo);
  EXPECT_EQ(sink.lineFeedOption(), lwCR);
  sink.setCodecClass(nullptr);
  EXPECT_EQ(sink.codecClass(), nullptr);
}

TEST(Codecs, UsAsciiHasNoBytesAboveItsRange) {
  TUsAsciiCodec codec;
  EXPECT_EQ(codec.encodeString(u"ok-1"), "ok-1");
  try {
    codec.encodeString(u"\u0430");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "Unicode code point $430 has no equivalent in US-ASCII");
  }
}

TEST(Utf16Codecs, WriteSurrogatePairsInTheirByteOrder) {
  const struct {
    TCodecClass codec;
    const char* bytes;
  } cases[] = {{&TUtf16LECodec::classInfo, "3D D8 00 DE"},
               {&TUtf16BECodec::classInfo, "D8 3D DE 00"}};
  for (const auto& each : cases) {
    TStringStream stream;
    {
      TOutputSink sink(&stream, 1024);
      sink.setCodecClass(each.codec);
      EXPECT_EQ(sink.writeCharacter(0x1F600), 4);
    }
    EXPECT_EQ(Hex(stream.data()), each.bytes) << each.codec->className;
  }
}

TEST(BufferedOutput, BlocksReachTheDestinationInOrder) {
  RecordingStream stream;
  {
    TOutputSink sink(&stream, 1024);
    const std::string full(1024, 'a');
    sink.write(full.data(), 1024);
    EXPECT_TRUE(stream.blocks.empty()) << "exactly the buffer size stays in the buffer";
    EXPECT_EQ(sink.position(), 1024);
    sink.write("b", 1);
    ASSERT_EQ(stream.blocks.size(), 1u) << "one byte more flushes the first block";
    EXPECT_EQ(stream.blocks[0], full);
    const std::string large(1500, 'c');
    sink.write(large.data(), 1500);
    ASSERT_EQ(stream.blocks.size(), 3u);
    EXPECT_EQ(stream.blocks[1], "b") << "flushed before the large write";
    EXPECT_EQ(stream.blocks[2], large) << "a write larger than the buffer goes straight";
    sink.write("d", 1);
    EXPECT_EQ(sink.position(), 1024 + 1 + 1500 + 1);
    EXPECT_EQ(stream.blocks.size(), 3u);
  }
  ASSERT_EQ(stream.blocks.size(), 4u) << "freeing the sink delivers the rest";
  EXPECT_EQ(stream.blocks[3], "d");
}

TEST(BufferedOutput, CharacterWritesFillTheBufferBeforeFlushing) {
  RecordingStream stream;
  {
    TOutputSink sink(&stream, 1024);
    for (int i = 0; i < 1025; ++i)
      sink.writeCharacter(U'x');
    ASSERT_EQ(stream.blocks.size(), 1u);
    EXPECT_EQ(stream.blocks[0].size(), 1024u);
    const std::u16string run(2000, u'y');
    sink.writeAsciiRun(run.data(), run.size());
    ASSERT_EQ(stream.blocks.size(), 2u) << "a run flushes whenever the buffer is full";
    EXPECT_EQ(stream.blocks[1], "x" + std::string(1023, 'y'));
  }
  EXPECT_EQ(stream.all(), std::string(1025, 'x') + std::string(2000, 'y'));
}

TEST(BufferedOutput, FreeingWithoutWritesHandsNothingOver) {
  RecordingStream stream;
  { TOutputSink sink(&stream, 4096); }
  EXPECT_TRUE(stream.blocks.empty());
}

TEST(BufferedOutput, PositionsCountFromWhereTheDestinationStood) {
  TStringStream stream;
  stream.write("head", 4);
  {
    TOutputSink sink(&stream, 1024);
    EXPECT_EQ(sink.position(), 0);
    sink.write("abcdef", 6);
    EXPECT_EQ(sink.position(), 6);
    sink.setPosition(2);  // flushes, then moves the destination
    sink.write("XY", 2);
  }
  EXPECT_EQ(stream.data(), "headabXYef");
}

TEST(BufferedOutput, NeedsADestination) {
  try {
    TOutputSink sink(nullptr, 1024);
    FAIL() << "no error";
  } catch (const EOutputStreamError& error) {
    EXPECT_STREQ(error.what(), "Stream not specified.");
  }
}

TEST(InMemoryStreams, AWideStringStreamCollectsLittleEndianUnits) {
  TWideStringStream stream;
  stream.write("A\0\x10\x04", 4);
  stream.write("\x3D", 1);
  EXPECT_EQ(stream.data(), u"A\u0410") << "an odd byte waits for its partner";
  stream.write("\xD8", 1);
  EXPECT_EQ(stream.data(), std::u16string(u"A\u0410") + char16_t{0xD83D});
}

TEST(CodecRegistry, FindsUtf8InAnyLetterCaseOnly) {
  const struct {
    std::u16string name;
    TCodecClass found;
  } cases[] = {
      {u"UTF-8", &TUtf8Codec::classInfo},
      {u"utf-8", &TUtf8Codec::classInfo},
      {u"uTF-8", &TUtf8Codec::classInfo},
      {u"UTF8", nullptr},
      {u"UTF_8", nullptr},
      {u" utf-8", nullptr},
      {u"utf-8 ", nullptr},
      {u"", nullptr},
      {u"windows-1251", nullptr},
      {u"UTF-16le", &TUtf16LECodec::classInfo},
      {u"us-ascii", &TUsAsciiCodec::classInfo},
      {u"ascii", &TUsAsciiCodec::classInfo},
  };
  for (const auto& each : cases) {
    std::string name(each.name.begin(), each.name.end());
    EXPECT_EQ(findCodecClass(each.name), each.found) << '"' << name << '"';
  }
  EXPECT_EQ(registeredCodecClasses().front(), &TUtf8Codec::classInfo);
}

TEST(CodecRegistry, ANameOutsideUsAsciiFailsTheLookup) {
  try {
    findCodecClass(u"utf-8\u0436");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "Unicode code point $436 has no equivalent in US-ASCII");
  }
}

TEST(CodecRegistry, Utf8DescriptionAndItsNameIndex) {
  const TEncodingDescription& utf8 = *TUtf8Codec::classInfo.description;
  EXPECT_EQ(utf8.nameCount(), 1);
  EXPECT_EQ(utf8.name(0), "UTF-8");
  EXPECT_EQ(utf8.registeredName(), "UTF-8");
  EXPECT_EQ(utf8.mibEnum(), 106);
  EXPECT_EQ(utf8.preferredMimeName(), "");
  try {
    utf8.name(1);
    FAIL() << "no error";
  } catch (const EAccessViolation& error) {
    EXPECT_STREQ(error.what(), "Index out of range");
  }
}

TEST(CodecRegistry, ByteOrderMarks) {
  const TByteOrderMarkSet all{bomUTF8, bomUTF16, bomUCS2};
  const TByteOrderMarkSet byDefault{bomUTF16, bomUCS2};
  EXPECT_EQ(Hex(byteOrderMark(&TUtf8Codec::classInfo, all)), "EF BB BF");
  EXPECT_EQ(byteOrderMark(&TUtf8Codec::classInfo, byDefault), "");
  EXPECT_EQ(Hex(byteOrderMark(&TUtf16BECodec::classInfo, byDefault)), "FE FF");
  EXPECT_EQ(Hex(byteOrderMark(&TUtf16LECodec::classInfo, byDefault)), "FF FE");
  EXPECT_EQ(byteOrderMark(&TUtf16LECodec::classInfo, {bomUTF8, bomUCS2}), "");
  EXPECT_EQ(byteOrderMark(&TUsAsciiCodec::classInfo, all), "");
}

}  // namespace
