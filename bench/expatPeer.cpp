#include "expatPeer.h"

#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <stdexcept>

namespace brimlow::bench {

namespace {

class Reader {
 public:
  Reader(PeerList& list, XML_Parser parser) : filler_(list), parser_(parser) {}

  // A conversion error must not unwind through expat's C frames: it is kept,
  // the parser stopped, and the error thrown again once expat has returned.
  std::exception_ptr error;

  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    auto& reader = *static_cast<Reader*>(self);
    reader.Flush();
    reader.Guarded([&] {
      reader.filler_.Start(name, [attributes](const char* wanted) -> const char* {
        for (const XML_Char** a = attributes; *a; a += 2)
          if (std::strcmp(a[0], wanted) == 0) return a[1];
        return nullptr;
      });
    });
  }
  static void XMLCALL End(void* self, const XML_Char*) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    static_cast<Reader*>(self)->pending_.append(text, static_cast<size_t>(length));
  }
  static void XMLCALL Split(void* self, const XML_Char*) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL SplitPI(void* self, const XML_Char*, const XML_Char*) {
    static_cast<Reader*>(self)->Flush();
  }
  static void XMLCALL StartCData(void* self) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL EndCData(void* self) {
    auto& reader = *static_cast<Reader*>(self);
    reader.Guarded([&] { reader.filler_.CData(reader.pending_); });
    reader.pending_.clear();
  }

 private:
  void Flush() {
    if (pending_.empty()) return;
    Guarded([&] { filler_.Text(pending_); });
    pending_.clear();
  }

  template <class Step>
  void Guarded(Step step) {
    if (error) return;
    try {
      step();
    } catch (...) {
      error = std::current_exception();
      XML_StopParser(parser_, XML_FALSE);
    }
  }

  RecordFiller filler_;
  XML_Parser parser_;
  std::string pending_;
};

}  // namespace

PeerList LoadWithExpat(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + fileName);
  PeerList list;
  XML_Parser parser = XML_ParserCreate(nullptr);
  Reader reader(list, parser);
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, Reader::Start, Reader::End);
  XML_SetCharacterDataHandler(parser, Reader::Characters);
  XML_SetCommentHandler(parser, Reader::Split);
  XML_SetProcessingInstructionHandler(parser, Reader::SplitPI);
  XML_SetCdataSectionHandler(parser, Reader::StartCData, Reader::EndCData);
  constexpr int kChunk = 1 << 16;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, kChunk);
    const ssize_t got = buffer ? ::read(fd, buffer, kChunk) : -1;
    if (got < 0 || XML_ParseBuffer(parser, static_cast<int>(got), got == 0) == XML_STATUS_ERROR)
      break;  // a well-formedness error ends the reading, as far as it got
    if (got == 0) break;
  }
  XML_ParserFree(parser);
  ::close(fd);
  if (reader.error) std::rethrow_exception(reader.error);
  return list;
}

}  // namespace brimlow::bench
